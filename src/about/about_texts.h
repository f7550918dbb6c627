// Every text of the about window, named once: its labels, links and button, and the notes box.
#pragma once

#include <string_view>

#include "base/text_table.h"

namespace varnic::kelvo {

enum class AboutText {
    kPlatform,
    kVersion,
    kWebsite,
    kMirrorSite,
    kAuthorBlog,
    kFirstDownloadSite,
    kSecondDownloadSite,
    kClose,
    kHelp,
    kReleaseNotes,  // lines ended by CR LF; each note a paragraph indented by four blanks
    kCount
};

std::string_view Text(AboutText name, Language language);

}  // namespace varnic::kelvo
