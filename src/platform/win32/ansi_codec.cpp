// Win32AnsiCodec: CP_ACP <-> UTF-16 <-> UTF-8 with MultiByteToWideChar/WideCharToMultiByte.
#include "platform/win32/ansi_codec.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace varnic::win32 {
namespace {

std::wstring FromAnsi(const std::string& ansi) {
    if (ansi.empty()) return {};
    int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    return wide;
}

std::string ToAnsi(const std::wstring& wide) {
    if (wide.empty()) return {};
    int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), length, nullptr, nullptr);
    return ansi;
}

// The first character of a UTF-16 text: one unit, or two for a surrogate pair.
std::wstring FirstCharacter(const std::wstring& wide) {
    std::size_t units = 1;
    if (wide.size() >= 2 && IS_HIGH_SURROGATE(wide[0]) && IS_LOW_SURROGATE(wide[1])) units = 2;
    return wide.substr(0, units);
}

}  // namespace

std::string Win32AnsiCodec::ToUtf8(const std::string& ansi) { return Utf8(FromAnsi(ansi)); }

std::string Win32AnsiCodec::FromUtf8(const std::string& utf8) { return ToAnsi(Wide(utf8)); }

std::optional<std::int16_t> AnsiCode(const std::string& utf8) {
    std::wstring wide = Wide(utf8);
    if (wide.empty()) return std::nullopt;
    std::string ansi = ToAnsi(FirstCharacter(wide));
    if (ansi.empty()) return std::nullopt;
    auto byte = [&](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(ansi[i])); };
    if (ansi.size() == 1) return static_cast<std::int16_t>(byte(0));
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((byte(0) << 8) | byte(1)));
}

}  // namespace varnic::win32
