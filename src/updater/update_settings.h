// "\Upsetting.ini": the main update server, four lines (version file address, its local
// path, program file address, its local path). The local paths are names inside the
// installation folder; a path that would leave it is refused.
#pragma once

#include <string>

namespace varnic {

inline constexpr char kUpdateSettingsFile[] = "\\Upsetting.ini";

// True for a backslash-led name of a file inside the installation folder ("\kelvo.exe",
// "\temp\vr.ini"). False for anything that could reach elsewhere or is no file name: empty,
// "..", ".", a drive or stream colon, a forward slash, a UNC or doubled backslash, wildcards,
// control characters, device names (CON, NUL, COM1...).
bool IsInsideInstallFolder(const std::string& relativePath);

}  // namespace varnic
