// The drawing surface of the progress bar and the pictures it paints from. The bar never
// draws lines or fills: every pixel it shows is copied, scaled, from one of its pictures.
#pragma once

#include <cstdint>

namespace varnic {

// The picture sets the control carries: the frame, the eraser and the eight looks.
enum class PictureSet : std::uint8_t {
    img,        // the frame, 59 x 13
    blank,      // plain white, 8 x 10: used to erase
    master,     // look 0, green
    blue,       // look 1
    bluemet,    // look 2, metallic blue
    goldmet,    // look 3, metallic gold
    grmet,      // look 4, metallic green
    greymet,    // look 5, metallic grey
    orangemet,  // look 6, metallic orange
    redmet,     // look 7, metallic red
};

// One carried picture: a set and, within a look, its index 0 to 2 (always 0 for img and blank).
// Within a look, index 2 is the block tile, 1 and 0 the middle and trailing tiles of the
// moving group.
struct ProgressPicture {
    PictureSet set = PictureSet::img;
    int index = 0;
    friend bool operator==(const ProgressPicture&, const ProgressPicture&) = default;
};

// A rectangle in pixels, origin top-left.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

class ProgressCanvas {
public:
    virtual ~ProgressCanvas() = default;
    virtual int Width() const = 0;   // of the control, in pixels
    virtual int Height() const = 0;
    // The whole surface cleared to the control's background.
    virtual void Clear() = 0;
    // `source` of `picture` scaled into `destination`. Rectangles with a width or height of 0 or
    // less paint nothing.
    virtual void PaintPicture(ProgressPicture picture, PixelRect destination, PixelRect source) = 0;
};

}  // namespace varnic
