// kelvo's main window as a real window: every tooltip it names sits on its control. (Which
// clicks fold the panel needs the real mouse: tests/e2e/test_kelvo.py.)
#include "monitor/win32/main_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "fakes.h"
#include "monitor/win32/main_window_ids.h"
#include "platform/win32/ansi_codec.h"
#include "platform/win32/files.h"
#include "scratch_folder.h"

namespace varnic::win32 {
namespace {

using namespace main_window_ids;

BOOL CALLBACK FindTooltips(HWND candidate, LPARAM found) {
    wchar_t name[64] = L"";
    GetClassNameW(candidate, name, 64);
    if (_wcsicmp(name, TOOLTIPS_CLASSW) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = candidate;
    return FALSE;
}

TEST(MainWindow, EveryTooltipItNamesIsOnItsControl) {
    testing::ScratchFolder folder{"main-window"};
    Win32FileSystem files;
    Win32AnsiCodec codec;
    fakes::FakeLauncher launcher;
    fakes::FakeMemory memory;
    fakes::FakeProcesses processes;
    fakes::FakeClipboard clipboard;
    fakes::FakeBeeper beeper;
    Win32MessageBoxes messages;
    Win32Shell shell;
    MainWindow window(GetModuleHandleW(nullptr),
                      {files, codec, launcher, memory, processes, clipboard, beeper, messages, shell}, folder.Path(), {});
    ASSERT_TRUE(window.Create());
    window.Load("");
    SendMessageW(window.Handle(), WM_TIMER, 1, 0);  // the first tick sets Check2's tip

    const std::pair<int, std::wstring> tips[] = {
        {kLabel8, L"点击打开帮助和支持中心"},
        {kCommand3, L"打开或关闭高级设置"},
        {kLabel7, L"启动在线更新，检查是否有最新版本"},
        {kLabel9, L"下载软件新版"},
        {kCommand2, L"只要点我就能免除烦恼，快点吧！"},
        {kCheck1, L"选择后程序才会后台自动清理，强烈建议钩选！"},
        {kLabel15, L"点击可以自定义清理规则"},
        {kLabel4, L"点击打开我的Blog，给我留言。"},
        {kCheck2, L"启用本功能后按下Ctrl+E便可进行一次内存清理，同时清空剪贴板！"},
    };
    HWND tooltips = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindTooltips, reinterpret_cast<LPARAM>(&tooltips));
    ASSERT_TRUE(tooltips);
    EXPECT_EQ(SendMessageW(tooltips, TTM_GETTOOLCOUNT, 0, 0), static_cast<LRESULT>(std::size(tips)));
    for (const auto& [id, expected] : tips) {
        wchar_t text[160] = L"";
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = window.Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window.Handle(), id));
        tool.lpszText = text;
        SendMessageW(tooltips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(text, expected) << "control " << id;
    }
}

}  // namespace
}  // namespace varnic::win32
