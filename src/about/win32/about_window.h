// The Win32 view of the about window (frmSplash): a borderless-looking fixed frame without a
// title bar, centred on the screen and kept out of the taskbar, showing the logo, the product
// labels in their fonts and colours, link labels with a hand cursor and the notes box. There
// is at most one about window per thread; the window owns its object and frees it when it is
// destroyed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "about/about_form.h"
#include "controls/win32/image_button_group.h"
#include "controls/win32/modeless_window.h"
#include "platform/win32/handles.h"
#include "platform/win32/shell.h"

namespace varnic::win32 {

class AboutWindow final : public ModelessWindow<AboutWindow> {
public:
    static constexpr const wchar_t* kClassName = L"VarnicAbout";

    // Shows the about window: the first call creates it; while it is open, a call brings the
    // same window to the front. Links open through `shell`, or, when that is null, through the
    // system's shell with the about window as owner. It speaks `language`. Answers the window,
    // or null when it could not be created.
    static HWND Show(HINSTANCE instance, const std::string& appDir, Shell* shell = nullptr,
                     Language language = Language::kChinese);

private:
    friend class ModelessWindow<AboutWindow>;
    AboutWindow(HINSTANCE instance, const std::string& appDir, Shell* shell, Language language);

    struct Label {
        int id;
        const kelvo::StyledLabel* model;
        void (kelvo::frmSplash::*click)();  // null for plain labels
    };

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool Build();
    void CreateControls();
    HWND AddControl(const wchar_t* windowClass, DWORD style, DWORD exStyle, int id, const TwipsRect& place,
                    const std::string& text, HFONT font);
    HFONT FontFor(const FontStyle& style);
    const Label* LabelOf(HWND control) const;
    LRESULT OnCtlColorStatic(HDC dc, HWND control);
    bool OnSetCursor(HWND under);
    void OnCommand(int id, int code);
    void DrawLogo(const DRAWITEMSTRUCT& item) const;
    int Px(int twips) const { return Pixels(twips, dpi_); }

    HINSTANCE instance_;
    Win32Shell ownShell_;
    kelvo::frmSplash form_;
    UniqueWindow taskbarOwner_;  // owns the window, so that no taskbar shows it
    int dpi_ = 96;
    std::vector<Label> labels_;
    std::vector<std::pair<FontStyle, GdiObject<HFONT>>> fonts_;
    HFONT textFont_ = nullptr;  // one of fonts_
    UniqueIcon logo_;  // null: the logo is drawn in code
    std::unique_ptr<ImageButtonGroup> buttons_;
};

}  // namespace varnic::win32
