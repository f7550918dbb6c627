// One way for a window to build its plain controls (labels, check and option boxes, edits,
// combo boxes, group boxes): a row per control names its class, style, id, place and text, and
// the window creates them from its table of rows. Image buttons come from ImageButtonGroup.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/form_controls.h"

namespace varnic::win32 {

struct ControlRow {
    const wchar_t* windowClass;
    DWORD style;  // WS_CHILD is added
    int id;
    TwipsRect place;
    std::string_view text;
    DWORD exStyle = 0;
};

// The control of `row` in `parent`, in `font`, at `pixels` (or at its place on a screen of `dpi`).
HWND CreateControl(HWND parent, const ControlRow& row, const RECT& pixels, HFONT font);
HWND CreateControl(HWND parent, const ControlRow& row, int dpi, HFONT font);

// A control's text, as UTF-8.
std::string TextOf(HWND control);

}  // namespace varnic::win32
