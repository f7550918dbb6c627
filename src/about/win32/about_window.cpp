// AboutWindow: the about window's frame, labels, links, logo and notes box.
#include "about/win32/about_window.h"

#include <algorithm>
#include <cmath>

#include "about/win32/about_ids.h"
#include "about/win32/about_resources.h"
#include "controls/win32/control_kit.h"
#include "controls/win32/text_font.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {
namespace {

using namespace about_ids;

// A fixed dialog frame without caption or system menu, kept out of the taskbar.
constexpr DWORD kStyle = WS_POPUP | WS_DLGFRAME;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT;
constexpr FontStyle kTextFont{};

COLORREF ColourOf(const Rgb& rgb) { return RGB(rgb.r, rgb.g, rgb.b); }

TwipsRect InFrame(const TwipsRect& frame, const TwipsRect& place) {
    return {frame.left + place.left, frame.top + place.top, place.width, place.height};
}

}  // namespace

AboutWindow::AboutWindow(HINSTANCE instance, const std::string& appDir, Shell* shell, Language language)
    : instance_(instance), form_(shell ? *shell : ownShell_, appDir, [this] {
          if (window_) DestroyWindow(window_);
      }, language) {}

HWND AboutWindow::Show(HINSTANCE instance, const std::string& appDir, Shell* shell, Language language) {
    if (HWND open = BringOpenWindowToFront()) return open;
    std::unique_ptr<AboutWindow> about(new AboutWindow(instance, appDir, shell, language));
    about->dpi_ = ScreenDpi();
    RECT frame{0, 0, about->Px(about->form_.clientWidth), about->Px(about->form_.clientHeight)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    // An owned window never gets a taskbar button, on any system; the owner itself stays hidden.
    about->taskbarOwner_.Reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                                               nullptr));
    HWND owner = about->taskbarOwner_.Get();
    return Create(instance, std::move(about), kExStyle, L"", kStyle, left, top, width, height, owner);
}

LRESULT AboutWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlID == static_cast<UINT>(kImgLogo)) {
            DrawLogo(item);
            return TRUE;
        }
        if (buttons_ && buttons_->Draw(item)) return TRUE;
        break;
    }
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
        if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

bool AboutWindow::Build() {
    ownShell_.SetOwner(window_);
    const int logoSide = Px(form_.imglogo.place.width);
    logo_.Reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_ABOUT_LOGO), IMAGE_ICON, logoSide,
                                              logoSide, LR_DEFAULTCOLOR)));
    textFont_ = FontFor(kTextFont);
    buttons_ = std::make_unique<ImageButtonGroup>(window_, form_.SpokenLanguage());
    CreateControls();
    return true;
}

HFONT AboutWindow::FontFor(const FontStyle& style) {
    for (const auto& [known, font] : fonts_)
        if (known == style) return font.Get();
    fonts_.emplace_back(style, CreateTextFont(form_.SpokenLanguage(), style, dpi_));
    return fonts_.back().second.Get();
}

HWND AboutWindow::AddControl(const wchar_t* windowClass, DWORD style, DWORD exStyle, int id, const TwipsRect& place,
                             const std::string& text, HFONT font) {
    return CreateControl(window_, {windowClass, WS_VISIBLE | style, id, place, text, exStyle}, dpi_, font);
}

void AboutWindow::CreateControls() {
    using kelvo::frmSplash;
    const frmSplash& f = form_;
    const TwipsRect& frame = f.Frame1.place;
    AddControl(L"BUTTON", BS_GROUPBOX, 0, kFrame1, frame, "", textFont_);
    AddControl(L"STATIC", SS_OWNERDRAW, 0, kImgLogo, InFrame(frame, f.imglogo.place), "", nullptr);

    labels_ = {
        {kLblProductName, &f.lblProductName, nullptr},
        {kLblPlatform, &f.lblPlatform, nullptr},
        {kLblVersion, &f.lblVersion, nullptr},
        {kLabel1, &f.Label1, &frmSplash::Label1_Click},
        {kLabel6, &f.Label6, &frmSplash::Label6_Click},
        {kLabel2, &f.Label2, &frmSplash::Label2_Click},
        {kLabel3, &f.Label3, &frmSplash::Label3_Click},
        {kLabel4, &f.Label4, &frmSplash::Label4_Click},
        {kLabel5, &f.Label5, &frmSplash::Label5_Click},
    };
    for (const Label& label : labels_) {
        const kelvo::StyledLabel& model = *label.model;
        // SS_NOTIFY makes a link answer the mouse: clicks and the hand cursor.
        // One line each, never wrapped: a wider substitute font must not push text out of sight.
        const DWORD style = SS_LEFTNOWORDWRAP | SS_NOPREFIX | (model.link ? SS_NOTIFY : 0);
        AddControl(L"STATIC", style, 0, label.id, model.inFrame ? InFrame(frame, model.place) : model.place,
                   model.caption, FontFor(model.font));
    }
    AddControl(L"EDIT", ES_MULTILINE | ES_READONLY | WS_VSCROLL, WS_EX_CLIENTEDGE, kText1,
               InFrame(frame, f.Text1.place), f.Text1.text, textFont_);

    buttons_->Add(kXpButton1, RectInPixels(f.xpButton1.place, dpi_),
                  Wide(f.xpButton1.caption), IDI_ABOUT_CLOSE);
}

const AboutWindow::Label* AboutWindow::LabelOf(HWND control) const {
    if (!control || GetParent(control) != window_) return nullptr;
    const int id = GetDlgCtrlID(control);
    for (const Label& label : labels_)
        if (label.id == id) return &label;
    return nullptr;
}

LRESULT AboutWindow::OnCtlColorStatic(HDC dc, HWND control) {
    const Label* label = LabelOf(control);
    SetTextColor(dc, label ? ColourOf(label->model->colour) : GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));  // the notes box too: it is read-only
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

bool AboutWindow::OnSetCursor(HWND under) {
    const Label* label = LabelOf(under);
    if (!label || !label->click) return false;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
}

void AboutWindow::OnCommand(int id, int code) {
    if (id == kXpButton1) {
        if (code == BN_CLICKED) form_.xpButton1_Click();
        return;
    }
    if (code != STN_CLICKED) return;
    for (const Label& label : labels_) {
        if (label.id == id && label.click) {
            (form_.*label.click)();
            return;
        }
    }
}

// The logo picture, or, without one, a drawn badge: a light-blue disc with a white ring and a
// large "V".
void AboutWindow::DrawLogo(const DRAWITEMSTRUCT& item) const {
    const RECT& r = item.rcItem;
    FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
    const int side = std::min(r.right - r.left, r.bottom - r.top);
    if (logo_) {
        DrawIconEx(item.hDC, r.left, r.top, logo_.Get(), side, side, 0, nullptr, DI_NORMAL);
        return;
    }
    const int inset = side / 16, ring = side / 10;
    GdiObject<HBRUSH> disc(CreateSolidBrush(RGB(128, 128, 255)));
    GdiObject<HBRUSH> inner(CreateSolidBrush(RGB(64, 64, 200)));
    GdiObject<HPEN> white(CreatePen(PS_SOLID, std::max(2, side / 32), RGB(255, 255, 255)));
    {
        SelectedObject brush(item.hDC, disc.Get());
        SelectedObject pen(item.hDC, white.Get());
        Ellipse(item.hDC, r.left + inset, r.top + inset, r.left + side - inset, r.top + side - inset);
        SelectedObject innerBrush(item.hDC, inner.Get());
        Ellipse(item.hDC, r.left + inset + ring, r.top + inset + ring, r.left + side - inset - ring,
                r.top + side - inset - ring);
    }
    GdiObject<HFONT> letterFont(CreateFontW(-side / 2, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                            DEFAULT_PITCH | FF_SWISS, L"Arial"));
    SelectedObject font(item.hDC, letterFont.Get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, RGB(255, 255, 255));
    RECT letter{r.left, r.top, r.left + side, r.top + side};
    DrawTextW(item.hDC, L"V", 1, &letter, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace varnic::win32
