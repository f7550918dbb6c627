// Stand-in for empty.exe, tarnel.exe or kelvo.exe in tests: copied under that name, it
// appends one line to "calls.log" in its own folder and ends at once with exit code 0:
//   <own exe file name> TAB <whole command line, UTF-8> TAB <show value or -1> CR LF
// The show value is wShowWindow from the start-up information when STARTF_USESHOWWINDOW is
// set, else -1.
//
// Two switches for tests that need to follow the run, taken from the environment so the
// command line stays exactly as the caller gave it:
//   VARNIC_RECORDER_GATE  name of an event to wait for (at most 30 s) after logging; when the
//                         wait times out the exit code is 3;
//   VARNIC_RECORDER_DONE  name of an event to set just before exiting.
#include <windows.h>

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace {

using namespace varnic::win32;

std::wstring Environment(const wchar_t* name) {
    wchar_t value[512];
    DWORD length = GetEnvironmentVariableW(name, value, 512);
    return (length == 0 || length >= 512) ? std::wstring() : std::wstring(value, length);
}

std::string OwnFileName() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring self(path, length);
    return Utf8(self.substr(self.find_last_of(L"\\/") + 1));
}

// Opened for appending with full sharing, so two quick starts both land; a reader that
// holds the file without sharing delays the open a little.
UniqueFile OpenLog() {
    const std::wstring log = Wide(ApplicationDirectory()) + L"\\calls.log";
    for (int attempt = 0; attempt < 100; ++attempt) {
        UniqueFile file(CreateFileW(log.c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file || GetLastError() != ERROR_SHARING_VIOLATION) return file;
        Sleep(20);
    }
    return UniqueFile();
}

}  // namespace

int main() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;

    const std::string line = OwnFileName() + "\t" + Utf8(GetCommandLineW()) + "\t" + std::to_string(show) + "\r\n";
    UniqueFile log = OpenLog();
    DWORD written = 0;
    if (log) WriteFile(log.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    log.Reset();

    int exitCode = 0;
    if (std::wstring gate = Environment(L"VARNIC_RECORDER_GATE"); !gate.empty()) {
        UniqueHandle event(OpenEventW(SYNCHRONIZE, FALSE, gate.c_str()));
        if (!event || WaitForSingleObject(event.Get(), 30000) != WAIT_OBJECT_0) exitCode = 3;
    }
    if (std::wstring done = Environment(L"VARNIC_RECORDER_DONE"); !done.empty()) {
        UniqueHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, done.c_str()));
        if (event) SetEvent(event.Get());
    }
    return exitCode;
}
