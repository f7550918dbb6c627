// The progress bar's drawing, observed through a canvas that records every operation.
#include <gtest/gtest.h>

#include <vector>

#include "controls/progressbar/xp_progress_bar.h"

namespace varnic {
namespace {

struct Paint {
    ProgressPicture picture;
    PixelRect destination;
    PixelRect source;
};

class RecordingCanvas final : public ProgressCanvas {
public:
    RecordingCanvas(int width, int height) : width_(width), height_(height) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    void Clear() override {
        ++clears;
        paints.clear();
        operations++;
    }
    void PaintPicture(ProgressPicture picture, PixelRect destination, PixelRect source) override {
        paints.push_back({picture, destination, source});
        operations++;
    }
    void SetSize(int width, int height) { width_ = width, height_ = height; }

    // The paints since the last clear, other than the frame's pieces.
    std::vector<Paint> Tiles() const {
        std::vector<Paint> tiles;
        for (const Paint& p : paints)
            if (p.picture.set != PictureSet::img) tiles.push_back(p);
        return tiles;
    }
    std::vector<int> BlockXs() const {
        std::vector<int> xs;
        for (const Paint& p : Tiles()) xs.push_back(p.destination.x);
        return xs;
    }

    int clears = 0;
    int operations = 0;
    std::vector<Paint> paints;  // since the last clear

private:
    int width_;
    int height_;
};

class SilentBoxes final : public MessageBoxes {
public:
    void Show(const std::string& text, const std::string&, MessageIcon) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

class Drawing : public ::testing::Test {
protected:
    RecordingCanvas canvas{100, 17};
    SilentBoxes boxes;
    XpProgressBar bar{canvas, boxes};

    void SetUp() override { bar.Resize(); }

    // Sets Value and answers whether anything at all was drawn.
    bool SetAndSeeDrawing(std::int32_t value) {
        const int before = canvas.operations;
        bar.SetValue(value);
        return canvas.operations != before;
    }
};

constexpr PixelRect kTileSource{0, 0, 8, 10};
const ProgressPicture kGreenBlock{PictureSet::master, 2};

TEST_F(Drawing, AFullRepaintClearsAndDrawsTheNinePiecesOfTheFrame) {
    canvas.SetSize(120, 25);
    bar.Resize();
    struct Piece { PixelRect destination, source; };
    const Piece expected[] = {
        {{0, 0, 3, 3}, {0, 0, 3, 3}},        {{117, 0, 3, 3}, {56, 0, 3, 3}},
        {{117, 22, 3, 3}, {56, 10, 3, 3}},   {{0, 22, 3, 3}, {0, 10, 3, 3}},
        {{3, 0, 114, 3}, {3, 0, 12, 3}},     {{117, 3, 3, 19}, {56, 3, 3, 3}},
        {{3, 22, 114, 3}, {3, 10, 1, 3}},    {{0, 3, 3, 19}, {0, 3, 3, 3}},
        {{3, 3, 114, 19}, {4, 4, 51, 7}},
    };
    EXPECT_EQ(canvas.clears, 2);
    ASSERT_EQ(canvas.paints.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(canvas.paints[i].picture, (ProgressPicture{PictureSet::img, 0})) << "piece " << i;
        EXPECT_EQ(canvas.paints[i].destination, expected[i].destination) << "piece " << i;
        EXPECT_EQ(canvas.paints[i].source, expected[i].source) << "piece " << i;
    }
}

TEST_F(Drawing, TheFirstValueShowsTheFrameAndBlocksUpToIt) {
    bar.SetValue(50);
    ASSERT_EQ(canvas.BlockXs(), (std::vector<int>{4, 14, 24, 34, 44}));
    for (const Paint& block : canvas.Tiles()) {
        EXPECT_EQ(block.picture, kGreenBlock);
        EXPECT_EQ(block.destination, (PixelRect{block.destination.x, 3, 8, 11}));
        EXPECT_EQ(block.source, kTileSource);
    }
    EXPECT_EQ(canvas.paints.size(), 9u + 5u);  // drawn on a fresh frame
}

TEST_F(Drawing, ARisingValueIsApproachedOneUnitPerSetting) {
    bar.SetValue(50);
    for (int setting = 1; setting <= 4; ++setting) EXPECT_FALSE(SetAndSeeDrawing(60)) << "setting " << setting;
    const std::size_t before = canvas.paints.size();
    bar.SetValue(60);  // the fifth
    ASSERT_EQ(canvas.paints.size(), before + 1);
    EXPECT_EQ(canvas.paints.back().destination, (PixelRect{54, 3, 8, 11}));
    EXPECT_EQ(canvas.clears, 2) << "grown without a repaint";
    // 60 units of a 100-pixel bar are covered by the block at 54: nothing more comes.
    for (int setting = 6; setting <= 30; ++setting) EXPECT_FALSE(SetAndSeeDrawing(60)) << "setting " << setting;
}

TEST_F(Drawing, AFallingValueRepaintsFromScratchUntilTheOldValueIsReachedAgain) {
    bar.SetValue(50);
    for (int setting = 1; setting <= 5; ++setting) bar.SetValue(60);
    for (std::int32_t value : {30, 30, 45, 59}) {
        const int clears = canvas.clears;
        bar.SetValue(value);
        EXPECT_GT(canvas.clears, clears) << value;
        std::vector<int> expected;
        for (int x = 4; x < value; x += 10) expected.push_back(x);
        EXPECT_EQ(canvas.BlockXs(), expected) << value;
    }
    const int clears = canvas.clears;
    bar.SetValue(60);
    EXPECT_EQ(canvas.clears, clears) << "60 is not below the last value kept";
}

TEST_F(Drawing, AValueAtTheMinimumShowsOnlyTheFrame) {
    bar.SetValue(0);
    EXPECT_TRUE(canvas.Tiles().empty());
    EXPECT_EQ(canvas.paints.size(), 9u);
    bar.SetValue(70);
    ASSERT_FALSE(canvas.Tiles().empty());
    bar.SetValue(0);
    EXPECT_TRUE(canvas.Tiles().empty());
    EXPECT_EQ(canvas.paints.size(), 9u);
}

TEST_F(Drawing, AResizeEmptiesTheBarAndTheNextValueFillsTheNewWidth) {
    bar.SetValue(50);
    canvas.SetSize(200, 17);
    bar.Resize();
    EXPECT_TRUE(canvas.Tiles().empty());
    bar.SetValue(50);  // half of 200 pixels
    EXPECT_EQ(canvas.BlockXs(), (std::vector<int>{4, 14, 24, 34, 44, 54, 64, 74, 84, 94}));
}

TEST(DrawingLastBlock, TheLastBlockEndsAtTheInnerRightEdge) {
    struct Case { int width; std::vector<int> xs; PixelRect last; };
    const Case cases[] = {
        {100, {4, 14, 24, 34, 44, 54, 64, 74, 84, 94}, {94, 3, 3, 11}},   // squeezed to 3 pixels
        {103, {4, 14, 24, 34, 44, 54, 64, 74, 84, 94}, {94, 3, 6, 11}},
        {105, {4, 14, 24, 34, 44, 54, 64, 74, 84, 94}, {94, 3, 8, 11}},   // a whole block fits
        {97, {4, 14, 24, 34, 44, 54, 64, 74, 84}, {84, 3, 8, 11}},        // no room for a last one
        {30, {4, 14, 24}, {24, 3, 3, 11}},
    };
    for (const Case& c : cases) {
        RecordingCanvas canvas{c.width, 17};
        SilentBoxes boxes;
        XpProgressBar bar{canvas, boxes};
        bar.Resize();
        bar.SetValue(100);
        EXPECT_EQ(canvas.BlockXs(), c.xs) << c.width;
        ASSERT_FALSE(canvas.paints.empty());
        EXPECT_EQ(canvas.paints.back().destination, c.last) << c.width;
        const int operations = canvas.operations;
        bar.SetValue(100);
        bar.SetValue(100);
        EXPECT_EQ(canvas.operations, operations) << "a full bar draws nothing more, width " << c.width;
    }
}

TEST_F(Drawing, TheMovingGroupStepsFivePixelsAndStartsAgainAtTheLeft) {
    bar.SetStyle(1);
    std::vector<int> trailing;
    for (int setting = 0; setting < 24; ++setting) {
        canvas.paints.clear();
        bar.SetValue(setting % 50);
        for (const Paint& p : canvas.paints)
            if (p.picture == (ProgressPicture{PictureSet::master, 0})) trailing.push_back(p.destination.x);
    }
    std::vector<int> expected;
    for (int x = 4; x <= 94; x += 5) expected.push_back(x);  // 99 is the end: no group drawn
    expected.insert(expected.end(), {2, 7, 12, 17});
    EXPECT_EQ(trailing, expected);
}

TEST_F(Drawing, EachMarqueeStepErasesTheOldTrailingTileAndDrawsTheGroup) {
    bar.SetStyle(1);
    bar.SetValue(1);  // group at 4: nothing to erase
    ASSERT_EQ(canvas.paints.size(), 9u + 3u);
    const ProgressPicture blank{PictureSet::blank, 0};
    auto expectPaint = [&](std::size_t i, ProgressPicture picture, PixelRect destination) {
        ASSERT_LT(i, canvas.paints.size());
        EXPECT_EQ(canvas.paints[i].picture, picture) << i;
        EXPECT_EQ(canvas.paints[i].destination, destination) << i;
        EXPECT_EQ(canvas.paints[i].source, kTileSource) << i;
    };
    expectPaint(9, {PictureSet::master, 2}, {14, 3, 4, 11});
    expectPaint(10, {PictureSet::master, 1}, {9, 3, 4, 11});
    expectPaint(11, {PictureSet::master, 0}, {4, 3, 4, 11});
    canvas.paints.clear();
    bar.SetValue(2);
    ASSERT_EQ(canvas.paints.size(), 4u);
    expectPaint(0, blank, {4, 3, 4, 11});
    expectPaint(3, {PictureSet::master, 0}, {9, 3, 4, 11});
}

TEST(DrawingMarqueeEnd, TheRestBehindTheGroupIsErasedAtTheEnd) {
    RecordingCanvas canvas{103, 17};
    SilentBoxes boxes;
    XpProgressBar bar{canvas, boxes};
    bar.Resize();
    bar.SetStyle(1);
    for (int setting = 0; setting < 19; ++setting) bar.SetValue(1);  // trailing tile reaches 94
    canvas.paints.clear();
    bar.SetValue(1);  // P = 99, and 99 + 5 >= 103
    ASSERT_EQ(canvas.paints.size(), 2u);
    EXPECT_EQ(canvas.paints[0].destination, (PixelRect{94, 3, 4, 11}));
    EXPECT_EQ(canvas.paints[1].picture, (ProgressPicture{PictureSet::blank, 0}));
    EXPECT_EQ(canvas.paints[1].destination, (PixelRect{99, 3, 1, 11}));
    canvas.paints.clear();
    bar.SetValue(1);
    ASSERT_EQ(canvas.paints.size(), 3u) << "restarted at 2 with nothing to erase";
    EXPECT_EQ(canvas.paints[2].destination.x, 2);
}

TEST_F(Drawing, TheMaximumClearsTheMovingGroupAndPutsItBackAtTheStart) {
    bar.SetStyle(1);
    for (int setting = 0; setting < 7; ++setting) bar.SetValue(10);
    const int clears = canvas.clears;
    bar.SetValue(100);
    EXPECT_EQ(canvas.clears, clears + 1);
    EXPECT_TRUE(canvas.Tiles().empty());
    bar.SetValue(10);
    EXPECT_EQ(canvas.Tiles().back().destination.x, 4);
}

TEST_F(Drawing, BlocksComeFromTheLookChosenWhenTheyAreDrawn) {
    bar.SetProgressLook(6);
    EXPECT_EQ(canvas.operations, 10) << "a new look repaints nothing";
    bar.SetValue(40);
    ASSERT_EQ(canvas.BlockXs(), (std::vector<int>{4, 14, 24, 34}));
    for (const Paint& p : canvas.Tiles()) EXPECT_EQ(p.picture, (ProgressPicture{PictureSet::orangemet, 2}));
    bar.SetProgressLook(8);  // unknown: the orange tiles stay
    bar.SetValue(30);        // a fall repaints
    ASSERT_EQ(canvas.BlockXs(), (std::vector<int>{4, 14, 24}));
    for (const Paint& p : canvas.Tiles()) EXPECT_EQ(p.picture, (ProgressPicture{PictureSet::orangemet, 2}));
    bar.SetProgressLook(1);
    bar.SetValue(10);
    ASSERT_EQ(canvas.BlockXs(), (std::vector<int>{4}));
    EXPECT_EQ(canvas.Tiles()[0].picture, (ProgressPicture{PictureSet::blue, 2}));
}

TEST(DrawingOddRanges, ARangeOfZeroOrBeyondSixteenBitsShowsOnlyTheFrame) {
    struct Case { std::int32_t min, max, value; };
    const Case cases[] = {{0, 0, 0}, {50, 50, 50}, {0, 40000, 20000}, {0, 40000, 40000}, {0, 32768, 1}};
    for (const Case& c : cases) {
        RecordingCanvas canvas{100, 17};
        SilentBoxes boxes;
        XpProgressBar bar{canvas, boxes};
        bar.SetMax(c.max);
        bar.SetMin(c.min);
        bar.Resize();
        bar.SetValue(c.value);
        bar.SetValue(c.value);
        EXPECT_TRUE(canvas.Tiles().empty()) << c.min << ".." << c.max;
        EXPECT_EQ(canvas.paints.size(), 9u) << c.min << ".." << c.max;
        bar.Resize();
        EXPECT_EQ(canvas.paints.size(), 9u);
        EXPECT_TRUE(boxes.shown.empty());
    }
}

TEST(DrawingOddRanges, TheWidestSixteenBitRangeStillDraws) {
    RecordingCanvas canvas{100, 17};
    SilentBoxes boxes;
    XpProgressBar bar{canvas, boxes};
    bar.SetMax(32767);
    bar.Resize();
    bar.SetValue(32767);
    EXPECT_EQ(canvas.BlockXs(), (std::vector<int>{4, 14, 24, 34, 44, 54, 64, 74, 84, 94}));
    // Settings past the end of the 16-bit unit counter do not fail. With a Max other than 100
    // nothing holds the fill back, so each setting paints the squeezed last block again, and
    // nothing else.
    for (int setting = 0; setting < 40000; ++setting) bar.SetValue(32767);
    ASSERT_EQ(canvas.paints.size(), 9u + 10u + 40000u);
    for (std::size_t i = 19; i < canvas.paints.size(); ++i)
        ASSERT_EQ(canvas.paints[i].destination, (PixelRect{94, 3, 3, 11})) << i;
}

TEST(DrawingBeforeShown, ValuesSetBeforeTheControlHasASizeDrawNothingVisible) {
    RecordingCanvas canvas{0, 0};
    SilentBoxes boxes;
    XpProgressBar bar{canvas, boxes};
    bar.SetValue(50);
    bar.SetStyle(1);
    bar.SetValue(60);
    EXPECT_TRUE(canvas.Tiles().empty());
}

}  // namespace
}  // namespace varnic
