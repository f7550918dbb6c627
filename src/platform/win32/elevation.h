// Whether this program holds the administrator's rights, and starting it again with them.
#pragma once

#include <string>

namespace varnic::win32 {

// Vista and later: the token is elevated. Windows XP has no elevation: there an
// administrator's account always holds the rights.
bool RunsElevated();

// Starts `program` through the shell's "runas" verb, which asks the user (UAC) for the
// administrator's rights. False when the user declined or the program could not start.
bool StartElevated(const std::string& program, const std::string& workingDirectory);

}  // namespace varnic::win32
