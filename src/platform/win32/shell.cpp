// Win32Shell: ShellExecuteW; what it answers is not reported to anyone.
#include "platform/win32/shell.h"

#include <shellapi.h>

#include "platform/win32/wide.h"

namespace varnic::win32 {

void Win32Shell::Open(const std::string& target, const std::string& workingDirectory) {
    const std::wstring folder = Wide(workingDirectory);
    ShellExecuteW(owner_, L"Open", Wide(target).c_str(), L"", folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
}

}  // namespace varnic::win32
