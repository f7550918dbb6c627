// kelvo's Win32 ports and what only its real windows show: memory figures, process count and start,
// the shell, the tray icon and its gauge; the main window's tooltips, the about window's links, the
// image button's press. The hotkey, the windows' journeys and the panel's clicks: e2e/test_kelvo.py.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <array>
#include <functional>

#include "about/win32/about_ids.h"
#include "about/win32/about_window.h"
#include "fakes.h"
#include "monitor/win32/main_window.h"
#include "monitor/win32/main_window_ids.h"
#include "platform/win32/ansi_codec.h"
#include "platform/win32/files.h"
#include "platform/win32/memory_probe.h"
#include "platform/win32/process_counter.h"
#include "platform/win32/process_launcher.h"
#include "scratch_folder.h"

namespace varnic::win32 {
namespace {

HWND MakeWindow(WNDPROC procedure) {  // a top-level window whose messages go to `procedure`
    HWND window = CreateWindowW(L"STATIC", L"", 0, 10, 10, 500, 300, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    return window;
}

// Pumps this thread's messages until `done`, failing the test with `what` after the deadline.
bool PumpUntil(const char* what, const std::function<bool()>& done) {
    for (const DWORD start = GetTickCount(); !done(); MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT)) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        if (GetTickCount() - start > 30000) return ADD_FAILURE() << "timed out waiting for " << what, false;
    }
    return true;
}

TEST(MemoryProbe, ReadsTheSystemsSixtyFourBitFigures) {
    MEMORYSTATUSEX system{};
    system.dwLength = sizeof system;
    ASSERT_TRUE(GlobalMemoryStatusEx(&system));
    const MemoryStatus status = Win32MemoryProbe().Read();
    EXPECT_EQ(status.totalPhys, system.ullTotalPhys);  // beyond the 2 GB of the older record on this host
    EXPECT_LT(std::llabs(static_cast<long long>(status.availPhys - system.ullAvailPhys)), 256ll << 20);
    EXPECT_LE(std::abs(static_cast<int>(status.memoryLoad) - static_cast<int>(system.dwMemoryLoad)), 5);
}

int ListedProcesses() {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
        ++count;
    return count;
}

// Wine's services start and end on their own: the count must agree with listings taken by hand
// just before and just after it, at some moment before the deadline.
void ExpectTheCountOfNow(ProcessCounter& counter, const char* moment) {
    int before = 0, count = 0, after = 0;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 30000;) {
        before = ListedProcesses(), count = counter.Count(), after = ListedProcesses();
        if (count == before && count == after) return;
    }
    ADD_FAILURE() << "timed out waiting for the count " << moment << " to agree with the listings: counted "
                  << count << ", listed " << before << " then " << after;
}

TEST(ProcessCounter, CountsTheRunningProcessesAsTheyStartAndEnd) {
    Win32ProcessCounter counter;
    ExpectTheCountOfNow(counter, "at the start");
    wchar_t line[] = L"cmd /c exit";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup, &child));
    UniqueHandle process(child.hProcess), thread(child.hThread);
    ExpectTheCountOfNow(counter, "with the suspended child");
    TerminateProcess(process.Get(), 0);
    ASSERT_EQ(WaitForSingleObject(process.Get(), 30000), WAIT_OBJECT_0) << "timed out waiting for the child's end";
    ExpectTheCountOfNow(counter, "after the child's end");
}

// The command recorder (built beside this test) as `path`: a stand-in that logs how it was started
// into "calls.log" beside itself.
bool PlaceRecorder(const std::string& path) {
    return CopyFileW(Wide(ApplicationDirectory() + "\\command_recorder.exe").c_str(), Wide(path).c_str(), FALSE);
}

TEST(ProcessLauncher, StartsTheFileItNamesWithTheCommandLineAndShowValueAndDoesNotWait) {
    testing::ScratchFolder installation{"安装"}, planted{"planted"};
    for (const auto* folder : {&installation, &planted}) ASSERT_TRUE(PlaceRecorder(*folder / "empty.exe"));
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(Wide(planted.Path()).c_str());  // where a search for "empty.exe" would look first
    // The recorder waits for the gate, then sets done; it finds both by the names in its environment.
    UniqueHandle gate(CreateEventW(nullptr, TRUE, FALSE, L"varnic-gate")), done(CreateEventW(nullptr, TRUE, FALSE, L"varnic-done"));
    SetEnvironmentVariableW(L"VARNIC_RECORDER_GATE", L"varnic-gate");
    SetEnvironmentVariableW(L"VARNIC_RECORDER_DONE", L"varnic-done");
    Win32ProcessLauncher launcher;
    EXPECT_TRUE(launcher.Start(installation / "empty.exe", "empty.exe  *", ShowWindow::Minimized));
    EXPECT_NE(WaitForSingleObject(done.Get(), 0), WAIT_OBJECT_0) << "Start came back only once the program had ended";
    SetEvent(gate.Get());
    ASSERT_EQ(WaitForSingleObject(done.Get(), 30000), WAIT_OBJECT_0);
    SetEnvironmentVariableW(L"VARNIC_RECORDER_GATE", nullptr);  // later starts run through
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(testing::FileBytes(installation / "calls.log"), "empty.exe\tempty.exe  *\t2\r\n");
    EXPECT_EQ(testing::FileBytes(planted / "calls.log"), "<missing>");
    EXPECT_FALSE(launcher.Start(installation / "tarnel.exe", "tarnel.exe", ShowWindow::Normal));
    EXPECT_FALSE(launcher.Start(installation.Path(), "empty.exe  *", ShowWindow::Hidden));  // a folder
    std::vector<int> ended;  // followed starts: each end runs from this thread's messages once its program ended
    for (int which : {1, 2})
        EXPECT_TRUE(launcher.StartFollowed(installation / "empty.exe", "empty.exe  * -standby", ShowWindow::Hidden,
                                           [&ended, which] { ended.push_back(which); }));
    EXPECT_TRUE(ended.empty());
    ASSERT_TRUE(PumpUntil("the ends of both followed empty.exe", [&] { return ended.size() == 2; }));
    EXPECT_EQ(ended[0] + ended[1], 3);
}

TEST(Shell, OpensAProgramShownNormally) {
    testing::ScratchFolder folder{"shell"};
    ASSERT_TRUE(PlaceRecorder(folder / "kelvo.exe"));
    UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, L"varnic-shell-done"));
    SetEnvironmentVariableW(L"VARNIC_RECORDER_DONE", L"varnic-shell-done");
    Win32Shell().Open(folder / "kelvo.exe", folder.Path());
    ASSERT_EQ(WaitForSingleObject(done.Get(), 30000), WAIT_OBJECT_0);
    const std::string log = testing::FileBytes(folder / "calls.log");
    EXPECT_EQ(log.substr(0, log.find('\t')) + log.substr(log.rfind('\t')), "kelvo.exe\t1\r\n") << log;
}

std::vector<LPARAM> trayCallbacks;

LRESULT CALLBACK TrayOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) trayCallbacks.push_back(lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

bool ShellHolds(HWND window, UINT id, DWORD message = NIM_MODIFY) {  // asked of the shell itself
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = window;
    data.uID = id;
    return Shell_NotifyIconW(message, &data);
}

bool Alive(HICON icon) {
    ICONINFO info{};
    const bool alive = GetIconInfo(icon, &info);
    GdiObject<HBITMAP> colour(info.hbmColor), mask(info.hbmMask);
    return alive;
}

// In the tray of Wine's desktop (another process), which draws its icons inside the taskbar from
// the right end: a right-click there comes back as the shell's callbacks and asks for the menu once.
TEST(TrayIcon, ShowsChangesAndTakesOutItsIconAsksForTheMenuOnceAndLooksAfterItsPictures) {
    UniqueWindow owner(MakeWindow(TrayOwner));
    ASSERT_TRUE(PumpUntil("the tray", [] { return FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr; }));
    HICON pictures[2] = {}, shared = LoadIconW(nullptr, IDI_APPLICATION);
    {
        TrayIcon tray(owner.Get(), WM_APP, 3);
        tray.SetTip(std::wstring(300, L'内'));  // longer than the shell holds
        ASSERT_TRUE(tray.Add());
        for (HICON& picture : pictures) {
            UniqueIcon icon(CopyIcon(shared));
            picture = icon.Get();
            tray.SetOwnedIcon(std::move(icon));
        }
        EXPECT_FALSE(Alive(pictures[0])) << "a picture replaced is destroyed";
        HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
        RECT area{};
        GetClientRect(taskbar, &area);
        for (UINT message : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MOUSEMOVE})
            PostMessageW(taskbar, message, 0, MAKELPARAM(area.right - 10, area.bottom / 2));
        ASSERT_TRUE(PumpUntil("the callback of the move, after those of the click", [] {
            return !trayCallbacks.empty() && TrayIcon::MouseMessage(trayCallbacks.back()) == WM_MOUSEMOVE;
        }));
        EXPECT_EQ(std::count_if(trayCallbacks.begin(), trayCallbacks.end(), [&](LPARAM c) { return tray.IsMenuRequest(c); }), 1);
        // A restarted Explorer has forgotten every icon: the wanted one comes back, one taken out does not.
        ASSERT_TRUE(ShellHolds(owner.Get(), 3, NIM_DELETE));
        EXPECT_TRUE(tray.OnTaskbarCreated() && ShellHolds(owner.Get(), 3));
        EXPECT_TRUE(tray.Remove());
        EXPECT_FALSE(tray.OnTaskbarCreated() || ShellHolds(owner.Get(), 3));
        EXPECT_TRUE(Alive(pictures[1]));
    }
    EXPECT_FALSE(Alive(pictures[1])) << "the last owned picture goes with the tray icon";
    {
        TrayIcon tray(owner.Get(), WM_APP, 4);
        tray.SetSharedIcon(shared);
        ASSERT_TRUE(tray.Add());
    }
    EXPECT_TRUE(Alive(shared)) << "a shared picture is never destroyed";
    EXPECT_FALSE(ShellHolds(owner.Get(), 4)) << "the icon leaves the tray with its object";
}

// The process's live GDI objects (an icon's pictures among them). Wine lacks GetGuiResources; its
// handle table hands out the lowest free slot first, so after `kProbes` new objects the highest
// index in use is the number alive plus the probes (plus an offset).
DWORD LiveGdiObjects() {
    SetLastError(0);
    if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); count || GetLastError() == 0) return count;
    constexpr DWORD kProbes = 2000;
    std::vector<GdiObject<HRGN>> probes(kProbes);
    DWORD highest = 0;
    for (auto& probe : probes) {
        probe.Reset(CreateRectRgn(0, 0, 1, 1));
        highest = std::max<DWORD>(highest, LOWORD(reinterpret_cast<UINT_PTR>(probe.Get())));
    }
    return highest + 1 - kProbes;
}

// The tick's steps, in twips: the figure; the free share as a light bar over a blue one; a black
// frame. Twice a second for weeks, every drawing, icon and hand-over gives back what it took.
TEST(GaugeCanvas, DrawsTheTicksGaugeAndLeavesTheObjectCountFlatTickAfterTick) {
    UniqueWindow owner(MakeWindow(DefWindowProcW));
    GaugeCanvas p1(96);
    TrayIcon tray(owner.Get(), WM_APP, 9);
    tray.Add();
    const int right = p1.InnerWidth() - 20;
    const auto tick = [&](int i) {
        p1.Clear();
        p1.SetFontName(i % 2 ? "Arial" : "Abadi MT Condensed Extra Bold");
        p1.Print(std::to_string(100 + i % 900));
        p1.Line(20, 370, right, 370, {96, 96, 191});
        p1.Line(20, 370, static_cast<int>(right * (i % 101) / 100.0), 370, {250, 250, 250});
        p1.SetLineWidth(2);
        for (const auto& [x1, y1, x2, y2] : {std::array{20, 320, right, 320}, {20, 420, right, 420},
                                             {20, 320, 20, 420}, {right, 320, right, 420}})
            p1.Line(x1, y1, x2, y2, {0, 0, 0});
        p1.SetLineWidth(6);
        tray.SetOwnedIcon(p1.MakeIcon16());
    };
    tick(40);  // 37 x 33 pixels at 96 DPI; (555 - 20) x 40 % = 214 twips: 14 pixels of light bar on row 24
    for (const auto& [x, y, colour] : {std::tuple{4, 24, RGB(250, 250, 250)}, {12, 24, RGB(250, 250, 250)},
                                       {18, 24, RGB(96, 96, 191)}, {18, 21, 0ul}, {1, 25, 0ul}, {35, 25, 0ul}}) {
        const Rgb c = p1.PixelAt(x, y);
        EXPECT_LE(std::abs(c.r - GetRValue(colour)) + std::abs(c.g - GetGValue(colour)) + std::abs(c.b - GetBValue(colour)), 60)
            << "at " << x << "," << y;
    }
    tick(1);
    const DWORD before = LiveGdiObjects();
    for (int i = 0; i < 400; ++i) tick(i);
    EXPECT_EQ(LiveGdiObjects(), before);
    std::vector<GdiObject<HBITMAP>> leak(10);  // the count sees a leak
    for (auto& bitmap : leak) bitmap.Reset(CreateBitmap(4, 4, 1, 32, nullptr));
    EXPECT_GE(LiveGdiObjects(), before + 10);
}

BOOL CALLBACK FindTooltips(HWND candidate, LPARAM found) {
    wchar_t name[64] = L"";
    GetClassNameW(candidate, name, 64);
    if (_wcsicmp(name, TOOLTIPS_CLASSW) == 0) *reinterpret_cast<HWND*>(found) = candidate;
    return !*reinterpret_cast<HWND*>(found);
}

TEST(MainWindow, EveryTooltipItNamesIsOnItsControl) {
    using namespace main_window_ids;
    testing::ScratchFolder folder{"main-window"};
    Win32FileSystem files;
    Win32AnsiCodec codec;
    fakes::CallLog log;
    fakes::FakeSystem sys{log};  // the launcher, memory, processes, clipboard and beeper
    Win32MessageBoxes messages;
    Win32Shell shell;
    MainWindow window(GetModuleHandleW(nullptr),
                      {files, codec, sys, sys, sys, sys, sys, messages, shell}, folder.Path(), {});
    ASSERT_TRUE(window.Create());
    window.Load("");
    SendMessageW(window.Handle(), WM_TIMER, 1, 0);  // the first tick sets Check2's tip
    HWND tooltips = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindTooltips, reinterpret_cast<LPARAM>(&tooltips));
    ASSERT_TRUE(tooltips);
    const std::pair<int, std::wstring> tips[] = {
        {kLabel8, L"点击打开帮助和支持中心"}, {kCommand3, L"打开或关闭高级设置"},
        {kLabel7, L"启动在线更新，检查是否有最新版本"}, {kLabel9, L"下载软件新版"},
        {kCommand2, L"只要点我就能免除烦恼，快点吧！"}, {kCheck1, L"选择后程序才会后台自动清理，强烈建议钩选！"},
        {kLabel15, L"点击可以自定义清理规则"}, {kLabel4, L"点击打开我的Blog，给我留言。"},
        {kCheck2, L"启用本功能后按下Ctrl+E便可进行一次内存清理，同时清空剪贴板！"},
    };
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

// A click on a link opens its target through the shell, each time, the installation folder as
// working folder; a plain label opens nothing. The hosts are the maker's choice, the paths not.
TEST(AboutWindow, EachLinkOpensItsTargetAtEveryClick) {
    using namespace about_ids;
    fakes::CallLog log;
    fakes::FakeSystem shell{log};
    HWND window = AboutWindow::Show(GetModuleHandleW(nullptr), "C:\\Varnic", &shell);
    const std::pair<int, std::string> rows[] = {  // the target's path
        {kLblVersion, ""}, {kLabel1, "http://"}, {kLabel6, "http://"}, {kLabel2, "/blog"},
        {kLabel3, "/soft/22033.html"}, {kLabel4, "/soft/38084.htm"}, {kLabel5, "C:\\Varnic\\help.txt"}};
    for (const auto& [id, target] : rows) {
        log.calls.clear();
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP})
            SendMessageW(GetDlgItem(window, id), message, 0, 0);
        ASSERT_EQ(log.calls.size(), target.empty() ? 0u : 2u) << id;
        for (const auto& opened : log.calls)  // "open <target> in <folder>"
            EXPECT_TRUE(opened.find(target) != std::string::npos && opened.ends_with(" in C:\\Varnic")) << opened;
    }
    DestroyWindow(window);
}

std::vector<WORD> presses;

LRESULT CALLBACK ButtonParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) presses.push_back(LOWORD(wParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

// Wine lets BM_CLICK press a disabled button; an image button pressed so raises nothing.
TEST(ImageButton, IsPressedOncePerClickAndNeverWhileDisabled) {
    UniqueWindow parent(MakeWindow(ButtonParent));
    ImageButtonGroup group(parent.Get());
    ImageButton& button = group.Add(21, RECT{10, 10, 148, 38}, L"更新", UniqueIcon{});
    for (bool enabled : {true, true, false, true}) {
        button.Enable(enabled);
        SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    }
    EXPECT_EQ(presses, std::vector<WORD>(3, 21));
}

}  // namespace
}  // namespace varnic::win32
