// 32-bit top-down device-independent bitmaps: the off-screen pictures the programs draw into
// and read back pixel by pixel (row 0 at the top, 0x00RRGGBB in memory order B, G, R, pad).
#pragma once

#include <windows.h>

namespace varnic::win32 {

// The format of such a bitmap of width x height, for CreateDIBSection and GetDIBits.
inline BITMAPINFO TopDownDibFormat(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A new DIB section of that format, or null; `bits` receives its pixels.
inline HBITMAP CreateTopDownDib(int width, int height, void** bits) {
    const BITMAPINFO info = TopDownDibFormat(width, height);
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace varnic::win32
