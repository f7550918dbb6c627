// Every text of kelvo's main window, named once: its captions and tooltips, the figures the
// tick writes, the tray tip and menu, and its message.
#pragma once

#include <string_view>

#include "base/text_table.h"

namespace varnic::kelvo {

enum class MonitorText {
    kCaption,
    kTotalMemory,  // the fixed captions of the figures
    kAvailableMemory,
    kMemoryLoad,
    kFreePercentage,
    kMegabytes,  // {1}: a whole number of megabytes
    kPercent,    // {1}: a percentage
    kHelpTip,
    kPanelTip,
    kUpdateTip,
    kDownloadTip,
    kRunInBackground,
    kRunInBackgroundTip,
    kCleanNow,
    kAutoClean,
    kAutoCleanTip,
    kCurrentRule,  // {1}: the rule's name
    kCurrentRuleTip,
    kContactLine,
    kContactTip,
    kAdvancedSettings,
    kTrayIconShows,
    kGearIcon,
    kFreeMemory,
    kBackgroundRule,
    kHotkey,
    kUseHotkey,
    kUseHotkeyTip,  // {1}: the hotkey letter
    kCtrlPlus,
    kCustomizeRules,
    kMenuShow,
    kMenuUpdate,
    kMenuClearClipboard,
    kMenuCleanNow,             // before the first tick names the letter
    kMenuCleanNowWithHotkey,   // {1}: the hotkey letter
    kMenuExit,
    kTrayTip,  // {1} available MB, {2} free percentage, {3} used MB; three lines
    kUpdaterFailed,
    kCount
};

std::string_view Text(MonitorText name, Language language);

}  // namespace varnic::kelvo
