// The area submenu's and the clean report's texts, one row each: Chinese, then English.
#include "monitor/clean_texts.h"

namespace varnic::kelvo {
namespace {

using enum CleanText;

constexpr TextRow<CleanText> kRows[] = {
    {kMenuAreas, "清理的内存区域", "Memory areas to clean"},
    {kMenuWorkingSets, "进程工作集", "Working sets of processes"},
    {kNeedsAdministrator, "{1}（需要管理员）", "{1} (needs administrator)"},
    {kMenuRestartElevated, "以管理员身份重新启动", "Restart as administrator"},
    {kFreedBalloon, "已释放 {1}M 内存", "Freed {1} MB"},
    {kLastCleanTipLine, "上次清理 {2}：释放 {1}M", "Last clean {2}: freed {1} MB"},
};

constexpr TextTable kTexts(kRows);

}  // namespace

std::string_view Text(CleanText name, Language language) { return kTexts(name, language); }

}  // namespace varnic::kelvo
