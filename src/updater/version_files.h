// The version files: "\vr.ini" (installed) and "\temp\vr.ini" (the server's, as last
// downloaded). Section Ver holds Ver, the version text; the server's file also carries the
// program's Size and Sha256 and the release key's Signature over them (signed_update.h).
#pragma once

#include <cstdint>
#include <string>

#include "base/ports.h"

namespace varnic {

inline constexpr char kInstalledVersionFile[] = "\\vr.ini";
inline constexpr char kLatestVersionFile[] = "\\temp\\vr.ini";
inline constexpr std::size_t kVersionTextLimit = 49;
// The most a server's version file may hold: a few lines, far below this.
inline constexpr std::int64_t kVersionFileLimit = 64 * 1024;

// Section Ver, key Ver, at most 49 bytes of the file's code page; "0" when the file, the
// section or the key is missing.
std::string ReadVersionText(FileSystem& files, AnsiCodec& codec, const std::string& path);

}  // namespace varnic
