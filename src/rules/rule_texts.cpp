// The texts of the cleaning rules, one row each: Chinese, then English.
#include "rules/rule_texts.h"

namespace varnic {
namespace {

using enum RuleText;

constexpr TextRow<RuleText> kRows[] = {
    {kAllRule, "全部清理规则", "General rule"},
    {kSmallGameRule, "小型游戏清理规则", "Small games rule"},
    {kLargeGameRule, "大型游戏清理规则", "Large games rule"},
    {kBtRule, "BT下载清理规则", "BT download rule"},
    {kEditorCaption, "自定义规则", "Cleaning rules"},
    {kChooseRule, "请先选择要修改的规则：", "Choose a rule to edit:"},
    {kDetails, "高级设置-自定义规则-详细设置", "Rule details"},
    {kProcessTrigger, "开启随进程变化清理内存", "Clean by process count"},
    {kProcessChangesBefore, "进程数目变化", "Clean after"},
    {kProcessChangesAfter, "次进行一次内存清理", "process changes"},
    {kTimedTrigger, "开启定时清理内存", "Clean on a timer"},
    {kMinutesBefore, "每隔", "Every"},
    {kMinutesAfter, "分钟进行一次内存清理", "minutes"},
    {kSave, "保存设置", "Save"},
    {kClose, "关闭", "Close"},
    {kRestoreDefaults, "恢复默认设置", "Defaults"},
    // The Chinese note is broken into lines of the box's width by hand; the English one wraps.
    {kHelpNote,
     "小提示：\r\n"
     "\r\n"
     "   请先选择要进行自\r\n"
     "定义的清理规则，然\r\n"
     "后在下面的详细设置\r\n"
     "中设置规则的具体内\r\n"
     "容\r\n"
     "   当每修改完一个规\r\n"
     "则后都要点一下“保\r\n"
     "存配置”，这样才能\r\n"
     "修改成功。\r\n",
     "Tip:\r\n"
     "\r\n"
     "   Choose the rule to change, then set it in the details below.\r\n"
     "   Press \"Save\" after each rule you change, or the change is lost.\r\n"},
    {kNotAPositiveNumber, "请输入大于0的整数！", "Please enter a whole number greater than 0."},
    {kRestored, "恢复默认设置成功！", "The default rules are restored."},
    {kCannotSave, "无法保存清理规则文件：{1}", "These rule files cannot be saved:\r\n{1}"},
    {kSaved, "保存清理规则“{1}”成功！", "The rule \"{1}\" is saved."},
};

constexpr TextTable kTexts(kRows);

}  // namespace

std::string_view Text(RuleText name, Language language) { return kTexts(name, language); }

}  // namespace varnic
