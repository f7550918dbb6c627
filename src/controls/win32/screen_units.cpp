#include "controls/win32/screen_units.h"

#include "platform/win32/handles.h"

namespace varnic::win32 {

int ScreenDpi() {
    WindowDc screen(nullptr);
    const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

}  // namespace varnic::win32
