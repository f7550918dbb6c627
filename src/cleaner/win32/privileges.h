// Privileges of this process's token.
#pragma once

#include <string_view>

namespace varnic::win32 {

// Turns the named privilege (e.g. "SeDebugPrivilege") on in this process's token. False when
// the account does not hold it; nothing else changes then.
bool EnablePrivilege(std::string_view name);

}  // namespace varnic::win32
