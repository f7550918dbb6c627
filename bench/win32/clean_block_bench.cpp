// How long one clean keeps kelvo's window from its next message: the real main window with
// the real ports, its clean button pressed with the mouse (SendInput at the button's place on
// the screen, as a user's click arrives). Timed from the moment the loop takes the button's
// WM_LBUTTONUP (the press that cleans) until it takes the next message, which is posted right
// behind it. The folder's empty.exe is started for real; the benchmark puts a recorder there.
//   clean_block_bench.exe FOLDER [clicks]
// Prints one JSON object with the milliseconds of every click.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "monitor/win32/main_window.h"
#include "monitor/win32/main_window_ids.h"
#include "platform/win32/ansi_codec.h"
#include "platform/win32/beeper.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/files.h"
#include "platform/win32/memory_probe.h"
#include "platform/win32/process_counter.h"
#include "platform/win32/process_launcher.h"
#include "platform/win32/wide.h"

namespace {

using namespace varnic;
using namespace varnic::win32;

constexpr UINT kMarker = WM_APP + 77;

double Milliseconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Alternate clicks land a quarter of the button apart, so that no two make a double click.
void Press(HWND button, bool left) {
    RECT place{};
    GetWindowRect(button, &place);
    const int quarter = (place.right - place.left) / 4;
    const int x = (place.left + place.right) / 2 + (left ? -quarter : quarter), y = (place.top + place.bottom) / 2;
    INPUT input[3] = {};
    for (INPUT& i : input) i.type = INPUT_MOUSE;
    input[0].mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input[0].mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof(INPUT));
}

// Runs the loop until the button's press has been handled and the marker behind it taken;
// the milliseconds in between, or a negative number when the press never came.
double TimeOneClick(HWND button, bool left) {
    Press(button, left);
    const DWORD deadline = GetTickCount() + 20000;
    double pressed = -1;
    MSG message;
    while (GetTickCount() < deadline) {
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            continue;
        }
        if (message.hwnd == nullptr && message.message == kMarker) return Milliseconds() - pressed;
        const bool press = message.hwnd == button && message.message == WM_LBUTTONUP;
        if (press) pressed = Milliseconds();
        TranslateMessage(&message);
        DispatchMessageW(&message);
        if (press) PostThreadMessageW(GetCurrentThreadId(), kMarker, 0, 0);
    }
    return -1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: clean_block_bench FOLDER [clicks]\n");
        return 2;
    }
    const std::string folder = Utf8(argv[1]);
    const int clicks = argc > 2 ? _wtoi(argv[2]) : 20;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    Win32FileSystem files;
    Win32AnsiCodec codec;
    Win32ProcessLauncher launcher;
    Win32MemoryProbe memory;
    Win32ProcessCounter processes;
    Win32Clipboard clipboard;
    Win32Beeper beeper;
    Win32MessageBoxes messages;
    Win32Shell shell;
    MainWindow window(GetModuleHandleW(nullptr),
                      {files, codec, launcher, memory, processes, clipboard, beeper, messages, shell}, folder, {});
    if (!window.Create()) return 1;
    window.Load("");
    HWND button = GetDlgItem(window.Handle(), main_window_ids::kCommand1);
    SetForegroundWindow(window.Handle());
    std::vector<double> times;
    for (int i = 0; i < clicks; ++i) {
        const double ms = TimeOneClick(button, i % 2 == 0);
        if (ms < 0) break;
        times.push_back(ms);
    }
    // The same start of the tool alone, as the clean makes it: what of the time is the start.
    std::vector<double> starts;
    const std::string tool = folder + "\\empty.exe";
    for (int i = 0; i < clicks; ++i) {
        const double start = Milliseconds();
        if (!launcher.Start(tool, "empty.exe  *", varnic::ShowWindow::Hidden)) break;
        starts.push_back(Milliseconds() - start);
    }
    std::printf("{\n  \"clicks\": %d,\n  \"ms\": [", clicks);
    for (std::size_t i = 0; i < times.size(); ++i) std::printf("%s%.3f", i ? ", " : "", times[i]);
    std::printf("],\n  \"start_alone_ms\": [");
    for (std::size_t i = 0; i < starts.size(); ++i) std::printf("%s%.3f", i ? ", " : "", starts[i]);
    std::printf("]\n}\n");
    std::fflush(stdout);
    return static_cast<int>(times.size()) == clicks ? 0 : 1;
}
