// The version files: "\vr.ini" (installed) and "\temp\vr.ini" (the server's, as last
// downloaded). Section Ver holds Ver, the version text, and optionally Size and Sha256, which
// the downloaded program must match before it replaces the installed one.
#pragma once

#include <string>

#include "base/ports.h"
#include "updater/download.h"

namespace varnic {

inline constexpr char kInstalledVersionFile[] = "\\vr.ini";
inline constexpr char kLatestVersionFile[] = "\\temp\\vr.ini";
inline constexpr std::size_t kVersionTextLimit = 49;

// Section Ver, key Ver, at most 49 bytes of the file's code page; "0" when the file, the
// section or the key is missing.
std::string ReadVersionText(FileSystem& files, AnsiCodec& codec, const std::string& path);

// Size and Sha256 of section Ver; a value that is not a number or not 64 hex digits is kept
// as a check that nothing passes, so a damaged version file never lets a program through.
ContentCheck ReadProgramCheck(FileSystem& files, const std::string& path);

}  // namespace varnic
