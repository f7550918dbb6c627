// kelvo's texts about the memory areas and what a clean freed: the tray's area submenu and the
// clean report.
#pragma once

#include <string_view>

#include "base/text_table.h"

namespace varnic::kelvo {

enum class CleanText {
    kMenuAreas,             // the submenu of the tray menu
    kMenuWorkingSets,       // always on
    kNeedsAdministrator,    // {1}: an area's name
    kMenuRestartElevated,
    kFreedBalloon,          // {1}: whole megabytes
    kLastCleanTipLine,      // {1}: whole megabytes, {2}: the time, hh:mm
    kCount
};

std::string_view Text(CleanText name, Language language);

}  // namespace varnic::kelvo
