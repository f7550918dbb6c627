#include "updater/win32/own_version.h"

#include <windows.h>

#include <cstring>

namespace varnic::win32 {

std::string OwnVersion() {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const auto* block = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    const DWORD size = block ? SizeofResource(nullptr, found) : 0;
    // The fixed part follows the block's header and name, aligned to 4 bytes; it opens with
    // its signature.
    for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
        VS_FIXEDFILEINFO fixed;
        std::memcpy(&fixed, block + at, sizeof fixed);
        if (fixed.dwSignature == 0xFEEF04BD)
            return std::to_string(HIWORD(fixed.dwFileVersionMS)) + "." + std::to_string(LOWORD(fixed.dwFileVersionMS));
    }
    return "0";
}

}  // namespace varnic::win32
