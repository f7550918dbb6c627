// ImageButtonGroup: the image buttons of one window, their font and their tooltips.
#include "controls/win32/image_button_group.h"

#include <commctrl.h>

#include <utility>

#include "controls/win32/screen_units.h"
#include "controls/win32/text_font.h"

namespace varnic::win32 {
namespace {

HINSTANCE InstanceOf(HWND window) { return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)); }

// The largest of the sizes the pictures are drawn at that fits the button.
int FittingIconSize(int buttonHeight) {
    const int room = ImageButton::PictureSide(buttonHeight, 0);
    int best = 16;
    for (int size : {16, 24, 32, 48, 64})
        if (size <= room) best = size;
    return best;
}

TOOLINFOW ToolFor(HWND parent, HWND button, const std::wstring& text) {
    TOOLINFOW tool{};
    // The size every comctl32 version accepts, with or without a version 6 manifest.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(button);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    return tool;
}

}  // namespace

ImageButtonGroup::ImageButtonGroup(HWND parent, Language language)
    : parent_(parent), font_(CreateTextFont(language, FontStyle{}, ScreenDpi())) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
}

ImageButton& ImageButtonGroup::Add(int id, const RECT& pixels, const std::wstring& caption, UniqueIcon picture,
                                   const std::wstring& tooltip) {
    buttons_.push_back(std::make_unique<ImageButton>(parent_, id, pixels, caption, std::move(picture), font_.Get()));
    if (!tooltip.empty()) SetTooltip(buttons_.back()->Handle(), tooltip);
    return *buttons_.back();
}

ImageButton& ImageButtonGroup::Add(int id, const RECT& pixels, const std::wstring& caption, int iconResource,
                                   const std::wstring& tooltip) {
    const int size = FittingIconSize(pixels.bottom - pixels.top);
    UniqueIcon picture(static_cast<HICON>(
        LoadImageW(InstanceOf(parent_), MAKEINTRESOURCEW(iconResource), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    return Add(id, pixels, caption, std::move(picture), tooltip);
}

bool ImageButtonGroup::Draw(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return false;
    for (const auto& button : buttons_) {
        if (button->Handle() == item.hwndItem) {
            button->Draw(item);
            return true;
        }
    }
    return false;
}

void ImageButtonGroup::SetTooltip(HWND control, const std::wstring& tooltip) {
    if (!control) return;
    if (!tooltips_) {
        tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent_, nullptr,
                                    InstanceOf(parent_), nullptr);
        if (!tooltips_) return;
        if (font_) SendMessageW(tooltips_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    }
    TOOLINFOW tool = ToolFor(parent_, control, tooltip);
    SendMessageW(tooltips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (!tooltip.empty()) SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace varnic::win32
