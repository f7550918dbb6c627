// The text of the about window's notes box: release notes, usage tips and the change log.
#pragma once

#include <string>

namespace varnic::kelvo {

// Lines ended by CR LF; each note is one paragraph indented by four blanks.
std::string ReleaseNotes();

}  // namespace varnic::kelvo
