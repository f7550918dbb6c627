#include "platform/win32/elevation.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {
namespace {

constexpr auto kTokenElevation = static_cast<TOKEN_INFORMATION_CLASS>(20);  // Vista and later

bool InAdministratorsGroup() {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &administrators))
        return false;
    BOOL member = FALSE;
    if (!CheckTokenMembership(nullptr, administrators, &member)) member = FALSE;
    FreeSid(administrators);
    return member != FALSE;
}

}  // namespace

bool RunsElevated() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return false;
    UniqueHandle token(raw);
    DWORD elevated = 0, size = 0;
    if (GetTokenInformation(token.Get(), kTokenElevation, &elevated, sizeof elevated, &size)) return elevated != 0;
    return GetLastError() == ERROR_INVALID_PARAMETER && InAdministratorsGroup();  // XP knows no such class
}

bool StartElevated(const std::string& program, const std::string& workingDirectory) {
    const std::wstring file = Wide(program), folder = Wide(workingDirectory);
    SHELLEXECUTEINFOW run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS;
    run.lpVerb = L"runas";
    run.lpFile = file.c_str();
    run.lpDirectory = folder.c_str();
    run.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&run)) return false;
    UniqueHandle process(run.hProcess);
    return true;
}

}  // namespace varnic::win32
