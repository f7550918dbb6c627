// Turning privileges on through AdjustTokenPrivileges.
#include "cleaner/win32/privileges.h"

#include <windows.h>

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {

bool EnablePrivilege(std::string_view name) {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return false;
    UniqueHandle token(raw);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, Wide(std::string(name)).c_str(), &privileges.Privileges[0].Luid)) return false;
    // Succeeds even when the account lacks the privilege; only the last error
    // (ERROR_NOT_ALL_ASSIGNED) tells.
    if (!AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr)) return false;
    return GetLastError() == ERROR_SUCCESS;
}

}  // namespace varnic::win32
