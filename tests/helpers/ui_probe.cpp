// ui_probe.exe: looks at and drives the programs' windows for the end-to-end tests. Commands, separated by "--",
// each print "OK answer" or "ERR why" on a line (CR, LF, backslash escaped); the first that fails ends the probe
// (exit code 1). WINDOW is a caption or "class:NAME", ID a control's id (0: the window), MS a wait's end (20000).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/wide.h"

namespace {

using namespace varnic::win32;
using Args = std::vector<std::string>;

using Failure = std::runtime_error;  // what a command answers with ERR

std::wstring TextOf(HWND window) {
    wchar_t text[8192] = {};  // WM_GETTEXT works across processes for every control
    SendMessageTimeoutW(window, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

HWND Find(const std::string& name, const wchar_t* windowClass = nullptr) {
    const bool byClass = name.rfind("class:", 0) == 0;
    return FindWindowW(byClass ? Wide(name.substr(6)).c_str() : windowClass, byClass ? nullptr : Wide(name).c_str());
}

// The window of a.at(1), or its control a.at(2) when the command names one.
HWND Need(const Args& a, bool control = true) {
    HWND window = Find(a.at(1));
    if (!window) throw Failure("no window " + a.at(1));
    if (!control || a.size() < 3 || a[2] == "0") return window;
    HWND child = GetDlgItem(window, std::stoi(a[2]));
    if (!child) throw Failure("no control " + a[2]);
    return child;
}

// Polls `answer` until it gives a text (a missing window counts as not yet); fails with `why` after a[msAt] ms.
template <typename Answer>
std::string Until(const Args& a, std::size_t msAt, std::string why, Answer answer) {
    const DWORD ms = a.size() > msAt ? std::stoul(a[msAt]) : 20000, start = GetTickCount();
    for (;; Sleep(50)) {
        try {
            if (std::string found = answer(); !found.empty()) return found;
        } catch (const Failure& failure) {
            why = failure.what();
        }
        if (GetTickCount() - start > ms) throw Failure(why);
    }
}

std::string Run(const Args& a) {
    const std::string& verb = a.at(0);
    const auto checked = [&] { return std::to_string(SendMessageW(Need(a), BM_GETCHECK, 0, 0)); };
    if (verb == "wait-window") return Until(a, 2, "no window", [&] { return Find(a[1]) ? "found" : ""; });
    if (verb == "wait-visible") return Until(a, 2, "not visible", [&] { return IsWindowVisible(Find(a[1])) ? "1" : ""; });
    if (verb == "wait-gone") return Until(a, 2, "still there", [&] { return Find(a[1]) ? "" : "gone"; });
    if (verb == "visible") return IsWindowVisible(Need(a)) ? "1" : "0";
    if (verb == "enabled") return IsWindowEnabled(Need(a)) ? "1" : "0";
    if (verb == "checked") return checked();
    if (verb == "wait-checked") return Until(a, 4, "other state", [&] { return checked() == a.at(3) ? a[3] : ""; });
    if (verb == "text") return Utf8(TextOf(Need(a)));
    if (verb == "wait-text")
        return Until(a, 4, "other text", [&] { return Utf8(TextOf(Need(a))) == a.at(3) ? a[3] : ""; });
    if (verb == "wait-tooltip")  // TEXT [MS]: the text of any program's shown tooltip or balloon holding TEXT
        return Until(a, 2, "no tooltip shows it", [&] {
            for (HWND tip = nullptr; (tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr));)
                if (IsWindowVisible(tip) && Utf8(TextOf(tip)).find(a[1]) != std::string::npos) return Utf8(TextOf(tip));
            return std::string();
        });
    if (verb == "rect") {  // left top right bottom on the screen
        RECT r{};
        GetWindowRect(Need(a), &r);
        return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " + std::to_string(r.bottom);
    }
    // Sent without waiting (a click may open a modal box), yet in order with the others, unlike posted ones.
    const auto send = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* done) {
        SendNotifyMessageW(window, message, wParam, lParam);
        return std::string(done);
    };
    if (verb == "click") return send(Need(a), BM_CLICK, 0, 0, "clicked");
    if (verb == "command") return send(Need(a, false), WM_COMMAND, std::stoi(a.at(2)), 0, "sent");
    if (verb == "close") return send(Need(a), WM_CLOSE, 0, 0, "closed");
    if (verb == "focus") return SetForegroundWindow(Need(a)) ? "focused" : "not focused";
    if (verb == "select") {
        HWND combo = Need(a);
        send(combo, CB_SETCURSEL, std::stoi(a.at(3)), 0, "");
        return send(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(combo), "selected");
    }
    if (verb == "type") {  // characters, as a keyboard sends them, so the edit reports its changes
        HWND edit = Need(a);
        send(edit, EM_SETSEL, 0, -1, "");
        for (wchar_t c : Wide(a.at(3))) send(edit, WM_CHAR, c, 0, "");
        return "typed";
    }
    if (verb == "sync")
        return SendMessageTimeoutW(Need(a), WM_NULL, 0, 0, SMTO_NORMAL, 20000, nullptr) ? "synced" : throw Failure("busy");
    if (verb == "dialog") {  // CAPTION [MS]: a message box's text, OK pressed
        HWND box = nullptr;
        Until(a, 2, "no message box", [&] { return (box = Find(a[1], L"#32770")) ? "found" : ""; });
        const std::string text = Utf8(TextOf(GetDlgItem(box, 0xFFFF)));  // the box's text
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return text;
    }
    if (verb == "no-dialog") return Find(a.at(1), L"#32770") ? throw Failure("a message box is up") : "none";
    if (verb == "hotkey-free") {  // LETTER: 1 when another program may register Ctrl+LETTER
        const bool free = RegisterHotKey(nullptr, 0x7000, MOD_CONTROL, a.at(1).at(0));
        return free && UnregisterHotKey(nullptr, 0x7000) ? "1" : "0";
    }
    throw Failure("unknown command " + verb);
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<Args> commands(1);
    for (int i = 1; i < argc; ++i) {
        if (std::wstring(argv[i]) == L"--") commands.emplace_back();
        else commands.back().push_back(Utf8(argv[i]));
    }
    LocalFree(argv);
    for (const Args& command : commands) {
        std::string answer, status = "OK";
        try {
            if (command.empty()) continue;
            answer = Run(command);
        } catch (const std::exception& error) {
            answer = command[0] + ": " + error.what(), status = "ERR";
        }
        std::string line = status + " ";
        for (char c : answer) line += c == '\\' ? "\\\\" : c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        if (status == "ERR") return 1;
    }
    return 0;
}
