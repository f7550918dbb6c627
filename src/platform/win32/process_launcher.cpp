// Win32ProcessLauncher.
//
// The image is always named by its full path in lpApplicationName, and the command line is
// passed on unchanged as the program's arguments. With a bare name ("empty.exe  *") alone,
// CreateProcess would search the current folder, the system folders and PATH for empty.exe:
// a program planted in any of them under that name would run in our place. Naming the file
// in the installation folder leaves no search at all.
#include "platform/win32/process_launcher.h"

#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {

bool Win32ProcessLauncher::Start(const std::string& program, const std::string& commandLine, ShowWindow show) {
    if (program.empty()) return false;
    const std::wstring image = Wide(program);
    std::wstring line = Wide(commandLine);  // CreateProcessW may write into its command line
    line.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(image.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return false;
    UniqueHandle process(started.hProcess);  // not tracked: both handles go at once
    UniqueHandle thread(started.hThread);
    return true;
}

}  // namespace varnic::win32
