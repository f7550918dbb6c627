// The carried pictures: their sizes (the drawing's geometry depends on them), the frame's
// border and interior, and the colour families and shading of the eight looks.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "controls/progressbar/progress_artwork.h"

namespace varnic {
namespace {

struct Channels {
    int r, g, b;
};
Channels Split(std::uint32_t pixel) {
    return {static_cast<int>(pixel >> 16 & 0xFF), static_cast<int>(pixel >> 8 & 0xFF), static_cast<int>(pixel & 0xFF)};
}
int Brightness(std::uint32_t pixel) {
    const Channels c = Split(pixel);
    return (c.r * 299 + c.g * 587 + c.b * 114) / 1000;
}
Channels Average(const Picture& p) {
    long r = 0, g = 0, b = 0;
    for (std::uint32_t pixel : p.pixels) {
        const Channels c = Split(pixel);
        r += c.r, g += c.g, b += c.b;
    }
    const long n = static_cast<long>(p.pixels.size());
    return {static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)};
}

constexpr std::uint32_t kWhite = 0xFFFFFFFF;

TEST(Artwork, EveryPictureHasItsSizeAndIsOpaque) {
    const std::vector<ProgressPicture> all = AllPictures();
    ASSERT_EQ(all.size(), 2u + 8u * 3u);
    std::set<std::pair<int, int>> seen;
    for (const ProgressPicture& id : all) {
        const Picture p = PictureOf(id);
        const bool frame = id.set == PictureSet::img;
        EXPECT_EQ(p.width, frame ? 59 : 8);
        EXPECT_EQ(p.height, frame ? 13 : 10);
        EXPECT_EQ(SizeOf(id).width, p.width);
        EXPECT_EQ(SizeOf(id).height, p.height);
        ASSERT_EQ(p.pixels.size(), static_cast<std::size_t>(p.width * p.height));
        for (std::uint32_t pixel : p.pixels) ASSERT_EQ(pixel >> 24, 0xFFu);
        EXPECT_TRUE(seen.insert({static_cast<int>(id.set), id.index}).second) << "listed twice";
    }
}

TEST(Artwork, TheFrameHasAThreePixelGreyBorderAroundAWhiteInterior) {
    const Picture frame = PictureOf({PictureSet::img, 0});
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 59; ++x) {
            const bool border = x < 3 || y < 3 || x >= 56 || y >= 10;
            const Channels c = Split(frame.At(x, y));
            if (!border) {
                EXPECT_EQ(frame.At(x, y), kWhite) << x << "," << y;
                continue;
            }
            EXPECT_LE(std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}), 8) << "grey at " << x << "," << y;
            EXPECT_LT(c.r, 235) << "visible at " << x << "," << y;
        }
    }
    // The edge pieces are stretched along their length: they must not change along it.
    for (int x = 3; x < 56; ++x)
        for (int y : {0, 1, 2, 10, 11, 12}) EXPECT_EQ(frame.At(x, y), frame.At(3, y)) << x << "," << y;
    for (int y = 3; y < 10; ++y)
        for (int x : {0, 1, 2, 56, 57, 58}) EXPECT_EQ(frame.At(x, y), frame.At(x, 3)) << x << "," << y;
    EXPECT_LT(Brightness(frame.At(0, 5)), Brightness(frame.At(2, 5))) << "darkest outside";
}

TEST(Artwork, BlankIsPlainWhite) {
    const Picture blank = PictureOf({PictureSet::blank, 0});
    for (std::uint32_t pixel : blank.pixels) EXPECT_EQ(pixel, kWhite);
}

TEST(Artwork, EachLookHasItsColourFamily) {
    struct Family {
        std::int32_t look;
        PictureSet set;
        bool (*fits)(Channels);
    };
    const Family families[] = {
        {0, PictureSet::master, [](Channels c) { return c.g > c.r + 40 && c.g > c.b + 40; }},
        {1, PictureSet::blue, [](Channels c) { return c.b > c.r + 60 && c.b > c.g + 30; }},
        {2, PictureSet::bluemet, [](Channels c) { return c.b > c.r + 50 && c.b > c.g + 20; }},
        {3, PictureSet::goldmet, [](Channels c) { return c.r > c.b + 80 && c.g > c.b + 50 && c.r >= c.g; }},
        {4, PictureSet::grmet, [](Channels c) { return c.g > c.r + 30 && c.g > c.b + 30; }},
        {5, PictureSet::greymet, [](Channels c) { return std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}) < 16; }},
        {6, PictureSet::orangemet, [](Channels c) { return c.r > c.g + 50 && c.g > c.b + 40; }},
        {7, PictureSet::redmet, [](Channels c) { return c.r > c.g + 90 && std::abs(c.g - c.b) < 16; }},
    };
    for (const Family& f : families) {
        ASSERT_EQ(LookSet(f.look), f.set);
        const Channels block = Average(PictureOf({f.set, 2}));
        EXPECT_TRUE(f.fits(block)) << "look " << f.look << ": " << block.r << "," << block.g << "," << block.b;
    }
    EXPECT_FALSE(LookSet(8));
    EXPECT_FALSE(LookSet(-1));
}

TEST(Artwork, TheTrailingTilesFadeAndTheLooksDiffer) {
    std::set<std::uint32_t> middles;
    for (std::int32_t look = 0; look < 8; ++look) {
        const PictureSet set = *LookSet(look);
        const Picture trailing = PictureOf({set, 0}), middle = PictureOf({set, 1}), block = PictureOf({set, 2});
        EXPECT_GT(Brightness(trailing.At(4, 5)), Brightness(middle.At(4, 5))) << look;
        EXPECT_GT(Brightness(middle.At(4, 5)), Brightness(block.At(4, 5))) << look;
        EXPECT_NE(trailing.At(4, 5), kWhite) << look;
        EXPECT_TRUE(middles.insert(block.At(4, 5)).second) << "look " << look << " repeats another";
        // Uniform across (apart from the darker sides), so squeezing leaves no seams.
        for (int y = 0; y < 10; ++y)
            for (int x = 2; x < 7; ++x) EXPECT_EQ(block.At(x, y), block.At(1, y)) << look;
    }
}

TEST(Artwork, MetallicLooksShineNearTheTopAndGlowAgainNearTheBottom) {
    for (std::int32_t look = 2; look < 8; ++look) {
        const Picture block = PictureOf({*LookSet(look), 2});
        int darkest = 0;
        for (int y = 1; y < 9; ++y)
            if (Brightness(block.At(4, y)) < Brightness(block.At(4, darkest))) darkest = y;
        EXPECT_GT(Brightness(block.At(4, 1)), Brightness(block.At(4, 5)) + 40) << look;
        EXPECT_GE(darkest, 3) << look;
        EXPECT_LE(darkest, 6) << look;
        EXPECT_GT(Brightness(block.At(4, 8)), Brightness(block.At(4, darkest)) + 15) << look;
    }
}

}  // namespace
}  // namespace varnic
