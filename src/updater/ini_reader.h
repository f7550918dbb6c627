// One value of an INI file, found the way the system's private-profile reader finds it:
// section and key names match without regard to case, the first matching section and key
// win, blanks around names and values are dropped, and a value wrapped in matching quotes
// loses them. Lines end with CR LF, LF or CR; lines starting with ';' are comments.
#pragma once

#include <optional>
#include <string>

namespace varnic {

std::optional<std::string> ReadIniValue(const std::string& bytes, const std::string& section,
                                        const std::string& key);

}  // namespace varnic
