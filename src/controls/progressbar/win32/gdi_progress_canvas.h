// The progress bar's drawing surface on Windows: an off-screen 32-bit bitmap kept for the
// control's life, painted from bitmaps of the carried pictures. The window shows this
// bitmap on WM_PAINT and WM_PRINTCLIENT, so whatever was drawn survives being covered,
// hidden or restored from the tray.
//
// The bar's geometry is in its own pixels. On a screen scaled above 100 % the surface is that
// many times larger and every rectangle is scaled onto it, so the bar keeps its proportions
// (a 3-pixel border and 8-pixel blocks become 6 and 16 at 200 %).
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>

#include "controls/progressbar/progress_canvas.h"
#include "platform/win32/handles.h"

namespace varnic::win32 {

class GdiProgressCanvas final : public ProgressCanvas {
public:
    GdiProgressCanvas();
    GdiProgressCanvas(const GdiProgressCanvas&) = delete;
    GdiProgressCanvas& operator=(const GdiProgressCanvas&) = delete;
    ~GdiProgressCanvas() override;

    // The window whose client area shows the surface: what is painted is invalidated there.
    void Attach(HWND window) { window_ = window; }

    // A new surface of `width` x `height` device pixels, drawn at `scalePercent` (100: one
    // bar pixel per device pixel). The old drawing is dropped; the bar repaints it. False when
    // GDI refused the bitmap (the canvas is then empty and paints nothing).
    bool SetSize(int width, int height, int scalePercent = 100);

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void Clear() override;
    void PaintPicture(ProgressPicture picture, PixelRect destination, PixelRect source) override;

    // The retained drawing, `area` in device pixels, copied to the same place on `target`.
    void CopyTo(HDC target, const RECT& area) const;

private:
    static constexpr std::size_t kPictureCount = 2 + 8 * 3;

    RECT ToDevice(const PixelRect& r) const;
    void Invalidate(const RECT& area) const;

    HWND window_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int deviceWidth_ = 0;
    int deviceHeight_ = 0;

    UniqueMemoryDc surfaceDc_;
    GdiObject<HBITMAP> surface_;
    HGDIOBJ originalSurfaceBitmap_ = nullptr;

    UniqueMemoryDc pictureDc_;
    std::array<GdiObject<HBITMAP>, kPictureCount> pictures_;
};

}  // namespace varnic::win32
