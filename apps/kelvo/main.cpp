// kelvo.exe: the memory monitor and cleaner. Builds the Win32 ports, the main window and its
// secondary windows, runs start-up and the message loop.
#include <windows.h>
#include <commctrl.h>

#include "about/win32/about_window.h"
#include "base/command_line.h"
#include "monitor/win32/main_window.h"
#include "platform/win32/ansi_codec.h"
#include "platform/win32/beeper.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/display_language.h"
#include "platform/win32/files.h"
#include "platform/win32/memory_probe.h"
#include "platform/win32/process_counter.h"
#include "platform/win32/process_launcher.h"
#include "platform/win32/wide.h"
#include "rules/win32/rule_editor_window.h"

namespace {

std::string ModulePath() {
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    return varnic::win32::Utf8(path);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    using namespace varnic::win32;
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
    const std::string appDir = ApplicationDirectory();
    const varnic::Language language = ProgramLanguage(appDir);
    SecondaryWindows secondary;
    secondary.showRuleEditor = [instance, appDir, language](HICON icon, std::function<void()> checkState) {
        RuleEditorWindow::Show(instance, icon, appDir, std::move(checkState), nullptr, language);
    };
    secondary.showAbout = [instance, appDir, language] { AboutWindow::Show(instance, appDir, nullptr, language); };

    int exitCode = 1;
    {
        MainWindow window(instance, {files, codec, launcher, memory, processes, clipboard, beeper, messages, shell},
                          appDir, secondary, language);
        if (window.Create()) {
            window.Load(varnic::ArgumentString(Utf8(GetCommandLineW()), ModulePath()));
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                // Tab and the arrow keys move between the controls of whichever window is active.
                HWND active = GetActiveWindow();
                if (active && IsDialogMessageW(active, &message)) continue;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            exitCode = static_cast<int>(message.wParam);
        }
    }
    return exitCode;
}
