// The screen's DPI, read once per window, and the conversions from the twips the forms place
// their controls in to the pixels of a screen of that DPI.
#pragma once

#include <windows.h>

#include "base/form_controls.h"

namespace varnic::win32 {

// The screen's logical pixels per inch (96 when it cannot be read).
int ScreenDpi();

inline int Pixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

// Each edge converted on its own, so that neighbouring controls stay flush.
inline RECT RectInPixels(const TwipsRect& place, int dpi) {
    return RECT{Pixels(place.left, dpi), Pixels(place.top, dpi), Pixels(place.left + place.width, dpi),
                Pixels(place.top + place.height, dpi)};
}

}  // namespace varnic::win32
