// The main window's texts, one row each: Chinese, then English. The English ones fit the
// controls the Chinese ones were laid out for.
#include "monitor/monitor_texts.h"

namespace varnic::kelvo {
namespace {

using enum MonitorText;

constexpr TextRow<MonitorText> kRows[] = {
    {kCaption, "Varnic V1.9（BETA5）", "Varnic V1.9 (BETA5)"},
    {kTotalMemory, "物理内存总数：", "Total memory:"},
    {kAvailableMemory, "可用物理内存：", "Available:"},
    {kMemoryLoad, "已用百分比：", "In use:"},
    {kFreePercentage, "可用内存百分比：", "Free memory:"},
    {kMegabytes, "{1}M", "{1} MB"},
    {kPercent, "{1}%", "{1}%"},
    {kHelpTip, "点击打开帮助和支持中心", "Click to open help and support"},
    {kPanelTip, "打开或关闭高级设置", "Show or hide the advanced settings"},
    {kUpdateTip, "启动在线更新，检查是否有最新版本", "Start the online update and look for a newer version"},
    {kDownloadTip, "下载软件新版", "Download the latest version"},
    {kRunInBackground, "后台全自动运行", "Run in background"},
    {kRunInBackgroundTip, "只要点我就能免除烦恼，快点吧！", "One click, and Varnic cleans for you from the tray!"},
    {kCleanNow, "现在立即清理", "Clean now"},
    {kAutoClean, "自动全部清理", "Auto clean"},
    {kAutoCleanTip, "选择后程序才会后台自动清理，强烈建议钩选！",
     "Only while this is checked does Varnic clean in the background. Strongly recommended!"},
    {kCurrentRule, "当前清理规则：{1}", "Current rule: {1}"},
    {kCurrentRuleTip, "点击可以自定义清理规则", "Click to show the advanced settings and the rules"},
    {kContactLine, "Varnic 开发组  博客：www.varnic.example/blog  邮箱：team@varnic.example",
     "Varnic team  Blog: www.varnic.example/blog  Mail: team@varnic.example"},
    {kContactTip, "点击打开我的Blog，给我留言。", "Click to open my blog and leave me a message."},
    {kAdvancedSettings, "高级设置", "Advanced settings"},
    {kTrayIconShows, "系统托盘图标显示", "Tray icon shows:"},
    {kGearIcon, "齿轮图标", "Gear icon"},
    {kFreeMemory, "剩余内存", "Free RAM"},
    {kBackgroundRule, "后台运行清理规则", "Background rule:"},
    {kHotkey, "热键设置", "Hotkey:"},
    {kUseHotkey, "启用清理一键通", "Use hotkey"},
    {kUseHotkeyTip, "启用本功能后按下Ctrl+{1}便可进行一次内存清理，同时清空剪贴板！",
     "When this is on, Ctrl+{1} cleans memory once and empties the clipboard."},
    {kCtrlPlus, "Ctrl+", "Ctrl+"},
    {kCustomizeRules, "自定义清理规则", "Customize rules"},
    {kMenuShow, "显示窗口", "Show window"},
    {kMenuUpdate, "在线更新", "Online update"},
    {kMenuClearClipboard, "清除剪贴板信息", "Clear clipboard"},
    {kMenuCleanNow, "立即清理内存", "Clean memory now"},
    {kMenuCleanNowWithHotkey, "立即清理内存和剪贴板（热键：Ctrl+{1}）", "Clean memory and clipboard now (Ctrl+{1})"},
    {kMenuExit, "退出", "Exit"},
    {kTrayTip, "可用内存数：{1}M\r\n可用内存内存百分比：{2}%\r\n已用内存数：{3}M",
     "Available: {1} MB\r\nFree: {2}%\r\nIn use: {3} MB"},
    {kUpdaterFailed, "在线更新组件错误！", "Cannot start the online updater (tarnel.exe)."},
};

constexpr TextTable kTexts(kRows);

}  // namespace

std::string_view Text(MonitorText name, Language language) { return kTexts(name, language); }

}  // namespace varnic::kelvo
