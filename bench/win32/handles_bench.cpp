// kelvo's GDI and USER objects after 20 and after 2,000 ticks of the monitor timer. The real
// main window with the real ports is built as kelvo.exe builds it, except that programs are
// not started (a clean is recorded instead), then the ticks are delivered as the timer's own
// WM_TIMER messages, each followed by the message loop's work (paints, tray updates).
//   handles_bench.exe FOLDER [first ticks] [total ticks]
// FOLDER is the installation folder (Setting.ini chooses the options). Prints one JSON object.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "gui_objects.h"
#include "monitor/win32/main_window.h"
#include "platform/win32/ansi_codec.h"
#include "platform/win32/beeper.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/files.h"
#include "platform/win32/memory_probe.h"
#include "platform/win32/process_counter.h"
#include "platform/win32/wide.h"

namespace {

using namespace varnic;
using namespace varnic::win32;

class RecordingLauncher final : public ProcessLauncher {
public:
    int starts = 0;
    bool Start(const std::string&, const std::string&, varnic::ShowWindow) override {
        ++starts;
        return true;
    }
};

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Tick(HWND window, int count) {
    for (int i = 0; i < count; ++i) {
        SendMessageW(window, WM_TIMER, 1, 0);
        PumpMessages();
    }
}

void Print(const char* name, const bench::GuiObjects& c, bool last) {
    std::printf(
        "  \"%s\": {\"gdi\": %lu, \"user\": %lu, \"gdi_reported\": %lu, \"user_reported\": %lu, \"bitmaps\": %lu, "
        "\"dcs\": %lu, \"fonts\": %lu, \"brushes\": %lu, \"pens\": %lu, \"regions\": %lu, \"other_gdi\": %lu, "
        "\"windows\": %lu, \"menus\": %lu, \"icons\": %lu}%s\n",
        name, c.gdi, c.user, c.gdiReported, c.userReported, c.bitmaps, c.dcs, c.fonts, c.brushes, c.pens, c.regions,
        c.otherGdi, c.windows, c.menus, c.icons, last ? "" : ",");
}

// One bitmap, one menu and one icon, made and destroyed.
void MakeAndDestroyObjects(bench::GuiObjects* during) {
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    HMENU menu = CreatePopupMenu();
    HICON icon = CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)));
    if (during) *during = bench::CountGuiObjects();
    DestroyIcon(icon);
    DestroyMenu(menu);
    DeleteObject(bitmap);
}

// The probe must see a new bitmap, menu and icon, and their end, or its counts mean nothing.
// The first round loads the system's own icon and menu pictures, which stay.
bool ProbeSeesNewObjects() {
    MakeAndDestroyObjects(nullptr);
    const bench::GuiObjects before = bench::CountGuiObjects();
    bench::GuiObjects during;
    MakeAndDestroyObjects(&during);
    const bench::GuiObjects after = bench::CountGuiObjects();
    return during.bitmaps > before.bitmaps && during.menus == before.menus + 1 && during.icons == before.icons + 1 &&
           after.gdi == before.gdi && after.user == before.user;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: handles_bench FOLDER [first ticks] [total ticks]\n");
        return 2;
    }
    const std::string folder = Utf8(argv[1]);
    const int first = argc > 2 ? _wtoi(argv[2]) : 20;
    const int total = argc > 3 ? _wtoi(argv[3]) : 2000;
    if (first < 1 || total < first) return 2;
    const bool probeWorks = ProbeSeesNewObjects();

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    int exitCode = 1;
    {
        Win32FileSystem files;
        Win32AnsiCodec codec;
        RecordingLauncher launcher;
        Win32MemoryProbe memory;
        Win32ProcessCounter processes;
        Win32Clipboard clipboard;
        Win32Beeper beeper;
        Win32MessageBoxes messages;
        Win32Shell shell;
        MainWindow window(GetModuleHandleW(nullptr),
                          {files, codec, launcher, memory, processes, clipboard, beeper, messages, shell}, folder, {});
        if (window.Create()) {
            window.Load("");
            PumpMessages();
            Tick(window.Handle(), first);
            const bench::GuiObjects afterFirst = bench::CountGuiObjects();
            Tick(window.Handle(), total - first);
            const bench::GuiObjects afterAll = bench::CountGuiObjects();
            const kelvo::Form1& form = window.Form();
            std::printf("{\n  \"probe_works\": %s,\n", probeWorks ? "true" : "false");
            std::printf("  \"first_ticks\": %d,\n  \"total_ticks\": %d,\n  \"check1\": %d,\n  \"gauge_icon\": %d,\n"
                        "  \"cleans_started\": %d,\n",
                        first, total, form.Check1.value, form.op2.value ? 1 : 0, launcher.starts);
            Print("after_first", afterFirst, false);
            Print("after_all", afterAll, true);
            std::printf("}\n");
            std::fflush(stdout);
            exitCode = 0;
        }
    }
    return exitCode;
}
