// tarnel.exe, the online updater: wires the Win32 ports and the updater window to the
// UpdaterForm model and runs the message loop until the window closes. Updates are trusted
// only when signed by the built-in release key; nothing at run time can name another key.
// Nothing older than the program's own version (its version resource) is ever offered.
#include <windows.h>
#include <commctrl.h>

#include "platform/win32/ansi_codec.h"
#include "platform/win32/display_language.h"
#include "platform/win32/files.h"
#include "platform/win32/message_boxes.h"
#include "platform/win32/process_launcher.h"
#include "platform/win32/wide.h"
#include "resource.h"
#include "updater/release_key.h"
#include "updater/updater_form.h"
#include "updater/win32/cryptoapi_sha256.h"
#include "updater/win32/cryptoapi_signature_verifier.h"
#include "updater/win32/updater_window.h"
#include "updater/win32/win32_download_files.h"
#include "updater/win32/own_version.h"
#include "updater/win32/performance_clock.h"
#include "updater/win32/wininet_session.h"

namespace {

int Run(HINSTANCE instance, int showCommand) {
    using namespace varnic;
    using namespace varnic::win32;

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    Win32FileSystem files;
    Win32AnsiCodec codec;
    Win32ProcessLauncher launcher;
    Win32MessageBoxes messages;
    WinInetSession http;
    Win32DownloadFiles downloads;
    CryptoApiSha256Factory sha256;
    CryptoApiSignatureVerifier releaseKey(kReleasePublicKey, sizeof kReleasePublicKey);
    PerformanceClock clock;
    const std::string directory = ApplicationDirectory();
    UpdaterForm form(UpdaterPorts{files, codec, launcher, messages, http, downloads, sha256, releaseKey, clock},
                     directory, OwnVersion(), ProgramLanguage(directory));
    UpdaterWindow window(instance, form, messages, UpdaterIcons{IDI_TARNEL, IDI_CHECK, IDI_DOWNLOAD, IDI_EXIT});
    if (!window.Create(showCommand)) return 1;

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    try {
        return Run(instance, showCommand);
    } catch (...) {
        return 1;
    }
}
