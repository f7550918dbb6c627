#include "controls/win32/control_kit.h"

#include "controls/win32/screen_units.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {

HWND CreateControl(HWND parent, const ControlRow& row, const RECT& pixels, HFONT font) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    HWND control = CreateWindowExW(row.exStyle, row.windowClass, Wide(std::string(row.text)).c_str(), WS_CHILD | row.style,
                                   pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top,
                                   parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance, nullptr);
    if (control && font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

HWND CreateControl(HWND parent, const ControlRow& row, int dpi, HFONT font) {
    return CreateControl(parent, row, RectInPixels(row.place, dpi), font);
}

std::string TextOf(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return Utf8(text);
}

}  // namespace varnic::win32
