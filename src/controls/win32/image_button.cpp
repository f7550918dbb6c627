// ImageButton: an owner-drawn BUTTON with a picture and a caption.
#include "controls/win32/image_button.h"

#include <algorithm>
#include <utility>

namespace varnic::win32 {
namespace {

COLORREF Blend(COLORREF from, COLORREF to, int step, int steps) {
    if (steps <= 1) return from;
    auto mix = [&](int a, int b) { return a + (b - a) * step / (steps - 1); };
    return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
               mix(GetBValue(from), GetBValue(to)));
}

// A vertical gradient, row by row; an opaque empty text fills a row without making a brush.
void FillGradient(HDC dc, const RECT& area, COLORREF top, COLORREF bottom) {
    const int rows = area.bottom - area.top;
    for (int row = 0; row < rows; ++row) {
        const RECT line{area.left, area.top + row, area.right, area.top + row + 1};
        SetBkColor(dc, Blend(top, bottom, row, rows));
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &line, L"", 0, nullptr);
    }
}

int Margin(int buttonHeight) { return std::max(3, buttonHeight / 10); }

int IconSize(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    const int size = bitmap.bmWidth;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return size;
}

}  // namespace

ImageButton::ImageButton(HWND parent, int id, const RECT& pixels, const std::wstring& caption, UniqueIcon picture,
                         HFONT font)
    : id_(id) {
    auto* instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    window_ = CreateWindowExW(0, L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW,
                              pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (window_ && font) SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        buttonProcedure_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ImageButton::Guard)));
    }
    SetPicture(std::move(picture));
}

ImageButton::~ImageButton() {
    if (window_ && buttonProcedure_) {
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buttonProcedure_));
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    }
}

// Some systems (Wine among them) let BM_CLICK press a disabled button; a disabled button
// must raise nothing, whoever sends the click.
LRESULT CALLBACK ImageButton::Guard(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<ImageButton*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    const WNDPROC original = self->buttonProcedure_;
    if (message == BM_CLICK && !IsWindowEnabled(window)) return 0;
    if (message == WM_NCDESTROY) {
        // The window goes before the object: forget it, so the destructor leaves it alone.
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
    return CallWindowProcW(original, window, message, wParam, lParam);
}

void ImageButton::Enable(bool enabled) {
    if (window_) EnableWindow(window_, enabled ? TRUE : FALSE);
}

bool ImageButton::IsEnabled() const { return window_ && IsWindowEnabled(window_); }

void ImageButton::SetCaption(const std::wstring& caption) {
    if (window_) SetWindowTextW(window_, caption.c_str());
}

void ImageButton::SetPicture(UniqueIcon picture) {
    pictureSize_ = IconSize(picture.Get());
    picture_ = std::move(picture);
    if (window_) InvalidateRect(window_, nullptr, FALSE);
}

int ImageButton::PictureSide(int buttonHeight, int pictureSize) {
    const int room = std::max(0, buttonHeight - 2 * Margin(buttonHeight));
    return pictureSize > 0 ? std::min(room, pictureSize) : room;
}

void ImageButton::Draw(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    const RECT& area = item.rcItem;
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;
    const int height = area.bottom - area.top;
    const int shift = pressed ? 1 : 0;
    const int saved = SaveDC(dc);

    if (pressed)
        FillGradient(dc, area, RGB(208, 218, 238), RGB(236, 241, 250));
    else
        FillGradient(dc, area, RGB(255, 255, 255), RGB(218, 227, 244));
    RECT edge = area;
    DrawEdge(dc, &edge, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    wchar_t text[256] = L"";
    const int length = GetWindowTextW(item.hwndItem, text, 256);
    const int margin = Margin(height);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    if (font) SelectObject(dc, font);
    // The caption comes first: a picture that would crowd it out is drawn smaller, or left out.
    int side = picture_ ? PictureSide(height, pictureSize_) : 0;
    if (picture_ && length > 0) {
        RECT measure{0, 0, 0, 0};
        DrawTextW(dc, text, length, &measure, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
        const int room = (area.right - area.left) - (measure.right - measure.left) - 3 * margin - 2;
        if (room < side) side = room >= 12 ? room : 0;
    }
    int textLeft = area.left + margin;
    if (side > 0) {
        const int x = length > 0 ? area.left + margin + 2 : area.left + (area.right - area.left - side) / 2;
        const int y = area.top + (height - side) / 2;
        if (disabled)
            DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(picture_.Get()), 0, x + shift, y + shift, side,
                       side, DST_ICON | DSS_DISABLED);
        else
            DrawIconEx(dc, x + shift, y + shift, picture_.Get(), side, side, 0, nullptr, DI_NORMAL);
        textLeft = x + side + margin;
    }
    if (length > 0) {
        RECT box{textLeft, area.top, area.right - margin, area.bottom};
        OffsetRect(&box, shift, shift);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        DrawTextW(dc, text, length, &box, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = area;
        InflateRect(&focus, -3, -3);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &focus);
    }
    RestoreDC(dc, saved);
}

}  // namespace varnic::win32
