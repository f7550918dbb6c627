// The live GDI and USER objects of this process. Windows answers GetGuiResources; Wine 8
// answers 0 there, so the objects are also counted by probing every 16-bit handle value
// (Wine accepts a handle's low word in place of the whole handle): GDI objects by their
// type, USER objects as this process's windows, menus and icons or cursors. Wine numbers its
// USER handles 0x20, 0x22, 0x24...; the odd value after each names the same object, so only
// the even values are asked.
#pragma once

#include <windows.h>

namespace varnic::bench {

struct GuiObjects {
    DWORD gdiReported = 0;   // GetGuiResources
    DWORD userReported = 0;
    DWORD gdi = 0;           // probed
    DWORD bitmaps = 0, dcs = 0, fonts = 0, brushes = 0, pens = 0, regions = 0, otherGdi = 0;
    DWORD user = 0;          // probed: windows + menus + icons
    DWORD windows = 0, menus = 0, icons = 0;
};

inline GuiObjects CountGuiObjects() {
    GuiObjects counts;
    counts.gdiReported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    counts.userReported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (UINT_PTR value = 1; value <= 0xFFFF; ++value) {
        switch (GetObjectType(reinterpret_cast<HGDIOBJ>(value))) {
            case 0: continue;
            case OBJ_BITMAP: ++counts.bitmaps; break;
            case OBJ_DC: case OBJ_MEMDC: ++counts.dcs; break;
            case OBJ_FONT: ++counts.fonts; break;
            case OBJ_BRUSH: ++counts.brushes; break;
            case OBJ_PEN: case OBJ_EXTPEN: ++counts.pens; break;
            case OBJ_REGION: ++counts.regions; break;
            default: ++counts.otherGdi; break;
        }
        ++counts.gdi;
    }
    // Icons are recognised by drawing them onto a scratch DC made before the probe.
    HDC scratch = CreateCompatibleDC(nullptr);
    HBITMAP pixel = CreateCompatibleBitmap(scratch, 1, 1);
    HGDIOBJ previous = SelectObject(scratch, pixel);
    const DWORD self = GetCurrentProcessId();
    for (UINT_PTR value = 0x20; value <= 0xFFFF; value += 2) {
        HWND window = reinterpret_cast<HWND>(value);
        if (IsWindow(window)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            counts.windows += owner == self;
        } else if (IsMenu(reinterpret_cast<HMENU>(value))) {
            ++counts.menus;
        } else if (DrawIconEx(scratch, 0, 0, reinterpret_cast<HICON>(value), 1, 1, 0, nullptr, DI_NORMAL)) {
            ++counts.icons;
        }
    }
    SelectObject(scratch, previous);
    DeleteObject(pixel);
    DeleteDC(scratch);
    counts.user = counts.windows + counts.menus + counts.icons;
    return counts;
}

}  // namespace varnic::bench
