// The about window's texts, one row each: Chinese, then English.
#include "about/about_texts.h"

namespace varnic::kelvo {
namespace {

using enum AboutText;

constexpr TextRow<AboutText> kRows[] = {
    {kPlatform, "For Windows 2000/XP/2003", "For Windows 2000/XP/2003"},
    {kVersion, "版本：1.9（BETA5） ", "Version 1.9 BETA5"},
    {kWebsite, "官方网站", "Website"},
    {kMirrorSite, "备用网站", "Mirror"},
    {kAuthorBlog, "访问作者Blog", "Author's blog"},
    {kFirstDownloadSite, "软件园下载", "Download site 1"},
    {kSecondDownloadSite, "下载站下载", "Download site 2"},
    {kClose, "关闭", "Close"},
    {kHelp, "帮助", "Help"},
    // What each release brought, how to use the program, and the change log.
    {kReleaseNotes,
     // What each release brought, newest first.
     "    1.9(BETA5)：修正了托盘图标显示剩余内存时偶尔闪烁的问题；关闭自定义规则窗口后，新的清理规则立即生效；"
     "在线更新时显示已下载的字节数和下载进度。\r\n"
     "    1.9(BETA4)：新增“BT下载清理规则”，下载时不再自动清理内存，以免影响下载速度；修正了热键设置在程序重新启动后"
     "丢失的问题。\r\n"
     "    1.9(BETA3)：新增自定义清理规则，每条规则可以分别设置随进程数目变化清理和定时清理；托盘菜单中会显示当前使用的"
     "清理规则。\r\n"
     "    1.9(BETA2)：托盘图标可以选择显示齿轮图标或剩余内存，剩余内存图标每半秒刷新一次；可用内存低于20%时程序会"
     "自动清理内存，内存回升之前最多清理五次，避免反复清理拖慢系统。\r\n"
     "    1.9(BETA1)：重新编写了内存清理组件，清理速度更快，占用的系统资源更少；新增清除剪贴板信息的功能，复制过"
     "大量图片或文字后可以用它释放剪贴板占用的内存。\r\n"
     "    1.8(BETA3)：新增在线更新功能，可以从服务器下载最新版本并自动替换旧版本，更新完成后程序会自动回到系统托盘"
     "中继续运行；改进了程序界面。\r\n"
     "    1.8(BETA2)：新增“清理一键通”热键，默认热键为Ctrl+E，可以在高级设置中改成其他字母。\r\n"
     "    1.8(BETA1)：程序可以最小化到系统托盘中在后台运行，关闭窗口时不再退出程序；新增“后台全自动运行”按钮，"
     "点一下就能让程序在后台按规则自动清理内存。\r\n"
     "\r\n"
     // Notes and usage tips.
     "    本软件是绿色软件，无需安装：把程序所在的整个文件夹复制到其他位置或其他电脑上，就可以直接运行。\r\n"
     "    热键设置不能保存的问题已在1.9(BETA4)中修正，使用以前版本的用户升级后请重新设置一次热键。\r\n"
     "    在程序所在的文件夹中放入一张名为back.jpg或back.gif的图片，程序启动时就会用它替换主窗口上方的图片。\r\n"
     "    一般用户只需要开启一次“自动全部清理”，程序就会按照当前的清理规则在后台自动清理内存；需要立即清理时，"
     "按一下热键即可。\r\n"
     "    如果用于最小化启动的快捷方式丢失了，可以新建一个指向kelvo.exe的快捷方式，在“目标”一栏的末尾加上一个空格"
     "和-sendme参数。\r\n"
     "    清理内存时程序只是通知系统把暂时不用的内存页写回页面文件，不会关闭任何程序，也不会丢失数据；清理后刚切换回来"
     "的程序可能会稍慢片刻，这是正常现象。\r\n"
     "    玩游戏时建议在高级设置中选择“小型游戏清理规则”或“大型游戏清理规则”，下载时选择“BT下载清理规则”；点击“自定义"
     "清理规则”可以修改每条规则的具体内容，修改后记得点一下“保存设置”。\r\n"
     "    热键字母可以在高级设置中修改，按下Ctrl和该字母就能在任何程序中立即清理内存和剪贴板，听到提示音就表示已经开始"
     "清理。更多用法请点击本窗口右下角的“帮助”查看帮助文件。\r\n"
     "    感谢为本软件无偿提供更新空间的朋友，有了你们的支持，在线更新功能才得以实现。\r\n"
     "\r\n"
     // The change log.
     "更新日志\r\n"
     "1.94\r\n"
     "修正关闭自定义规则窗口后规则不能立即生效的问题\r\n"
     "改进托盘图标的显示效果\r\n"
     "1.93\r\n"
     "新增恢复默认清理规则的按钮\r\n"
     "保存清理规则时检查输入的数字\r\n"
     "在线更新失败时给出提示\r\n"
     "1.92\r\n"
     "新增BT下载清理规则\r\n"
     "修正热键设置重新启动后丢失的问题\r\n"
     "1.91\r\n"
     "新增自定义清理规则窗口\r\n"
     "新增小型游戏和大型游戏清理规则\r\n"
     "1.9\r\n"
     "托盘图标可以显示剩余内存\r\n"
     "可用内存低于20%时自动清理\r\n"
     "1.8\r\n"
     "新增在线更新\r\n"
     "新增清理一键通热键\r\n"
     "设置保存在程序所在的文件夹中\r\n"
     "1.7\r\n"
     "新增清除剪贴板信息\r\n"
     "可以最小化到系统托盘运行\r\n"
     "1.6\r\n"
     "改进内存清理组件，减少资源占用\r\n"
     "1.5\r\n"
     "第一个公开发布的版本\r\n"
     "感谢所有使用和支持本软件的朋友！\r\n"
     "祝大家使用愉快，工作顺利！\r\n",
     // What each release brought, newest first.
     "    1.9(BETA5): the tray icon no longer flickers now and then while it shows the free memory; a rule "
     "takes effect as soon as the rule editor closes; the online update shows the bytes downloaded and its "
     "progress.\r\n"
     "    1.9(BETA4): new \"BT download rule\": no automatic cleaning while you download, so downloads keep "
     "their speed; the hotkey setting is no longer lost when the program restarts.\r\n"
     "    1.9(BETA3): new custom cleaning rules: each rule cleans after a number of process changes, on a "
     "timer, or both; the tray menu shows the rule in use.\r\n"
     "    1.9(BETA2): the tray icon shows the gear icon or the free memory, redrawn every half second; below "
     "20% free memory the program cleans by itself, at most five times until memory recovers, so that "
     "cleaning over and over never slows the system down.\r\n"
     "    1.9(BETA1): a new memory cleaning component, faster and lighter on the system; new \"Clear "
     "clipboard\": after copying many pictures or much text, it frees the memory the clipboard holds.\r\n"
     "    1.8(BETA3): new online update: it downloads the latest version from the server and replaces the "
     "old one, and the program then goes on running in the tray; a better-looking window.\r\n"
     "    1.8(BETA2): new cleaning hotkey, Ctrl+E unless you choose another letter in the advanced "
     "settings.\r\n"
     "    1.8(BETA1): the program runs in the background from the system tray, and closing its window no "
     "longer ends it; new \"Run in background\" button: one click and the program cleans by its rules in "
     "the background.\r\n"
     "\r\n"
     // Notes and usage tips.
     "    Varnic needs no installation: copy its whole folder to another place or another computer and run "
     "it from there.\r\n"
     "    The hotkey setting that was not saved is fixed since 1.9(BETA4); if you upgrade from an earlier "
     "version, set your hotkey once more.\r\n"
     "    Put a picture named back.jpg or back.gif in the program's folder, and the program shows it at the "
     "top of its main window from its next start.\r\n"
     "    Most users only need to check \"Auto clean\" once: the program then cleans in the background by "
     "the current rule; for a clean at once, press the hotkey.\r\n"
     "    If the shortcut for a start in the tray is lost, make a new shortcut to kelvo.exe and add a blank "
     "and -sendme at the end of its \"Target\".\r\n"
     "    Cleaning only asks Windows to write memory pages that are not in use to the page file: no program "
     "is closed and no data is lost; a program you switch back to may be slow for a moment, which is "
     "normal.\r\n"
     "    For games choose \"Small games rule\" or \"Large games rule\" in the advanced settings, and \"BT "
     "download rule\" while you download; \"Customize rules\" changes what each rule does (press \"Save\" "
     "after a change).\r\n"
     "    The hotkey letter can be changed in the advanced settings: Ctrl and that letter clean memory and "
     "the clipboard from any program, and a beep says that cleaning has begun. For more, click \"Help\" at "
     "the bottom right of this window.\r\n"
     "    Thanks to the friends who host the update space for free: without them there would be no online "
     "update.\r\n"
     "\r\n"
     // The change log.
     "Change log\r\n"
     "1.94\r\n"
     "Fixed: a rule did not take effect at once when the rule editor closed\r\n"
     "Better-looking tray icon\r\n"
     "1.93\r\n"
     "New button that restores the default rules\r\n"
     "Numbers are checked when a rule is saved\r\n"
     "A message when the online update fails\r\n"
     "1.92\r\n"
     "New BT download rule\r\n"
     "Fixed: the hotkey setting was lost at a restart\r\n"
     "1.91\r\n"
     "New rule editor window\r\n"
     "New small games and large games rules\r\n"
     "1.9\r\n"
     "The tray icon can show the free memory\r\n"
     "Automatic clean below 20% free memory\r\n"
     "1.8\r\n"
     "New online update\r\n"
     "New cleaning hotkey\r\n"
     "Settings are kept in the program's folder\r\n"
     "1.7\r\n"
     "New Clear clipboard\r\n"
     "Can run minimized in the system tray\r\n"
     "1.6\r\n"
     "Lighter memory cleaning component\r\n"
     "1.5\r\n"
     "First public release\r\n"
     "Thanks to everyone who uses and supports Varnic!\r\n"
     "Enjoy it, and good luck with your work!\r\n"},
};

constexpr TextTable kTexts(kRows);

}  // namespace

std::string_view Text(AboutText name, Language language) { return kTexts(name, language); }

}  // namespace varnic::kelvo
