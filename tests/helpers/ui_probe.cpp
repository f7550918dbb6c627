// ui_probe.exe: looks at and drives the programs' windows for the end-to-end tests, from inside
// the same Wine prefix. Several commands may be given at once, separated by "--"; each prints
// one line of UTF-8 and the probe stops with exit code 1 at the first that fails. A CAPTION
// written as "class:NAME" finds the window by its class instead (for windows without caption).
//
//   wait-window CAPTION [ms]        wait until a top-level window with that caption exists
//   wait-visible CAPTION [ms]       wait until such a window exists and is visible
//   wait-gone CAPTION [ms]          wait until no such window exists
//   visible CAPTION                 1 or 0
//   visible-child CAPTION ID        1 or 0 for a child control
//   checked CAPTION ID              the check state of a check box or option button (0, 1)
//   rect CAPTION                    the window's screen rectangle: left top right bottom
//   text CAPTION ID                 the text of the child control with that id
//   wait-text CAPTION ID TEXT [ms]  wait until the control shows TEXT
//   click CAPTION ID                post BM_CLICK to the child button with that id
//   command CAPTION ID              post WM_COMMAND ID to the window (menu entries)
//   select CAPTION ID INDEX         select a combo box entry as a user would
//   type CAPTION ID TEXT            replace an edit control's text by typing TEXT into it
//   client-size CAPTION             width and height of the client area in pixels
//   style CAPTION                   the window's style and extended style in hex
//   dialog CAPTION [ms]             wait for a message box with that caption, print its text, press OK
//   no-dialog CAPTION MS            succeed when no such message box appears within MS
//   close CAPTION                   post WM_CLOSE
//   sync CAPTION                    wait until the window has handled every message sent to it so far
//   memory                          total and available physical memory in bytes, and the load
//   focus CAPTION                   bring the window to the foreground
//   clip-set TEXT                   put text on the clipboard
//   clip-formats                    how many formats the clipboard holds
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& utf8) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, w.data(), n);
    w.resize(static_cast<std::size_t>(n > 0 ? n - 1 : 0));
    return w;
}

std::string Utf8(const std::wstring& wide) {
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, s.data(), n, nullptr, nullptr);
    s.resize(static_cast<std::size_t>(n > 0 ? n - 1 : 0));
    return s;
}

std::wstring TextOf(HWND window) {
    wchar_t buffer[8192] = {};
    // WM_GETTEXT works across processes for every control, unlike GetWindowText.
    SendMessageTimeoutW(window, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
    return buffer;
}

struct Search {
    std::wstring caption;
    const wchar_t* windowClass;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    wchar_t className[256] = {};
    GetClassNameW(window, className, 256);
    if (search->windowClass && wcscmp(className, search->windowClass) != 0) return TRUE;
    const bool byClass = search->caption.rfind(L"class:", 0) == 0;
    if (byClass ? search->caption.substr(6) == className : TextOf(window) == search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindWindowByCaption(const std::string& caption, const wchar_t* windowClass = nullptr) {
    Search search{Wide(caption), windowClass, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitWindow(const std::string& caption, DWORD ms, const wchar_t* windowClass = nullptr) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = FindWindowByCaption(caption, windowClass)) return window;
        if (GetTickCount() - start > ms) return nullptr;
        Sleep(100);
    }
}

struct Failure {
    std::string why;
};

HWND Need(const std::string& caption) {
    HWND window = FindWindowByCaption(caption);
    if (!window) throw Failure{"no window " + caption};
    return window;
}

HWND NeedChild(const std::string& caption, const std::string& id) {
    HWND child = GetDlgItem(Need(caption), std::stoi(id));
    if (!child) throw Failure{"no control " + id};
    return child;
}

DWORD Ms(const std::vector<std::string>& args, std::size_t index, DWORD fallback) {
    return args.size() > index ? static_cast<DWORD>(std::stoul(args[index])) : fallback;
}

BOOL CALLBACK FindStatic(HWND child, LPARAM lParam) {
    wchar_t className[64] = {};
    GetClassNameW(child, className, 64);
    if (_wcsicmp(className, L"Static") == 0 && GetWindowTextLengthW(child) > 0) {
        *reinterpret_cast<std::wstring*>(lParam) += TextOf(child);
        return FALSE;
    }
    return TRUE;
}

std::string Run(const std::vector<std::string>& a) {
    const std::string& verb = a.at(0);
    if (verb == "wait-window") {
        if (!WaitWindow(a.at(1), Ms(a, 2, 20000))) throw Failure{"timed out"};
        return "found";
    }
    if (verb == "wait-visible") {
        const DWORD start = GetTickCount();
        for (;;) {
            HWND window = FindWindowByCaption(a.at(1));
            if (window && IsWindowVisible(window)) return "visible";
            if (GetTickCount() - start > Ms(a, 2, 20000)) throw Failure{"not visible"};
            Sleep(100);
        }
    }
    if (verb == "wait-gone") {
        const DWORD start = GetTickCount();
        while (FindWindowByCaption(a.at(1)))
            if (GetTickCount() - start > Ms(a, 2, 20000)) throw Failure{"still there"};
            else Sleep(100);
        return "gone";
    }
    if (verb == "visible") return IsWindowVisible(Need(a.at(1))) ? "1" : "0";
    if (verb == "visible-child") return IsWindowVisible(NeedChild(a.at(1), a.at(2))) ? "1" : "0";
    if (verb == "checked")
        return std::to_string(SendMessageW(NeedChild(a.at(1), a.at(2)), BM_GETCHECK, 0, 0));
    if (verb == "rect") {
        RECT r{};
        GetWindowRect(Need(a.at(1)), &r);
        return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
               std::to_string(r.bottom);
    }
    if (verb == "text") return Utf8(TextOf(NeedChild(a.at(1), a.at(2))));
    if (verb == "wait-text") {
        const DWORD start = GetTickCount();
        for (;;) {
            std::string now = Utf8(TextOf(NeedChild(a.at(1), a.at(2))));
            if (now == a.at(3)) return now;
            if (GetTickCount() - start > Ms(a, 4, 20000)) throw Failure{"text is " + now};
            Sleep(100);
        }
    }
    if (verb == "click") {
        // Sent without waiting (a click may open a modal box), yet in order with the other
        // commands' messages, which a posted message would not be.
        SendNotifyMessageW(NeedChild(a.at(1), a.at(2)), BM_CLICK, 0, 0);
        return "clicked";
    }
    if (verb == "command") {
        SendNotifyMessageW(Need(a.at(1)), WM_COMMAND, static_cast<WPARAM>(std::stoi(a.at(2))), 0);
        return "sent";
    }
    if (verb == "select") {
        HWND combo = NeedChild(a.at(1), a.at(2));
        SendNotifyMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(std::stoi(a.at(3))), 0);
        SendNotifyMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                           reinterpret_cast<LPARAM>(combo));
        return "selected";
    }
    if (verb == "type") {
        // Characters, as a keyboard would send them, so the edit raises its change notices.
        HWND edit = NeedChild(a.at(1), a.at(2));
        SendNotifyMessageW(edit, EM_SETSEL, 0, -1);
        std::wstring text = Wide(a.at(3));
        if (text.empty()) SendNotifyMessageW(edit, WM_CHAR, VK_BACK, 0);
        for (wchar_t c : text) SendNotifyMessageW(edit, WM_CHAR, c, 0);
        return "typed";
    }
    if (verb == "client-size") {
        RECT r{};
        GetClientRect(Need(a.at(1)), &r);
        return std::to_string(r.right) + " " + std::to_string(r.bottom);
    }
    if (verb == "style") {
        HWND window = Need(a.at(1));
        char line[64];
        std::snprintf(line, sizeof line, "%08lx %08lx", static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
                      static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)));
        return line;
    }
    if (verb == "dialog") {
        HWND box = WaitWindow(a.at(1), Ms(a, 2, 20000), L"#32770");
        if (!box) throw Failure{"no message box"};
        std::wstring text;
        EnumChildWindows(box, FindStatic, reinterpret_cast<LPARAM>(&text));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return Utf8(text);
    }
    if (verb == "no-dialog") {
        if (WaitWindow(a.at(1), Ms(a, 2, 2000), L"#32770")) throw Failure{"a message box appeared"};
        return "none";
    }
    if (verb == "sync") {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(Need(a.at(1)), WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result)) throw Failure{"busy"};
        return "synced";
    }
    if (verb == "close") {
        SendNotifyMessageW(Need(a.at(1)), WM_CLOSE, 0, 0);
        return "closed";
    }
    if (verb == "memory") {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof status;
        GlobalMemoryStatusEx(&status);
        return std::to_string(status.ullTotalPhys) + " " + std::to_string(status.ullAvailPhys) + " " +
               std::to_string(status.dwMemoryLoad);
    }
    if (verb == "focus") {
        HWND window = Need(a.at(1));
        SetForegroundWindow(window);
        return "focused";
    }
    if (verb == "clip-set") {
        if (!OpenClipboard(nullptr)) throw Failure{"clipboard busy"};
        EmptyClipboard();
        std::wstring text = Wide(a.at(1));
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
        return "set";
    }
    if (verb == "clip-formats") return std::to_string(CountClipboardFormats());
    throw Failure{"unknown command " + verb};
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::vector<std::string>> commands(1);
    for (int i = 1; i < argc; ++i) {
        std::string arg = Utf8(argv[i]);
        if (arg == "--")
            commands.emplace_back();
        else
            commands.back().push_back(arg);
    }
    LocalFree(argv);
    for (const auto& command : commands) {
        if (command.empty()) continue;
        try {
            std::printf("OK %s\n", Run(command).c_str());
        } catch (const Failure& failure) {
            std::printf("ERR %s: %s\n", command[0].c_str(), failure.why.c_str());
            return 1;
        } catch (const std::exception& error) {
            std::printf("ERR %s: %s\n", command[0].c_str(), error.what());
            return 1;
        }
        std::fflush(stdout);
    }
    return 0;
}
