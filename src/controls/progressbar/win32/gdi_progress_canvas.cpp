// The progress bar's off-screen surface and its carried pictures as GDI bitmaps.
#include "controls/progressbar/win32/gdi_progress_canvas.h"

#include <algorithm>
#include <cstring>

#include "controls/progressbar/progress_artwork.h"
#include "platform/win32/dib_section.h"

namespace varnic::win32 {
namespace {

HBITMAP CreatePictureBitmap(const Picture& picture) {
    void* bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib(picture.width, picture.height, &bits);
    if (bitmap != nullptr) std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * sizeof(std::uint32_t));
    return bitmap;
}

// Where a picture sits in the canvas's table: img, blank, then three per look in look order.
std::size_t Slot(ProgressPicture picture) {
    if (picture.set == PictureSet::img) return 0;
    if (picture.set == PictureSet::blank) return 1;
    const int look = static_cast<int>(picture.set) - static_cast<int>(PictureSet::master);
    const int index = picture.index < 0 ? 0 : picture.index > 2 ? 2 : picture.index;
    return static_cast<std::size_t>(2 + look * 3 + index);
}

}  // namespace

GdiProgressCanvas::GdiProgressCanvas()
    : surfaceDc_(CreateCompatibleDC(nullptr)), pictureDc_(CreateCompatibleDC(nullptr)) {
    for (const ProgressPicture& id : AllPictures()) pictures_[Slot(id)].Reset(CreatePictureBitmap(PictureOf(id)));
}

GdiProgressCanvas::~GdiProgressCanvas() {
    // The surface bitmap cannot be deleted while it is selected.
    if (surfaceDc_ && originalSurfaceBitmap_ != nullptr) SelectObject(surfaceDc_.Get(), originalSurfaceBitmap_);
}

bool GdiProgressCanvas::SetSize(int width, int height, int scalePercent) {
    if (scalePercent <= 0) scalePercent = 100;
    const int logicalWidth = width <= 0 ? 0 : std::max(1, MulDiv(width, 100, scalePercent));
    const int logicalHeight = height <= 0 ? 0 : std::max(1, MulDiv(height, 100, scalePercent));
    if (width == deviceWidth_ && height == deviceHeight_ && logicalWidth == width_ && logicalHeight == height_ &&
        (surface_ || width <= 0 || height <= 0))
        return true;

    width_ = height_ = deviceWidth_ = deviceHeight_ = 0;
    if (!surfaceDc_) return false;
    if (originalSurfaceBitmap_ != nullptr) SelectObject(surfaceDc_.Get(), originalSurfaceBitmap_);
    surface_.Reset();
    if (width <= 0 || height <= 0) return true;  // nothing to show until the window has a size

    void* bits = nullptr;
    HBITMAP bitmap = CreateTopDownDib(width, height, &bits);
    if (bitmap == nullptr) return false;
    surface_.Reset(bitmap);
    HGDIOBJ previous = SelectObject(surfaceDc_.Get(), bitmap);
    if (originalSurfaceBitmap_ == nullptr) originalSurfaceBitmap_ = previous;
    deviceWidth_ = width;
    deviceHeight_ = height;
    width_ = logicalWidth;
    height_ = logicalHeight;
    return true;
}

RECT GdiProgressCanvas::ToDevice(const PixelRect& r) const {
    // Both edges of a rectangle are scaled, so pieces that meet in bar pixels meet on the device.
    auto x = [this](int v) { return MulDiv(v, deviceWidth_, width_); };
    auto y = [this](int v) { return MulDiv(v, deviceHeight_, height_); };
    return {x(r.x), y(r.y), x(r.x + r.width), y(r.y + r.height)};
}

void GdiProgressCanvas::Invalidate(const RECT& area) const {
    if (window_ != nullptr) InvalidateRect(window_, &area, FALSE);
}

void GdiProgressCanvas::Clear() {
    if (!surface_) return;
    const RECT all{0, 0, deviceWidth_, deviceHeight_};
    FillRect(surfaceDc_.Get(), &all, GetSysColorBrush(COLOR_BTNFACE));
    Invalidate(all);
}

void GdiProgressCanvas::PaintPicture(ProgressPicture picture, PixelRect destination, PixelRect source) {
    if (!surface_ || !pictureDc_) return;
    if (destination.width <= 0 || destination.height <= 0 || source.width <= 0 || source.height <= 0) return;
    const GdiObject<HBITMAP>& bitmap = pictures_[Slot(picture)];
    if (!bitmap) return;
    const RECT to = ToDevice(destination);
    if (to.right <= to.left || to.bottom <= to.top) return;

    // The frame's pieces are stretched only along their uniform direction, or by whole
    // factors: nearest pixels keep its rings crisp. Tiles are stretched to the bar's height
    // and squeezed across: averaging keeps their shading smooth.
    const bool frame = picture.set == PictureSet::img;
    SetStretchBltMode(surfaceDc_.Get(), frame ? COLORONCOLOR : HALFTONE);
    SetBrushOrgEx(surfaceDc_.Get(), 0, 0, nullptr);
    SelectedObject selected(pictureDc_.Get(), bitmap.Get());
    StretchBlt(surfaceDc_.Get(), to.left, to.top, to.right - to.left, to.bottom - to.top, pictureDc_.Get(), source.x,
               source.y, source.width, source.height, SRCCOPY);
    Invalidate(to);
}

void GdiProgressCanvas::CopyTo(HDC target, const RECT& area) const {
    if (!surface_) {
        FillRect(target, &area, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    BitBlt(target, area.left, area.top, area.right - area.left, area.bottom - area.top, surfaceDc_.Get(), area.left,
           area.top, SRCCOPY);
}

}  // namespace varnic::win32
