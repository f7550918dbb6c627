// Texts of the system's ANSI code page (GBK on Chinese systems) to UTF-8 and back, and the
// ANSI code of a character as the hotkey letter needs it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/ports.h"

namespace varnic::win32 {

class Win32AnsiCodec final : public AnsiCodec {
public:
    std::string ToUtf8(const std::string& ansi) override;
    std::string FromUtf8(const std::string& utf8) override;
};

// The ANSI code of the first character of a UTF-8 text, as Basic's Asc gives it: a single
// byte as 0..255; a double-byte character of a DBCS code page as (lead << 8 | trail) taken
// as a signed 16-bit value, hence negative. Nullopt for an empty text. A character the code
// page lacks becomes the code page's default character ('?').
std::optional<std::int16_t> AnsiCode(const std::string& utf8);

}  // namespace varnic::win32
