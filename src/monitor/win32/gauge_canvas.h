// The off-screen picture on which the tray gauge is drawn (555 x 495 twips, in pixels of the
// screen's DPI), and its conversion into a small icon. Everything it draws with (the DC,
// the bitmaps, the fonts and pens) is made once and kept, so a redraw twice a second for
// the whole life of the program creates no GDI objects besides the icon it hands out.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "controls/win32/screen_units.h"
#include "monitor/monitor_ports.h"
#include "platform/win32/handles.h"

namespace varnic::win32 {

class GaugeCanvas final : public GaugeSurface {
public:
    static constexpr int kWidthTwips = 555;
    static constexpr int kHeightTwips = 495;

    // `dpi` is the screen's (GetDeviceCaps LOGPIXELSX); the twips of the drawing are
    // converted with it. The font starts as Arial, 15 points, bold; the line width as 6.
    explicit GaugeCanvas(int dpi = 96);
    GaugeCanvas(const GaugeCanvas&) = delete;
    GaugeCanvas& operator=(const GaugeCanvas&) = delete;
    ~GaugeCanvas() override;

    int InnerWidth() override;  // twips
    void Clear() override;
    void SetFontName(const std::string& name) override;
    void Print(const std::string& text) override;
    void SetLineWidth(int pixels) override;
    void Line(int x1, int y1, int x2, int y2, Rgb colour) override;

    // The picture scaled to side x side pixels as a new icon; null when the system refuses.
    UniqueIcon MakeIcon(int side);
    UniqueIcon MakeIcon16() { return MakeIcon(16); }

    int PixelWidth() const { return width_; }
    int PixelHeight() const { return height_; }
    Rgb PixelAt(int x, int y) const;  // of the picture before scaling

private:
    struct PenKey {
        int width;
        COLORREF colour;
        friend bool operator<(const PenKey& a, const PenKey& b) {
            return std::pair(a.width, a.colour) < std::pair(b.width, b.colour);
        }
    };

    int ToPixels(int twips) const { return Pixels(twips, dpi_); }
    HPEN PenFor(int width, COLORREF colour);
    HFONT FontFor(const std::wstring& name);
    bool EnsureIconBitmaps(int side);

    int dpi_;
    int width_;
    int height_;
    UniqueMemoryDc dc_;
    void* pictureBits_ = nullptr;  // before picture_, whose making fills it in
    GdiObject<HBITMAP> picture_;
    HGDIOBJ originalBitmap_ = nullptr;
    HGDIOBJ originalFont_ = nullptr;
    HGDIOBJ originalPen_ = nullptr;

    std::map<std::wstring, GdiObject<HFONT>> fonts_;
    std::wstring fontName_;
    std::map<PenKey, GdiObject<HPEN>> pens_;
    int lineWidth_ = 6;
    POINT position_{0, 0};

    UniqueMemoryDc iconDc_;
    GdiObject<HBITMAP> iconColour_;
    GdiObject<HBITMAP> iconMask_;
    HGDIOBJ originalIconBitmap_ = nullptr;
    void* iconBits_ = nullptr;
    int iconSide_ = 0;
};

}  // namespace varnic::win32
