// The carried pictures. Tiles are uniform across and shaded down their height, so the bar
// may stretch them to any height and squeeze them to any width without seams: the plain
// looks have a soft band of light across the middle, the metallic looks a bright highlight
// near the top, a darker body and a reflected glow near the bottom. Within a look the block
// tile is the full colour and the two tiles that trail the moving group fade towards white.
#include "controls/progressbar/progress_artwork.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace varnic {
namespace {

constexpr int kFrameWidth = 59;
constexpr int kFrameHeight = 13;
constexpr int kTileWidth = 8;
constexpr int kTileHeight = 10;

struct Rgb {
    double r, g, b;
};

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

Rgb Mix(Rgb from, Rgb to, double amount) {
    return {from.r + (to.r - from.r) * amount, from.g + (to.g - from.g) * amount,
            from.b + (to.b - from.b) * amount};
}

std::uint32_t Pack(Rgb c) {
    auto channel = [](double v) { return static_cast<std::uint32_t>(std::clamp(std::lround(v), 0L, 255L)); };
    return 0xFF000000u | channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
}

// Light along a tile's height, row 0 at the top: above 0 mixes towards white, below 0
// towards black.
constexpr std::array<double, kTileHeight> kPlainShade{0.10, 0.30, 0.50, 0.62, 0.55, 0.38, 0.20, 0.05, -0.06, -0.22};
constexpr std::array<double, kTileHeight> kMetalShade{0.35, 0.80, 0.58, 0.22, -0.04, -0.18, -0.12, 0.08, 0.28, -0.32};

struct Look {
    PictureSet set;
    Rgb base;
    bool metallic;
};

constexpr std::array<Look, kLookCount> kLooks{{
    {PictureSet::master, {38, 170, 38}, false},
    {PictureSet::blue, {36, 92, 214}, false},
    {PictureSet::bluemet, {44, 96, 186}, true},
    {PictureSet::goldmet, {196, 152, 30}, true},
    {PictureSet::grmet, {42, 140, 56}, true},
    {PictureSet::greymet, {124, 126, 132}, true},
    {PictureSet::orangemet, {232, 116, 16}, true},
    {PictureSet::redmet, {196, 34, 34}, true},
}};

// How far each tile of a look fades towards white: trailing, middle, block.
constexpr std::array<double, kTilesPerLook> kTileFade{0.62, 0.32, 0.0};

const Look* FindLook(PictureSet set) {
    for (const Look& look : kLooks)
        if (look.set == set) return &look;
    return nullptr;
}

Picture Filled(int width, int height, std::uint32_t pixel) {
    return {width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width * height), pixel)};
}

// A 3-pixel border of three greys, darkest outside, around a white interior; the outermost
// corner pixels are lighter so the corners read as slightly rounded.
Picture Frame() {
    constexpr std::array<Rgb, 3> rings{{{118, 120, 124}, {178, 180, 184}, {222, 223, 226}}};
    constexpr Rgb corner{168, 170, 174};
    Picture frame = Filled(kFrameWidth, kFrameHeight, Pack(kWhite));
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            const int ring = std::min({x, y, kFrameWidth - 1 - x, kFrameHeight - 1 - y});
            if (ring >= 3) continue;
            const bool outerCorner = (x == 0 || x == kFrameWidth - 1) && (y == 0 || y == kFrameHeight - 1);
            frame.pixels[static_cast<std::size_t>(y * kFrameWidth + x)] = Pack(outerCorner ? corner : rings[ring]);
        }
    }
    return frame;
}

Picture Tile(const Look& look, int index) {
    const auto& shade = look.metallic ? kMetalShade : kPlainShade;
    Picture tile = Filled(kTileWidth, kTileHeight, 0);
    for (int y = 0; y < kTileHeight; ++y) {
        const double s = shade[static_cast<std::size_t>(y)];
        Rgb row = s >= 0 ? Mix(look.base, kWhite, s) : Mix(look.base, kBlack, -s);
        row = Mix(row, kWhite, kTileFade[static_cast<std::size_t>(index)]);
        for (int x = 0; x < kTileWidth; ++x) {
            // The outermost columns a shade darker: neighbouring blocks stay apart when squeezed.
            const bool side = x == 0 || x == kTileWidth - 1;
            tile.pixels[static_cast<std::size_t>(y * kTileWidth + x)] = Pack(side ? Mix(row, kBlack, 0.08) : row);
        }
    }
    return tile;
}

}  // namespace

std::optional<PictureSet> LookSet(std::int32_t look) {
    if (look < 0 || look >= kLookCount) return std::nullopt;
    return kLooks[static_cast<std::size_t>(look)].set;
}

std::vector<ProgressPicture> AllPictures() {
    std::vector<ProgressPicture> all{{PictureSet::img, 0}, {PictureSet::blank, 0}};
    for (const Look& look : kLooks)
        for (int index = 0; index < kTilesPerLook; ++index) all.push_back({look.set, index});
    return all;
}

PictureSize SizeOf(ProgressPicture picture) {
    if (picture.set == PictureSet::img) return {kFrameWidth, kFrameHeight};
    return {kTileWidth, kTileHeight};
}

Picture PictureOf(ProgressPicture picture) {
    if (picture.set == PictureSet::img) return Frame();
    const Look* look = FindLook(picture.set);
    if (look == nullptr) return Filled(kTileWidth, kTileHeight, Pack(kWhite));  // blank
    return Tile(*look, std::clamp(picture.index, 0, kTilesPerLook - 1));
}

}  // namespace varnic
