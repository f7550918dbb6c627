// Xp_ProgressBar: the self-drawn progress bar of both programs (kelvo's bar1, tarnel's pb1).
// Its properties as the window's design gives them, the checks of Value, and its drawing onto
// a canvas, all portable. The programs load the design and then set only Value.
#pragma once

#include <array>
#include <cstdint>

#include "base/ports.h"
#include "controls/progressbar/progress_canvas.h"
#include "controls/progressbar/stored_design.h"

namespace varnic {

class XpProgressBar {
public:
    // `canvas` is the control's drawing surface; `messages` shows the "Error" boxes. Both must
    // outlive the bar.
    XpProgressBar(ProgressCanvas& canvas, MessageBoxes& messages);

    std::int32_t Value() const { return value_; }
    // A value outside Min..Max shows its "Error" box and leaves the bar as it was; an accepted
    // one is drawn at once.
    void SetValue(std::int32_t New_Value);

    // The hosting window's design, loaded without checks and without drawing: Min (default 0),
    // Max (100), Value (0), Style (0) and ProgressLook (0), whose tiles show in what is drawn
    // afterwards.
    void ReadProperties(const StoredDesign& design);

    // The control's size changed (or it is first shown): full repaint, an empty frame.
    void Resize();

private:
    void Refuse(const char* text);

    void FullRepaint();
    void ResetDrawing();
    void ApplyLook(std::int32_t look);
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
