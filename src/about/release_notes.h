// The text of the about window's notes box: release notes, usage tips and the change log.
#pragma once

#include <string>

#include "about/about_texts.h"

namespace varnic::kelvo {

// Lines ended by CR LF; each note is one paragraph indented by four blanks.
inline std::string ReleaseNotes(Language language = Language::kChinese) {
    return std::string(Text(AboutText::kReleaseNotes, language));
}

}  // namespace varnic::kelvo
