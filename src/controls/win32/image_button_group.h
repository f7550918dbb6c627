// The image buttons of one window and what they share: the caption font (the plain text font
// of the window's language) and the window's one tooltip control, which the window's other controls
// use too. The window keeps one group, adds its buttons and forwards WM_DRAWITEM to it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/language.h"
#include "controls/win32/image_button.h"
#include "platform/win32/handles.h"

namespace varnic::win32 {

class ImageButtonGroup {
public:
    explicit ImageButtonGroup(HWND parent, Language language = Language::kChinese);
    ImageButtonGroup(const ImageButtonGroup&) = delete;
    ImageButtonGroup& operator=(const ImageButtonGroup&) = delete;

    // A button with a picture made elsewhere (or none: an empty UniqueIcon).
    ImageButton& Add(int id, const RECT& pixels, const std::wstring& caption, UniqueIcon picture,
                     const std::wstring& tooltip = L"");
    // A button whose picture is the icon resource `iconResource` of the parent's module,
    // loaded at the size that fits the button.
    ImageButton& Add(int id, const RECT& pixels, const std::wstring& caption, int iconResource,
                     const std::wstring& tooltip = L"");

    // For WM_DRAWITEM: paints the item when it is one of these buttons; false otherwise.
    bool Draw(const DRAWITEMSTRUCT& item);
    // The tip of any control of the window; an empty tooltip removes the control's tip.
    void SetTooltip(HWND control, const std::wstring& tooltip);

    HFONT Font() const { return font_.Get(); }

private:
    HWND parent_;
    GdiObject<HFONT> font_;
    HWND tooltips_ = nullptr;  // made with the first tip; owned by the parent window, destroyed with it
    std::vector<std::unique_ptr<ImageButton>> buttons_;
};

}  // namespace varnic::win32
