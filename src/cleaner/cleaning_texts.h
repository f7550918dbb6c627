// The texts of kelvo's two cleaning actions: the messages of a clean that could not start.
#pragma once

#include <string_view>

#include "base/text_table.h"

namespace varnic {

enum class CleaningText {
    kCleanerFailed,       // the Command1 action could not start empty.exe
    kHotkeyCleanFailed,   // the hotkey's clean could not start empty.exe or empty the clipboard
    kCount
};

std::string_view Text(CleaningText name, Language language);

}  // namespace varnic
