// The cleaning actions' texts, one row each: Chinese, then English.
#include "cleaner/cleaning_texts.h"

namespace varnic {
namespace {

using enum CleaningText;

constexpr TextRow<CleaningText> kRows[] = {
    {kCleanerFailed, "内存优化组件错误！", "Cannot start the memory cleaner (empty.exe)."},
    {kHotkeyCleanFailed, "内存清理组件错误！",
     "The hotkey's clean failed: empty.exe cannot be started, or another program holds the clipboard."},
};

constexpr TextTable kTexts(kRows);

}  // namespace

std::string_view Text(CleaningText name, Language language) { return kTexts(name, language); }

}  // namespace varnic
