// kelvo's Win32 ports and what only its real windows show; the hotkey, the journeys and the panel's
// clicks are in e2e/test_kelvo.py. The 64-bit pass leaves out the texts' fit and the picture.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "about/win32/about_ids.h"
#include "about/win32/about_window.h"
#include "fakes.h"
#include "monitor/win32/main_window.h"
#include "monitor/win32/main_window_ids.h"
#include "monitor/win32/picture_file.h"
#include "platform/win32/ansi_codec.h"
#include "platform/win32/dib_section.h"
#include "platform/win32/files.h"
#include "platform/win32/memory_probe.h"
#include "platform/win32/process_counter.h"
#include "platform/win32/process_launcher.h"
#include "platform/win32/wide.h"
#include "rules/win32/rule_editor_window.h"
#include "scratch_folder.h"

namespace varnic::win32 {
namespace {

// What MakeWindow's windows received: the tray's callbacks (their lParam) and the buttons' commands (wParam).
std::vector<std::pair<UINT, LPARAM>> received;

LRESULT CALLBACK Recording(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP || message == WM_COMMAND) received.emplace_back(message, message == WM_APP ? lParam : wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow() {  // a top-level window whose messages are recorded
    HWND window = CreateWindowW(L"STATIC", L"", 0, 10, 10, 500, 300, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Recording));
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
// just before and just after it, at some moment before the deadline, with a child and after its end.
TEST(ProcessCounter, CountsTheRunningProcessesAsTheyStartAndEnd) {
    Win32ProcessCounter counter;
    const auto agrees = [&] {
        const int before = ListedProcesses(), count = counter.Count();
        return count == before && count == ListedProcesses();
    };
    wchar_t line[] = L"cmd /c exit";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup, &child));
    UniqueHandle process(child.hProcess), thread(child.hThread);
    EXPECT_TRUE(PumpUntil("the count with the suspended child to agree with the listings", agrees));
    TerminateProcess(process.Get(), 0);
    ASSERT_EQ(WaitForSingleObject(process.Get(), 30000), WAIT_OBJECT_0) << "timed out waiting for the child's end";
    EXPECT_TRUE(PumpUntil("the count after the child's end to agree with the listings", agrees));
}

// The launcher starts the file it names, not one a search finds, with the command line and show value,
// and does not wait; the shell opens a program shown normally.
TEST(ProcessLauncherAndShell, StartTheFileTheyNameAsAsked) {
    testing::ScratchFolder installation{"安装"}, planted{"planted"};
    const std::wstring recorder = Wide(ApplicationDirectory() + "\\command_recorder.exe");  // logs its start beside it
    for (const auto* folder : {&installation, &planted}) ASSERT_TRUE(CopyFileW(recorder.c_str(), Wide(*folder / "empty.exe").c_str(), 0));
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
    EXPECT_FALSE(launcher.Start(installation.Path(), "empty.exe  *", ShowWindow::Hidden));  // a folder
    std::vector<int> ended;  // followed starts: each end runs from this thread's messages once its program ended
    for (int which : {1, 2})
        EXPECT_TRUE(launcher.StartFollowed(installation / "empty.exe", "empty.exe  * -standby", ShowWindow::Hidden,
                                           [&ended, which] { ended.push_back(which); }));
    EXPECT_TRUE(ended.empty());
    ASSERT_TRUE(PumpUntil("the ends of both followed empty.exe", [&] { return ended.size() == 2; }));
    EXPECT_EQ(ended[0] + ended[1], 3);
    ResetEvent(done.Get());
    Win32Shell().Open(planted / "empty.exe", planted.Path());
    ASSERT_EQ(WaitForSingleObject(done.Get(), 30000), WAIT_OBJECT_0) << "timed out waiting for the shell's start";
    const std::string log = testing::FileBytes(planted / "calls.log");
    EXPECT_EQ(log.substr(0, log.find('\t')) + log.substr(log.rfind('\t')), "empty.exe\t1\r\n") << log;
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

// The process's live GDI objects. Wine lacks GetGuiResources; its handle table hands out the lowest free
// slot first, so after `kProbes` new objects the highest index in use is the number alive plus the probes.
DWORD LiveGdiObjects() {
    constexpr DWORD kProbes = 2000;
    std::vector<GdiObject<HRGN>> probes(kProbes);
    DWORD highest = 0;
    for (auto& probe : probes) {
        probe.Reset(CreateRectRgn(0, 0, 1, 1));
        highest = std::max<DWORD>(highest, LOWORD(reinterpret_cast<UINT_PTR>(probe.Get())));
    }
    return highest + 1 - kProbes;
}

// In the tray of Wine's desktop (another process), which draws its icons inside the taskbar from
// the right end: a right-click there comes back as the shell's callbacks and asks for the menu once.
TEST(TrayIcon, ShowsTheGaugeTickAfterTickAsksForTheMenuOnceAndComesBackAfterExplorer) {
    UniqueWindow owner(MakeWindow());
    UniqueIcon shared(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));  // a copy: a system icon outlives DestroyIcon
    {
        TrayIcon tray(owner.Get(), WM_APP, 3);
        tray.SetTip(std::wstring(300, L'内'));  // longer than the shell holds
        ASSERT_TRUE(tray.Add());
        HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
        RECT area{};
        GetClientRect(taskbar, &area);
        for (UINT message : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MOUSEMOVE})
            PostMessageW(taskbar, message, 0, MAKELPARAM(area.right - 10, area.bottom / 2));
        ASSERT_TRUE(PumpUntil("the callback of the move, after those of the click", [] {
            return !received.empty() && TrayIcon::MouseMessage(received.back().second) == WM_MOUSEMOVE;
        }));
        EXPECT_EQ(std::count_if(received.begin(), received.end(), [&](auto r) { return tray.IsMenuRequest(r.second); }), 1);
        // The gauge's steps, in twips: the figure; the free share as a light bar over a blue one; a black frame.
        // Twice a second for weeks, every drawing, icon and hand-over gives back what it took.
        GaugeCanvas p1(96);
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
        // A restarted Explorer has forgotten every icon: the wanted one comes back, one taken out does not.
        ASSERT_TRUE(ShellHolds(owner.Get(), 3, NIM_DELETE));
        EXPECT_TRUE(tray.OnTaskbarCreated() && ShellHolds(owner.Get(), 3));
        EXPECT_TRUE(tray.Remove());
        EXPECT_FALSE(tray.OnTaskbarCreated() || ShellHolds(owner.Get(), 3));
    }
    {
        TrayIcon tray(owner.Get(), WM_APP, 4);
        tray.SetSharedIcon(shared.Get());
        ASSERT_TRUE(tray.Add());
    }
    EXPECT_TRUE(Alive(shared.Get())) << "a shared picture is never destroyed";
    EXPECT_FALSE(ShellHolds(owner.Get(), 4)) << "the icon leaves the tray with its object";
}

// The main window on real files, boxes and shell, fakes for the rest (and the other windows' ports), ticked once.
struct Kelvo {
    testing::ScratchFolder folder{"kelvo"};
    Win32FileSystem files;
    Win32AnsiCodec codec;
    fakes::CallLog log;
    fakes::FakeSystem sys{log};
    Win32MessageBoxes boxes;
    Win32Shell shell;
    std::unique_ptr<MainWindow> Open(Language language = Language::kChinese) {
        auto main = std::make_unique<MainWindow>(GetModuleHandleW(nullptr), MainWindowPorts{files, codec, sys, sys, sys,
                                                 sys, sys, boxes, shell}, folder.Path(), SecondaryWindows{}, language);
        if (!main->Create()) return nullptr;
        main->Load("");
        SendMessageW(main->Handle(), WM_TIMER, 1, 0);  // the tick's figures, rule caption and Check2's tip
        return main;
    }
};

TEST(MainWindow, EveryTooltipItNamesIsOnItsControl) {
    using namespace main_window_ids;
    Kelvo kelvo;
    const auto window = kelvo.Open();
    ASSERT_TRUE(window);
    HWND tooltips = nullptr;  // this thread's: the desktop's tray has its own
    while ((tooltips = FindWindowExW(nullptr, tooltips, TOOLTIPS_CLASSW, nullptr)) &&
           GetWindowThreadProcessId(tooltips, nullptr) != GetCurrentThreadId()) {}
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
        tool.hwnd = window->Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(window->Handle(), id));
        tool.lpszText = text;
        SendMessageW(tooltips, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(text, expected) << "control " << id;
    }
}

// Every text of kelvo's windows stays whole in its control at 100 %, 150 % and 200 % scale, in both languages:
// measured in its own font grown to that scale against the control grown so, less what it draws beside the text.
int Scaled(int pixels, int dpi) { return MulDiv(pixels, dpi, ScreenDpi()); }

// The room a control leaves its text, and whether the text may wrap; width 0: no text to fit.
SIZE RoomFor(HWND control, const wchar_t* kind, int dpi, bool& wraps) {
    RECT r;
    GetWindowRect(control, &r);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const int width = Scaled(r.right - r.left, dpi), height = Scaled(r.bottom - r.top, dpi);
    wraps = !wcscmp(kind, L"Static") && (style & SS_TYPEMASK) <= SS_RIGHT;
    if (!wcscmp(kind, L"Static")) return {(style & SS_TYPEMASK) == SS_OWNERDRAW ? 0 : width, height};
    if (!wcscmp(kind, L"ComboBox")) return {width - Scaled(GetSystemMetrics(SM_CXVSCROLL) + 6, dpi), height};
    if (!wcscmp(kind, L"Edit")) return {style & ES_MULTILINE ? 0 : width - Scaled(6, dpi), height};
    const LONG type = style & BS_TYPEMASK;  // an image button's margins, a group's frame, a box and its gap
    return {width - (type == BS_OWNERDRAW ? 2 * std::max(3, height / 10) : Scaled(type == BS_GROUPBOX ? 16 : 18, dpi)),
            height};
}

std::string Misfits(HWND window, int dpi) {
    std::string found;
    WindowDc screen(nullptr);
    for (HWND control = GetWindow(window, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        wchar_t kind[32] = L"", text[512] = L"";
        GetClassNameW(control, kind, 32);
        const bool combo = !wcscmp(kind, L"ComboBox");
        bool wraps;
        const int texts = combo ? static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0)) : 1;
        const SIZE room = RoomFor(control, kind, dpi, wraps);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        font.lfHeight = -Scaled(std::abs(font.lfHeight), dpi);
        GdiObject<HFONT> grown(CreateFontIndirectW(&font));
        SelectedObject selected(screen.Get(), grown.Get());
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen.Get(), &metrics);  // the leading above the letters may be cut, the letters not
        for (int i = 0; i < texts && room.cx; ++i) {
            if (combo) SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            else GetWindowTextW(control, text, 512);
            RECT need{0, 0, room.cx, 0};
            DrawTextW(screen.Get(), text, -1, &need, DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
            if (*text && (need.right > room.cx || need.bottom - metrics.tmInternalLeading > room.cy))
                found += Utf8(text) + " needs " + std::to_string(need.right) + "x" + std::to_string(need.bottom) + "\n";
        }
    }
    return found;
}

TEST(EveryWindow, KeepsEachTextWholeAtEveryScaleInBothLanguages) {
    Kelvo kelvo;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (Language language : {Language::kChinese, Language::kEnglish}) {
        const auto main = kelvo.Open(language);
        ASSERT_TRUE(main);
        const std::string& folder = kelvo.folder.Path();
        const std::pair<const char*, HWND> windows[] = {
            {"main", main->Handle()}, {"about", AboutWindow::Show(instance, folder, &kelvo.sys, language)},
            {"rule editor", RuleEditorWindow::Show(instance, nullptr, folder, [] {}, &kelvo.sys, language)}};
        for (const auto& [name, window] : windows) {
            ASSERT_TRUE(window) << name;
            for (int dpi : {96, 144, 192})
                EXPECT_EQ(Misfits(window, dpi), "") << name << " at " << dpi << " dpi, language " << int(language);
            if (window != main->Handle()) DestroyWindow(window);
        }
    }
}

// The background picture, decoded by OLE: a 1 x 1 GIF whose one pixel is pure red (palette entry 0),
// and a file that is no picture.
const std::string kRedGif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\x00\x00\x00\x00\x00\x2C\x00\x00\x00\x00\x01\x00\x01"
                          "\x00\x00\x02\x02\x44\x01\x00\x3B", 35);

TEST(PictureFile, DrawsADecodedPictureAndRefusesOtherFiles) {
    testing::ScratchFolder folder("picture");
    ASSERT_TRUE(testing::PutFile(folder / "back.gif", kRedGif) && testing::PutFile(folder / "back.jpg", "no picture"));
    EXPECT_EQ(PictureFile::Load(Wide(folder / "back.jpg")), nullptr);
    EXPECT_EQ(PictureFile::Load(Wide(folder / "missing.gif")), nullptr);
    auto picture = PictureFile::Load(Wide(folder / "back.gif"));
    ASSERT_NE(picture, nullptr);

    void* bits = nullptr;
    GdiObject<HBITMAP> target(CreateTopDownDib(4, 4, &bits));
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectObject(dc.Get(), target.Get());  // the memory DC goes first
    picture->Draw(dc.Get(), RECT{0, 0, 4, 4});
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(pixels[i] & 0xFFFFFF, 0xFF0000u) << "pixel " << i;  // B, G, R in memory
}

// A click on a link opens its target through the shell, each time, the installation folder as
// working folder; a plain label opens nothing. The hosts are the maker's choice, the paths not.
TEST(AboutWindow, EachLinkOpensItsTargetAtEveryClick) {
    using namespace about_ids;
    Kelvo kelvo;  // its fake shell
    HWND window = AboutWindow::Show(GetModuleHandleW(nullptr), "C:\\Varnic", &kelvo.sys);
    const std::pair<int, std::string> rows[] = {  // the target's path
        {kLblVersion, ""}, {kLabel1, "http://"}, {kLabel6, "http://"}, {kLabel2, "/blog"},
        {kLabel3, "/soft/22033.html"}, {kLabel4, "/soft/38084.htm"}, {kLabel5, "C:\\Varnic\\help.txt"}};
    for (const auto& [id, target] : rows) {
        kelvo.log.calls.clear();
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP})
            SendMessageW(GetDlgItem(window, id), message, 0, 0);
        ASSERT_EQ(kelvo.log.calls.size(), target.empty() ? 0u : 2u) << id;
        for (const auto& opened : kelvo.log.calls)  // "open <target> in <folder>"
            EXPECT_TRUE(opened.find(target) != std::string::npos && opened.ends_with(" in C:\\Varnic")) << opened;
    }
    DestroyWindow(window);
}

// Wine lets BM_CLICK press a disabled button; an image button pressed so raises nothing.
TEST(ImageButton, IsPressedOncePerClickAndNeverWhileDisabled) {
    UniqueWindow parent(MakeWindow());
    ImageButtonGroup group(parent.Get());
    ImageButton& button = group.Add(21, RECT{10, 10, 148, 38}, L"更新", UniqueIcon{});
    for (bool enabled : {true, true, false, true}) {
        button.Enable(enabled);
        SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    }
    const std::pair<UINT, LPARAM> press(WM_COMMAND, MAKEWPARAM(21, BN_CLICKED));
    EXPECT_EQ(std::count(received.begin(), received.end(), press), 3);
}

}  // namespace
}  // namespace varnic::win32
