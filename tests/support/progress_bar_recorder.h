// The progress bar's canvas for the unit tests and the fuzz target (no test framework here):
// what the bar shows, and every paint that breaks the canvas's rules.
#pragma once

#include <algorithm>
#include <string>

#include "controls/progressbar/progress_artwork.h"

namespace varnic::fakes {

class ProgressBarRecorder final : public ProgressCanvas {
public:
    int width = 100, height = 17;
    bool pieces = false;  // the frame's pieces too: "x,y,w,h<x,y,w,h" each
    // "frame" (once for repaints in a row); B, M, T for tiles 2, 1, 0 of the look and E for the eraser, small
    // when not 8 wide, with x, and "w" and the width when neither 8 nor 4: "frame B4 B14 b24w3 e4".
    std::string drawn;
    std::string faults;  // unknown pictures, tiles of no width, paints outside; tiles not whole at y 3

    int Width() const override { return width; }
    int Height() const override { return height; }
    void Clear() override { if (!drawn.ends_with("frame")) Write("frame"); }
    void PaintPicture(ProgressPicture picture, PixelRect to, PixelRect from) override {
        const bool known = picture.index >= 0 && picture.index < (picture.set <= PictureSet::blank ? 1 : 3);
        if (!known || (picture.set != PictureSet::img && to.width <= 0 && to.height > 0)) faults += "picture or width;";
        if (to.width <= 0 || to.height <= 0) return;  // shows nothing
        auto inside = [](PixelRect r, PictureSize s) {
            return r.x >= 0 && r.y >= 0 && r.width > 0 && r.height > 0 && r.x + 0LL + r.width <= s.width &&
                   r.y + 0LL + r.height <= s.height;
        };
        auto n = [](int v) { return std::to_string(v); };
        auto text = [&](PixelRect r) { return n(r.x) + "," + n(r.y) + "," + n(r.width) + "," + n(r.height); };
        if (!inside(to, {width, height}) || !inside(from, SizeOf(picture))) faults += text(to) + "<" + text(from) + ";";
        if (picture.set == PictureSet::img) return pieces ? Write(text(to) + "<" + text(from)) : void();
        if (to.y != 3 || to.height != height - 6 || from != PixelRect{0, 0, 8, 10}) faults += "tile " + text(to) + ";";
        const char role = picture.set == PictureSet::blank ? 'E' : "TMB"[std::clamp(picture.index, 0, 2)];
        const std::string word = std::string(1, to.width == 8 ? role : role | 0x20) + n(to.x);  // small: not 8 wide
        Write(to.width == 8 || to.width == 4 ? word : word + "w" + n(to.width));
    }
    void Write(const std::string& word) { drawn += (drawn.empty() ? "" : " ") + word; }
};

}  // namespace varnic::fakes
