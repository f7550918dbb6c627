// GaugeCanvas: the gauge picture in a 32-bit DIB section, and its icon.
#include "monitor/win32/gauge_canvas.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/win32/dib_section.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {
namespace {

constexpr COLORREF kBackground = RGB(236, 240, 255);
constexpr COLORREF kText = RGB(24, 24, 48);
constexpr int kFontPoints = 15;

}  // namespace

GaugeCanvas::GaugeCanvas(int dpi)
    : dpi_(dpi > 0 ? dpi : 96),
      width_(ToPixels(kWidthTwips)),
      height_(ToPixels(kHeightTwips)),
      dc_(CreateCompatibleDC(nullptr)),
      picture_(CreateTopDownDib(width_, height_, &pictureBits_)) {
    if (!dc_ || !picture_) return;
    originalBitmap_ = SelectObject(dc_.Get(), picture_.Get());
    originalPen_ = SelectObject(dc_.Get(), GetStockObject(BLACK_PEN));
    if (HFONT font = FontFor(L"Arial")) {
        fontName_ = L"Arial";
        originalFont_ = SelectObject(dc_.Get(), font);
    }
    SetBkMode(dc_.Get(), TRANSPARENT);
    SetTextColor(dc_.Get(), kText);
    SetTextAlign(dc_.Get(), TA_LEFT | TA_TOP | TA_NOUPDATECP);
    Clear();
}

GaugeCanvas::~GaugeCanvas() {
    // Objects still selected into a DC cannot be deleted: give the DCs their own back.
    if (dc_) {
        if (originalBitmap_) SelectObject(dc_.Get(), originalBitmap_);
        if (originalPen_) SelectObject(dc_.Get(), originalPen_);
        if (originalFont_) SelectObject(dc_.Get(), originalFont_);
    }
    if (iconDc_ && originalIconBitmap_) SelectObject(iconDc_.Get(), originalIconBitmap_);
}

int GaugeCanvas::InnerWidth() { return MulDiv(width_, 1440, dpi_); }

void GaugeCanvas::Clear() {
    position_ = POINT{0, 0};
    if (!dc_) return;
    // An opaque empty text fills the rectangle without making a brush.
    const RECT all{0, 0, width_, height_};
    SetBkColor(dc_.Get(), kBackground);
    ExtTextOutW(dc_.Get(), 0, 0, ETO_OPAQUE, &all, L"", 0, nullptr);
}

HFONT GaugeCanvas::FontFor(const std::wstring& name) {
    auto found = fonts_.find(name);
    if (found != fonts_.end()) return found->second.Get();
    // A missing face is no error: the font mapper picks the nearest one it has.
    HFONT font = CreateFontW(-MulDiv(kFontPoints, dpi_, 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                             name.substr(0, LF_FACESIZE - 1).c_str());
    if (font) fonts_.emplace(name, GdiObject<HFONT>(font));
    return font;
}

void GaugeCanvas::SetFontName(const std::string& name) {
    const std::wstring wide = Wide(name);
    if (wide == fontName_ || !dc_) return;
    if (HFONT font = FontFor(wide)) {
        SelectObject(dc_.Get(), font);
        fontName_ = wide;
    }
}

void GaugeCanvas::Print(const std::string& text) {
    if (!dc_) return;
    const std::wstring wide = Wide(text);
    TextOutW(dc_.Get(), position_.x, position_.y, wide.c_str(), static_cast<int>(wide.size()));
    // Like a printed line: the next one starts at the left edge below it.
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_.Get(), &metrics);
    position_.x = 0;
    position_.y += metrics.tmHeight;
}

void GaugeCanvas::SetLineWidth(int pixels) { lineWidth_ = pixels; }

HPEN GaugeCanvas::PenFor(int width, COLORREF colour) {
    const PenKey key{width, colour};
    auto found = pens_.find(key);
    if (found != pens_.end()) return found->second.Get();
    HPEN pen = nullptr;
    if (width <= 1) {
        pen = CreatePen(PS_SOLID, 1, colour);
    } else {
        // Wide strokes end flat, so a bar stops exactly at its value; thin ones end square,
        // so the corners of a frame close.
        const DWORD cap = width >= 4 ? PS_ENDCAP_FLAT : PS_ENDCAP_SQUARE;
        LOGBRUSH brush{BS_SOLID, colour, 0};
        pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | cap | PS_JOIN_MITER, MulDiv(width, dpi_, 96), &brush, 0, nullptr);
    }
    if (pen) pens_.emplace(key, GdiObject<HPEN>(pen));
    return pen;
}

void GaugeCanvas::Line(int x1, int y1, int x2, int y2, Rgb colour) {
    if (!dc_) return;
    HPEN pen = PenFor(lineWidth_, RGB(colour.r, colour.g, colour.b));
    if (!pen) return;
    SelectObject(dc_.Get(), pen);
    MoveToEx(dc_.Get(), ToPixels(x1), ToPixels(y1), nullptr);
    LineTo(dc_.Get(), ToPixels(x2), ToPixels(y2));
    position_ = POINT{ToPixels(x2), ToPixels(y2)};
}

Rgb GaugeCanvas::PixelAt(int x, int y) const {
    if (!pictureBits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return Rgb{};
    GdiFlush();
    const auto* pixel = static_cast<const std::uint8_t*>(pictureBits_) + (static_cast<std::size_t>(y) * width_ + x) * 4;
    return Rgb{pixel[2], pixel[1], pixel[0]};
}

bool GaugeCanvas::EnsureIconBitmaps(int side) {
    if (side == iconSide_ && iconColour_ && iconMask_) return true;
    if (!iconDc_) iconDc_.Reset(CreateCompatibleDC(nullptr));
    if (!iconDc_) return false;
    iconColour_.Reset(CreateTopDownDib(side, side, &iconBits_));
    // An all-zero mask: every pixel of the icon is opaque.
    const std::vector<std::uint8_t> zeros(static_cast<std::size_t>((side + 15) / 16 * 2) * side, 0);
    iconMask_.Reset(CreateBitmap(side, side, 1, 1, zeros.data()));
    iconSide_ = (iconColour_ && iconMask_) ? side : 0;
    return iconSide_ != 0;
}

UniqueIcon GaugeCanvas::MakeIcon(int side) {
    if (!dc_ || side <= 0 || !EnsureIconBitmaps(side)) return UniqueIcon{};
    {
        // Selected only for the copy: CreateIconIndirect reads a bitmap that no DC holds.
        HGDIOBJ previous = SelectObject(iconDc_.Get(), iconColour_.Get());
        if (!originalIconBitmap_) originalIconBitmap_ = previous;
        SetStretchBltMode(iconDc_.Get(), HALFTONE);
        SetBrushOrgEx(iconDc_.Get(), 0, 0, nullptr);
        StretchBlt(iconDc_.Get(), 0, 0, side, side, dc_.Get(), 0, 0, width_, height_, SRCCOPY);
        SelectObject(iconDc_.Get(), originalIconBitmap_);
    }
    GdiFlush();
    // GDI leaves the alpha bytes at zero; the icon is opaque everywhere.
    auto* bytes = static_cast<std::uint8_t*>(iconBits_);
    for (std::size_t i = 0, n = static_cast<std::size_t>(side) * side; i < n; ++i) bytes[i * 4 + 3] = 0xFF;

    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = iconMask_.Get();
    info.hbmColor = iconColour_.Get();
    return UniqueIcon(CreateIconIndirect(&info));
}

}  // namespace varnic::win32
