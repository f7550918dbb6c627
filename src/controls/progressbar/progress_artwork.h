// The pictures the progress bar carries, made here as small pixel arrays: the frame, the
// eraser and three tiles for each of the eight looks.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "controls/progressbar/progress_canvas.h"

namespace varnic {

inline constexpr int kLookCount = 8;        // ProgressLook 0 to 7
inline constexpr int kTilesPerLook = 3;

// Pixels row by row from the top, each 0xAARRGGBB (in memory: blue, green, red, alpha, the
// order of a 32-bit Windows DIB).
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The picture set that a ProgressLook selects; nullopt for a number outside 0 to 7.
std::optional<PictureSet> LookSet(std::int32_t look);

// Every carried picture: img, blank, then the three tiles of each look in look order.
std::vector<ProgressPicture> AllPictures();

PictureSize SizeOf(ProgressPicture picture);
// The pixels of a carried picture; a tile index outside 0 to 2 gives the block tile.
Picture PictureOf(ProgressPicture picture);

}  // namespace varnic
