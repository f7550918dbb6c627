// The progress bar on controls smaller than its frame's corners, found by fuzzing: every
// piece it paints stays inside the control, cut with its source where it would reach past
// an edge, so the pixels shown are those the whole piece would have shown there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/progressbar/progress_artwork.h"
#include "controls/progressbar/xp_progress_bar.h"

namespace varnic {
namespace {

struct Paint {
    ProgressPicture picture;
    PixelRect destination;
    PixelRect source;
};

class SmallCanvas final : public ProgressCanvas {
public:
    SmallCanvas(int width, int height) : width_(width), height_(height) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void Clear() override {}
    void PaintPicture(ProgressPicture picture, PixelRect destination, PixelRect source) override {
        if (destination.width > 0 && destination.height > 0) paints.push_back({picture, destination, source});
    }
    std::vector<Paint> paints;  // the ones that show anything

private:
    int width_, height_;
};

class NoBoxes final : public MessageBoxes {
public:
    void Show(const std::string&, const std::string&, MessageIcon) override {}
};

bool Inside(const PixelRect& r, int width, int height) {
    return r.x >= 0 && r.y >= 0 && r.x + r.width <= width && r.y + r.height <= height;
}

TEST(ProgressBarOnTinyControls, EveryPaintStaysInsideTheControlAndItsPicture) {
    struct Size {
        int width, height;
    };
    for (Size size : {Size{0, 0}, Size{1, 1}, Size{2, 2}, Size{2, 17}, Size{100, 0}, Size{100, 1}, Size{100, 2},
                      Size{3, 3}, Size{5, 5}, Size{6, 6}, Size{7, 7}}) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        SmallCanvas canvas{size.width, size.height};
        NoBoxes boxes;
        XpProgressBar bar{canvas, boxes};
        bar.Resize();
        for (int value = 0; value <= 100; value += 7) bar.SetValue(value);
        bar.SetStyle(1);
        for (int value = 0; value < 100; value += 3) bar.SetValue(value);
        bar.SetValue(100);
        for (const Paint& paint : canvas.paints) {
            const PictureSize picture = SizeOf(paint.picture);
            EXPECT_TRUE(Inside(paint.destination, size.width, size.height))
                << paint.destination.x << "," << paint.destination.y << " " << paint.destination.width << "x"
                << paint.destination.height;
            EXPECT_GT(paint.source.width, 0);
            EXPECT_GT(paint.source.height, 0);
            EXPECT_TRUE(Inside(paint.source, picture.width, picture.height));
        }
    }
}

TEST(ProgressBarOnTinyControls, CornersAreCutTogetherWithTheirSource) {
    struct Case {
        int width, height;
        std::vector<std::pair<PixelRect, PixelRect>> frame;  // destination, source
    };
    const Case cases[] = {
        // Two pixels across: each side corner shows the two columns nearest its own edge.
        {2, 17,
         {{{0, 0, 2, 3}, {0, 0, 2, 3}},
          {{0, 0, 2, 3}, {57, 0, 2, 3}},
          {{0, 14, 2, 3}, {57, 10, 2, 3}},
          {{0, 14, 2, 3}, {0, 10, 2, 3}},
          {{0, 3, 2, 11}, {57, 3, 2, 3}},
          {{0, 3, 2, 11}, {0, 3, 2, 3}}}},
        // Two pixels high: the top rows of the top pieces, the bottom rows of the bottom ones.
        {100, 2,
         {{{0, 0, 3, 2}, {0, 0, 3, 2}},
          {{97, 0, 3, 2}, {56, 0, 3, 2}},
          {{97, 0, 3, 2}, {56, 11, 3, 2}},
          {{0, 0, 3, 2}, {0, 11, 3, 2}},
          {{3, 0, 94, 2}, {3, 0, 12, 2}},
          {{3, 0, 94, 2}, {3, 11, 1, 2}}}},
        // Nothing to show at all.
        {0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        SmallCanvas canvas{c.width, c.height};
        NoBoxes boxes;
        XpProgressBar bar{canvas, boxes};
        bar.Resize();
        ASSERT_EQ(canvas.paints.size(), c.frame.size());
        for (std::size_t i = 0; i < c.frame.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(canvas.paints[i].picture, (ProgressPicture{PictureSet::img, 0}));
            EXPECT_EQ(canvas.paints[i].destination, c.frame[i].first);
            EXPECT_EQ(canvas.paints[i].source, c.frame[i].second);
        }
    }
}

TEST(ProgressBarOnTinyControls, AControlOfUsualSizeKeepsItsUncutFrame) {
    SmallCanvas canvas{100, 17};
    NoBoxes boxes;
    XpProgressBar bar{canvas, boxes};
    bar.Resize();
    ASSERT_EQ(canvas.paints.size(), 9u);
    EXPECT_EQ(canvas.paints[1].destination, (PixelRect{97, 0, 3, 3}));
    EXPECT_EQ(canvas.paints[1].source, (PixelRect{56, 0, 3, 3}));
    EXPECT_EQ(canvas.paints[8].destination, (PixelRect{3, 3, 94, 11}));
    EXPECT_EQ(canvas.paints[8].source, (PixelRect{4, 4, 51, 7}));
}

}  // namespace
}  // namespace varnic
