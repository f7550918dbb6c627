// The one place the windows make the fonts of their texts. Chinese texts are drawn in 宋体 (the
// about window's title in its own face); English ones in the system's message font, the face
// and size a user chose for dialog texts, scaled to the screen's DPI.
#pragma once

#include <windows.h>

#include "base/form_controls.h"
#include "base/language.h"
#include "platform/win32/handles.h"

namespace varnic::win32 {

// The font of `style` for texts in `language` on a screen of `dpi`.
GdiObject<HFONT> CreateTextFont(Language language, const FontStyle& style, int dpi);

}  // namespace varnic::win32
