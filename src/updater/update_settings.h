// "\Upsetting.ini": the main update server, four lines (version file address, its local
// path, program file address, its local path). The local paths are names inside the
// installation folder; a path that would leave it is refused.
#pragma once

#include <string>

namespace varnic {

inline constexpr char kUpdateSettingsFile[] = "\\Upsetting.ini";
inline constexpr char kUpdateSettingsMissing[] = "加载在线更新配置文件错误！请恢复此文件或重新安装程序！";

// True for a backslash-led name of a file inside the installation folder ("\kelvo.exe",
// "\temp\vr.ini"). False for anything that could reach elsewhere or is no file name: empty,
// "..", ".", a drive or stream colon, a forward slash, a UNC or doubled backslash, wildcards,
// control characters, device names (CON, NUL, COM1...).
bool IsInsideInstallFolder(const std::string& relativePath);

// The message shown when line `lineNumber` (2 or 4) is refused.
std::string OutsidePathMessage(int lineNumber, const std::string& line);

// Shown when a transfer is asked for without a usable local path.
inline constexpr char kNoLocalPath[] =
    "没有可用的保存位置：请检查 \\Upsetting.ini 或改用“备用服务器”";

}  // namespace varnic
