// Xp_ProgressBar: the design, the checks of Value, and the incremental drawing. With Style 0
// the bar fills with 8-pixel blocks 10 pixels apart, approaching a rising Value by one unit
// of the range per setting and starting again from a full repaint when Value falls; with any
// other Style a group of three half-width tiles moves 5 pixels per setting. Positions are
// floating values as the arithmetic produces them; the canvas gets whole pixels.
#include "controls/progressbar/xp_progress_bar.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "controls/progressbar/progress_artwork.h"

namespace varnic {
namespace {

constexpr std::int32_t kDefaultMin = 0;
constexpr std::int32_t kDefaultMax = 100;
constexpr std::int32_t kDefaultValue = 0;
constexpr std::int32_t kDefaultStyle = 0;
constexpr std::int32_t kDefaultProgressLook = 0;

// The "Error" boxes of a refused Value.
constexpr const char* kValueAboveMax = "Value can NOT be higher than Maximum !";
constexpr const char* kValueBelowMin = "Value can NOT be smaller than minimum !";

constexpr double kFirstBlock = 4;     // x of the first block and of the group after a repaint
constexpr double kBlockPitch = 10;    // a block's width (8) and its 2-pixel gap
constexpr double kGroupStep = 5;      // the moving group's step
constexpr double kGroupRestart = 2;   // where the group starts again after reaching the end
constexpr int kTop = 3;               // blocks and tiles start below the frame's border

// The 16-bit counters saturate instead of overflowing, so no range or value can wrap them.
std::int16_t ToInt16(double value) {
    constexpr double low = std::numeric_limits<std::int16_t>::min();
    constexpr double high = std::numeric_limits<std::int16_t>::max();
    if (!(value >= low)) return std::numeric_limits<std::int16_t>::min();  // also NaN
    if (value > high) return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(std::nearbyint(value));
}

int Pixel(double value) { return static_cast<int>(std::lround(value)); }

// Cuts one axis of a piece to 0..limit, and its source by as much in proportion (exactly as
// much where the piece is not stretched along that axis). A piece cut away entirely gets
// length 0.
void CutAxis(int limit, int& at, int& length, int& sourceAt, int& sourceLength) {
    if (length <= 0) return;
    const long long before = at < 0 ? -static_cast<long long>(at) : 0;
    const long long beyond = std::max(0LL, static_cast<long long>(at) + length - limit);
    if (before == 0 && beyond == 0) return;
    if (before + beyond >= length) {
        length = 0;
        return;
    }
    const double scale = static_cast<double>(sourceLength) / length;
    const int sourceBefore = Pixel(before * scale), sourceBeyond = Pixel(beyond * scale);
    sourceAt += sourceBefore;
    sourceLength -= sourceBefore + sourceBeyond;
    at += static_cast<int>(before);
    length -= static_cast<int>(before + beyond);
}

}  // namespace

XpProgressBar::XpProgressBar(ProgressCanvas& canvas, MessageBoxes& messages) : canvas_(canvas), messages_(messages) {}

void XpProgressBar::Refuse(const char* text) { messages_.Show(text, "Error", MessageIcon::Critical); }

void XpProgressBar::SetValue(std::int32_t New_Value) {
    if (New_Value > max_) return Refuse(kValueAboveMax);
    if (New_Value < min_) return Refuse(kValueBelowMin);
    value_ = New_Value;
    if (style_ == 0)
        DrawBlocks();
    else if (value_ == max_)
        FullRepaint();
    else
        DrawMarquee();
}

void XpProgressBar::ReadProperties(const StoredDesign& design) {
    min_ = design.ReadProperty("Min", kDefaultMin);
    max_ = design.ReadProperty("Max", kDefaultMax);
    value_ = design.ReadProperty("Value", kDefaultValue);
    style_ = design.ReadProperty("Style", kDefaultStyle);
    ApplyLook(design.ReadProperty("ProgressLook", kDefaultProgressLook));
}

void XpProgressBar::Resize() { FullRepaint(); }

// The frame scaled from nine pieces of img: fixed 3 x 3 corners, edges stretched along
// their length, and the interior.
void XpProgressBar::FullRepaint() {
    const int w = canvas_.Width();
    const int h = canvas_.Height();
    // On a control smaller than two corners (under 3 pixels across or high) the pieces would
    // reach past its edges: each is cut to the control.
    auto piece = [&](PixelRect destination, PixelRect source) {
        CutAxis(w, destination.x, destination.width, source.x, source.width);
        CutAxis(h, destination.y, destination.height, source.y, source.height);
        canvas_.PaintPicture({PictureSet::img, 0}, destination, source);
    };
    canvas_.Clear();
    piece({0, 0, 3, 3}, {0, 0, 3, 3});
    piece({w - 3, 0, 3, 3}, {56, 0, 3, 3});
    piece({w - 3, h - 3, 3, 3}, {56, 10, 3, 3});
    piece({0, h - 3, 3, 3}, {0, 10, 3, 3});
    piece({3, 0, w - 6, 3}, {3, 0, 12, 3});
    piece({w - 3, 3, 3, h - 6}, {56, 3, 3, 3});
    piece({3, h - 3, w - 6, 3}, {3, 10, 1, 3});
    piece({0, 3, 3, h - 6}, {0, 3, 3, 3});
    piece({3, 3, w - 6, h - 6}, {4, 4, 51, 7});
    marqueePosition_ = kFirstBlock;
    ResetDrawing();
}

void XpProgressBar::ResetDrawing() {
    blockPosition_ = kFirstBlock;
    if (restartFlag_ == 1) {
        fillAllowance_ = pendingValue_;
        drawnUnits_ = ToInt16(pendingValue_);
        restartFlag_ = 0;
    } else {
        const double v = static_cast<double>(value_) - min_;
        fillAllowance_ = v;
        drawnUnits_ = ToInt16(v);
        lastValue_ = v;
    }
    barWidth_ = canvas_.Width();
    innerHeight_ = canvas_.Height() - 6;
    const PictureSize tile = SizeOf(pc_[0]);
    tileWidth_ = tile.width;
    tileHeight_ = tile.height;
    fullFlag_ = 0;
}

void XpProgressBar::ApplyLook(std::int32_t look) {
    const auto set = LookSet(look);
    if (!set) return;  // an unknown look keeps the tiles last selected
    for (int index = 0; index < 3; ++index) pc_[static_cast<std::size_t>(index)] = {*set, index};
}

void XpProgressBar::DrawBlocks() {
    if (blockPosition_ == kFirstBlock) FullRepaint();
    if (value_ < lastValue_) {
        pendingValue_ = value_;
        restartFlag_ = 1;
        FullRepaint();
    } else {
        lastValue_ = value_;
    }
    if (value_ <= min_) FullRepaint();

    // A range of 0 would divide by zero below, and one beyond 16 bits cannot be counted in
    // drawn units: such a bar shows its frame and nothing else.
    const std::int64_t range = static_cast<std::int64_t>(max_) - min_;
    if (range <= 0 || range > std::numeric_limits<std::int16_t>::max()) {
        FullRepaint();
        return;
    }
    double step = static_cast<double>(range) * 0.01;
    if (max_ != 100 && value_ > 0) step = 0;

    if (value_ < fillAllowance_ + min_) return;
    fillAllowance_ += step;

    const double unitWidth = (barWidth_ * 0.01) * (100.0 / static_cast<double>(range));
    while (blockPosition_ < unitWidth * drawnUnits_) {
        if (blockPosition_ + kBlockPitch >= barWidth_) DrawLastBlock();
        if (fullFlag_ != 0) break;
        PaintBlock(blockPosition_, tileWidth_);
        blockPosition_ += kBlockPitch;
    }
    drawnUnits_ = ToInt16(static_cast<double>(drawnUnits_) + 1);
}

void XpProgressBar::DrawLastBlock() {
    if (blockPosition_ + kBlockPitch < barWidth_) {
        if (value_ != max_ || max_ == 100) return;
        // Fill up to the end at once: whole blocks, then the squeezed last one below.
        for (double x = std::round(blockPosition_); x <= barWidth_ - kBlockPitch; x += kBlockPitch) {
            PaintBlock(blockPosition_, tileWidth_);
            blockPosition_ += kBlockPitch;
        }
    }
    const double remainder = (barWidth_ - 3) - blockPosition_;
    if (remainder > 0) PaintBlock(blockPosition_, remainder);  // ends at the inner right edge
    fullFlag_ = 1;
}

void XpProgressBar::DrawMarquee() {
    const double p = marqueePosition_;
    const double w = tileWidth_ / 2;
    if (p != kGroupRestart && p != kFirstBlock) PaintGroupTile({PictureSet::blank, 0}, p - kGroupStep, w);
    if (p + 20 < barWidth_) PaintGroupTile(pc_[2], p + 10, w);
    if (p + 10 < barWidth_) PaintGroupTile(pc_[1], p + 5, w);
    if (p + 5 < barWidth_) PaintGroupTile(pc_[0], p, w);
    if (p + 5 >= barWidth_) {
        const std::int16_t rest = ToInt16((barWidth_ - 3) - p);
        if (rest > 0) PaintGroupTile({PictureSet::blank, 0}, p, rest);
        marqueePosition_ = kGroupRestart;
        return;
    }
    marqueePosition_ = p + kGroupStep;
}

void XpProgressBar::PaintBlock(double x, double width) { PaintGroupTile(pc_[2], x, width); }

void XpProgressBar::PaintGroupTile(ProgressPicture picture, double x, double width) {
    canvas_.PaintPicture(picture, {Pixel(x), kTop, Pixel(width), Pixel(innerHeight_)},
                         {0, 0, Pixel(tileWidth_), Pixel(tileHeight_)});
}

}  // namespace varnic
