// Xp_ProgressBar: the self-drawn progress bar of both programs (kelvo's bar1, tarnel's pb1).
// Its properties, their checks and persistence, and its drawing onto a canvas, all portable.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "base/ports.h"
#include "controls/progressbar/progress_canvas.h"
#include "controls/progressbar/property_bag.h"

namespace varnic {

class XpProgressBar {
public:
    // `canvas` is the control's drawing surface; `messages` shows the "Error" boxes. Both must
    // outlive the bar.
    XpProgressBar(ProgressCanvas& canvas, MessageBoxes& messages);

    std::int32_t Min() const { return min_; }
    std::int32_t Max() const { return max_; }
    std::int32_t Value() const { return value_; }
    std::int32_t Style() const { return style_; }
    std::int32_t ProgressLook() const { return progressLook_; }

    // A rejected value shows its message box and leaves the property and the drawing as they were.
    void SetMin(std::int32_t New_Mini);
    void SetMax(std::int32_t New_Maxi);
    void SetValue(std::int32_t New_Value);  // draws the change at once
    void SetStyle(std::int32_t New_Style);
    void SetProgressLook(std::int32_t New_ProgressLook);  // shows in the tiles drawn afterwards

    // The hosting window's design: loaded without checks; saved with the defaults
    // Min 0, Max 100, Value 0, Style 0, ProgressLook 0.
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // The control's size changed (or it is first shown): full repaint, an empty frame.
    void Resize();

    // Called with the property's name ("Min", "Max", "Value", "Style", "ProgressLook") after
    // every accepted set.
    std::function<void(const std::string&)> PropertyChanged;

private:
    void Report(const char* name);
    void Refuse(const char* text);

    void FullRepaint();
    void ResetDrawing();
    void ApplyLook();
    void DrawBlocks();
    void DrawLastBlock();
    void DrawMarquee();
    void PaintBlock(double x, double width);
    void PaintGroupTile(ProgressPicture picture, double x, double width);

    ProgressCanvas& canvas_;
    MessageBoxes& messages_;

    std::int32_t min_ = 0;
    std::int32_t max_ = 100;
    std::int32_t value_ = 0;
    std::int32_t style_ = 0;
    std::int32_t progressLook_ = 0;

    // The working tiles: the three pictures of the current look.
    std::array<ProgressPicture, 3> pc_{{{PictureSet::master, 0}, {PictureSet::master, 1}, {PictureSet::master, 2}}};

    // Drawing state, in pixels and units of the range.
    double barWidth_ = 0;
    double innerHeight_ = 0;
    double tileWidth_ = 0;
    double tileHeight_ = 0;
    double blockPosition_ = 4;
    std::int16_t drawnUnits_ = 0;
    double fillAllowance_ = 0;
    double lastValue_ = 0;
    double pendingValue_ = 0;
    std::int16_t restartFlag_ = 0;
    std::int16_t fullFlag_ = 0;
    double marqueePosition_ = 4;
};

}  // namespace varnic
