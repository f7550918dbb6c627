// Stand-in for empty.exe, tarnel.exe or kelvo.exe: appends "<own file name> TAB <command line, UTF-8> TAB
// <wShowWindow, or -1 without STARTF_USESHOWWINDOW> CR LF" to "calls.log" beside itself. Events named in the
// environment: VARNIC_RECORDER_GATE, awaited after logging (30 s, else exit code 3); VARNIC_RECORDER_DONE, set last.
#include <windows.h>

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace {

using namespace varnic::win32;

UniqueHandle EventNamedBy(const wchar_t* variable, DWORD access) {
    wchar_t name[512];
    const DWORD length = GetEnvironmentVariableW(variable, name, 512);
    return UniqueHandle(length > 0 && length < 512 ? OpenEventW(access, FALSE, name) : nullptr);
}

}  // namespace

int main() {
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);  // fills the whole record
    wchar_t self[MAX_PATH];
    const std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
    const std::string line = Utf8(path.substr(path.find_last_of(L"\\/") + 1)) + "\t" + Utf8(GetCommandLineW()) +
                             "\t" + std::to_string(show) + "\r\n";
    {  // appended with full sharing, so that two quick starts both land
        UniqueFile log(CreateFileW((Wide(ApplicationDirectory()) + L"\\calls.log").c_str(), FILE_APPEND_DATA,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        WriteFile(log.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    int exitCode = 0;
    if (UniqueHandle gate = EventNamedBy(L"VARNIC_RECORDER_GATE", SYNCHRONIZE))
        exitCode = WaitForSingleObject(gate.Get(), 30000) == WAIT_OBJECT_0 ? 0 : 3;
    if (UniqueHandle done = EventNamedBy(L"VARNIC_RECORDER_DONE", EVENT_MODIFY_STATE)) SetEvent(done.Get());
    return exitCode;
}
