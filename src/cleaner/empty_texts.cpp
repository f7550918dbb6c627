// The texts of empty.exe, one row each: Chinese, then English.
#include "cleaner/empty_texts.h"

namespace varnic {
namespace {

using enum EmptyText;

// The usage's columns line up in a console, where a Chinese character takes two columns.
constexpr TextRow<EmptyText> kRows[] = {
    {kUsage,
     "用法：empty.exe [-v] [区域 ...] [* | 程序名.exe ...]\n"
     "  *            清空所有能打开的进程的工作集\n"
     "  程序名.exe   清空运行该程序的各个进程的工作集\n"
     "  -standby     清除备用列表（Windows Vista 及以上）\n"
     "  -lowstandby  清除低优先级备用列表（Windows Vista 及以上）\n"
     "  -modified    把已修改页面列表写入磁盘（Windows Vista 及以上）\n"
     "  -filecache   清空系统文件缓存（Windows Server 2003 SP1、Vista 及以上）\n"
     "  -combine     合并相同的内存页面（Windows 8 及以上）\n"
     "  -v           报告清理的每个进程和合计，以及每个区域清理前后的可用内存\n"
     "清理各个区域需要管理员帐户。退出代码：0 完成；1 无法列出进程；2 用法错误；\n"
     "3 有些区域在本机无法清理。\n",
     "usage: empty.exe [-v] [AREA ...] [* | NAME.exe ...]\n"
     "  *            empty the working set of every process that may be opened\n"
     "  NAME.exe     empty the working sets of the processes running that executable\n"
     "  -standby     purge the standby list (Windows Vista or later)\n"
     "  -lowstandby  purge the low-priority standby list (Windows Vista or later)\n"
     "  -modified    write the modified page list to disk (Windows Vista or later)\n"
     "  -filecache   empty the system file cache (Windows Server 2003 SP1, Vista or later)\n"
     "  -combine     combine identical memory pages (Windows 8 or later)\n"
     "  -v           report each process trimmed, the totals, and each area with the\n"
     "               available memory before and after\n"
     "The areas need an administrator's account. Exit codes: 0 done; 1 the processes could\n"
     "not be listed; 2 bad usage; 3 some areas were not possible here.\n"},
    {kBadUsage, "empty.exe：{1}\n", "empty.exe: {1}\n"},
    {kUnknownSwitch, "未知的开关：{1}", "unknown switch: {1}"},
    {kNotAnExeFileName, "不是可执行文件名：{1}", "not an executable file name: {1}"},
    {kNothingToEmpty, "没有要清理的对象：请指定进程名、* 或区域", "nothing to empty: name a process, * or an area"},
    {kProcessesNotListed, "empty.exe：无法列出正在运行的进程\n", "empty.exe: the running processes cannot be listed\n"},
    {kTrimmedProcess, "{1}（进程号 {2}）：{3} KB -> {4} KB\n", "{1} (pid {2}): {3} KB -> {4} KB\n"},
    {kTotalsOneProcess, "已清理 {1} 个进程：{2} KB -> {3} KB，释放 {4} KB；{5} 个无法清理\n",
     "{1} process trimmed: {2} KB -> {3} KB, {4} KB freed; {5} could not be trimmed\n"},
    {kTotalsProcesses, "已清理 {1} 个进程：{2} KB -> {3} KB，释放 {4} KB；{5} 个无法清理\n",
     "{1} processes trimmed: {2} KB -> {3} KB, {4} KB freed; {5} could not be trimmed\n"},
    {kAreaDone, "{1}：{2}；可用内存 {3} KB -> {4} KB\n", "{1}: {2}; available memory {3} KB -> {4} KB\n"},
    {kAreaNotOffered, "{1}：本机无法清理（需要 {2}）\n", "{1}: not possible here ({2} only)\n"},
    {kAreaLacksPrivilege, "{1}：未清理，帐户缺少 {2} 权限（请以管理员身份运行）\n",
     "{1}: not done, the account lacks {2} (run as administrator)\n"},
    {kAreaRefused, "{1}：系统拒绝清理（代码 0x{2}）\n", "{1}: refused by the system (code 0x{2})\n"},
    {kStandbyList, "备用列表", "standby list"},
    {kLowPriorityStandbyList, "低优先级备用列表", "low-priority standby list"},
    {kModifiedPageList, "已修改页面列表", "modified page list"},
    {kSystemFileCache, "系统文件缓存", "system file cache"},
    {kIdenticalPages, "相同的内存页面", "identical memory pages"},
    {kPurged, "已清除", "purged"},
    {kWrittenToDisk, "已写入磁盘", "written to disk"},
    {kEmptied, "已清空", "emptied"},
    {kCombined, "已合并", "combined"},
    {kSinceVista, "Windows Vista 及以上", "Windows Vista and later"},
    {kSinceServer2003Sp1, "Windows Server 2003 SP1、Vista 及以上", "Windows Server 2003 SP1, Vista and later"},
    {kSinceWindows8, "Windows 8 及以上", "Windows 8 and later"},
};

constexpr TextTable kTexts(kRows);

}  // namespace

std::string_view Text(EmptyText name, Language language) { return kTexts(name, language); }

}  // namespace varnic
