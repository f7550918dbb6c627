// Names of the files and programs in the installation folder. Every name begins with a
// backslash and is appended to the folder as it stands.
#pragma once

#include <string>

namespace varnic {

inline constexpr const char* kApplicationTitle = "Varnic";

inline std::string AppFile(const std::string& appDir, const char* backslashName) { return appDir + backslashName; }

}  // namespace varnic
