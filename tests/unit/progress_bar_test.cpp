// Xp_ProgressBar: what each setting of Value draws or refuses for a design, the frame's nine pieces,
// and its pictures' sizes, shapes and shading.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "controls/progressbar/xp_progress_bar.h"
#include "fakes.h"
#include "progress_bar_recorder.h"

namespace varnic {
namespace {

std::vector<int> Times(int count, int value) { return std::vector<int>(static_cast<std::size_t>(count), value); }

struct Journey {  // pieces: the frame's nine pieces too, cut to controls smaller than its corners (as fuzzing found)
    const char* name; int width; StoredDesign design; std::vector<int> before, after; const char* drawn;
    int height = 17; bool pieces = false;
};

TEST(ProgressBar, EachSettingOfValueDrawsWhatItAddsOrIsRefused) {
    const StoredDesign moving{{"Style", 1}};
    const Journey journeys[] = {
        {"the programs' design", 100, HostBarDesign(), {}, {50}, "frame B4 B14 B24 B34 B44"},
        {"a rise waits four settings", 100, {}, {50}, Times(4, 60), ""},
        {"then grows a unit per setting", 100, {}, {50}, Times(5, 60), "B54"},
        {"and stops at the value", 100, {}, {50}, Times(30, 60), "B54"},
        {"a fall repaints", 100, {}, {50, 60, 60, 60, 60, 60}, {30, 30}, "frame B4 B14 B24 frame B4 B14 B24"},
        {"below the last value", 100, {}, {50, 60, 60, 60, 60, 60, 30}, {59}, "frame B4 B14 B24 B34 B44 B54"},
        {"the last value is no fall", 100, {}, {50, 60, 60, 60, 60, 60, 30}, {60}, ""},
        {"Min shows the frame", 100, {}, {70}, {0}, "frame"},
        {"the last block", 100, {}, {}, {100, 100, 100}, "frame B4 B14 B24 B34 B44 B54 B64 B74 B84 b94w3"},
        {"97 wide", 97, {}, {}, {100}, "frame B4 B14 B24 B34 B44 B54 B64 B74 B84"},
        {"Max 200 fills on", 100, {{"Max", 200}}, {100}, Times(10, 100), "B54"},
        {"the widest range", 100, {{"Max", 32767}}, {}, {32767, 32767},
         "frame B4 B14 B24 B34 B44 B54 B64 B74 B84 b94w3 b94w3"},
        {"a range of 0", 100, {{"Min", 50}, {"Max", 50}}, {}, {50, 50}, "frame"},
        {"a range of 32768", 100, {{"Max", 32768}}, {}, {1, 32768}, "frame"},
        {"at the end", 100, moving, Times(18, 1), Times(4, 1), "e89 t94 e94 b12 m7 t2 e2 b17 m12 t7"},
        {"the rest erased", 103, moving, Times(19, 1), {1, 1}, "e94 e99w1 b12 m7 t2"},
        {"Max restarts it", 100, moving, Times(7, 10), {100, 10}, "frame b14 m9 t4"},
        {"look 8 keeps the tiles", 100, {{"ProgressLook", 8}}, {}, {10}, "frame B4"},
        {"above Max", 100, {}, {}, {101, 100}, "Value can NOT be higher than Maximum ! frame B4 B14 B24 "
                                               "B34 B44 B54 B64 B74 B84 b94w3"},
        {"Min itself", 100, {{"Min", 10}, {"Value", 12}}, {}, {9, 10}, "Value can NOT be smaller than minimum ! frame"},
        {"Max is asked first", 100, {{"Min", 10}, {"Max", 5}}, {}, {7}, "Value can NOT be higher than Maximum !"},
        {"unchecked Value", 100, {{"Max", 50}, {"Value", 80}}, {}, {60}, "Value can NOT be higher than Maximum !"},
        {"120x25", 120, {}, {}, {},
         "frame 0,0,3,3<0,0,3,3 117,0,3,3<56,0,3,3 117,22,3,3<56,10,3,3 0,22,3,3<0,10,3,3 3,0,114,3<3,0,12,3 "
         "117,3,3,19<56,3,3,3 3,22,114,3<3,10,1,3 0,3,3,19<0,3,3,3 3,3,114,19<4,4,51,7", 25, true},
        {"2x17", 2, {}, {}, {}, "frame 0,0,2,3<0,0,2,3 0,0,2,3<57,0,2,3 0,14,2,3<57,10,2,3 0,14,2,3<0,10,2,3 "
         "0,3,2,11<57,3,2,3 0,3,2,11<0,3,2,3", 17, true},
        {"100x2", 100, {}, {}, {}, "frame 0,0,3,2<0,0,3,2 97,0,3,2<56,0,3,2 97,0,3,2<56,11,3,2 0,0,3,2<0,11,3,2 "
         "3,0,94,2<3,0,12,2 3,0,94,2<3,11,1,2", 2, true},
    };
    for (const Journey& j : journeys) {
        fakes::ProgressBarRecorder recorder;
        recorder.width = j.width, recorder.height = j.height, recorder.pieces = j.pieces;
        fakes::CallLog log;
        fakes::FakeSystem boxes{log};
        boxes.whileBoxIsOpen = [&](const std::string& text) { recorder.Write(text); };
        XpProgressBar bar(recorder, boxes);
        bar.ReadProperties(j.design);
        recorder.drawn.clear();
        bar.Resize();
        for (int value : j.before) bar.SetValue(value);
        if (!j.pieces) recorder.drawn.clear();  // the frame's rows show what the resize drew
        for (int value : j.after) bar.SetValue(value);
        EXPECT_EQ(recorder.drawn + recorder.faults, j.drawn) << j.name;
        for (const auto& box : log.calls) EXPECT_TRUE(box.starts_with("box Error (critical): ")) << box;
        const bool kept = j.after.empty() || std::string(j.drawn).ends_with("!");  // refused: Value stays
        EXPECT_EQ(bar.Value(), kept ? j.design.ReadProperty("Value", 0) : j.after.back()) << j.name;
    }
}

TEST(ProgressBar, PicturesAreAGreyFrameAroundWhiteAndThreeShadedTilesOfEachLook) {
    std::map<PictureSet, std::vector<Picture>> looks;  // each look's tiles in order: trailing, middle, block
    for (const ProgressPicture& id : AllPictures()) {
        const Picture p = PictureOf(id);
        const bool frame = id.set == PictureSet::img, tile = id.set > PictureSet::blank;
        const auto size = frame ? std::tuple(59, 13, 59, 13) : std::tuple(8, 10, 8, 10);
        ASSERT_EQ(std::tuple(p.width, p.height, SizeOf(id).width, SizeOf(id).height), size);
        std::string kinds, expected;  // W white, F grey, c colour, ? see-through
        for (int i = 0, x = 0, y = 0; i < p.width * p.height; ++i, x = i % p.width, y = i / p.width) {
            const std::uint32_t c = p.pixels[static_cast<std::size_t>(i)];
            const int r = c >> 16 & 255, g = c >> 8 & 255, b = c & 255;
            const bool grey = std::max({r, g, b}) - std::min({r, g, b}) < 16 && r < 235;
            kinds += c >> 24 != 255 ? '?' : r + g + b == 765 ? 'W' : grey ? 'F' : 'c';
            expected += tile ? (grey ? 'F' : 'c') : frame && std::min({x, y, 58 - x, 12 - y}) < 3 ? 'F' : 'W';
        }
        EXPECT_EQ(kinds, expected) << static_cast<int>(id.set) << "/" << id.index;
        if (tile) {
            EXPECT_EQ(std::size_t(id.index), looks[id.set].size());
            looks[id.set].push_back(p);
        }
    }
    // Eight looks of three tiles that fade towards white from the block to the trailing tile; a tile is the same
    // across but for its outermost columns, a shade darker in every channel so squeezed blocks stay apart; the
    // metallic looks are brightest near the top, the plain ones (master, blue) in the middle.
    ASSERT_EQ(looks.size(), 8u);
    auto pixel = [](const Picture& p, int x, int y) { return p.pixels[std::size_t(y * p.width + x)]; };
    auto at = [&](const Picture& p, int x, int y, int k) { return int(pixel(p, x, y) >> (16 - 8 * k) & 255); };
    auto sum = [&](const Picture& p, int x, int y) { return at(p, x, y, 0) + at(p, x, y, 1) + at(p, x, y, 2); };
    auto lighter = [&](const Picture& a, int ax, const Picture& b, int bx, int y) {
        bool all = sum(a, ax, y) > sum(b, bx, y);
        for (int k = 0; k < 3; ++k) all &= at(a, ax, y, k) >= at(b, bx, y, k);
        return all;
    };
    for (const auto& [set, tiles] : looks) {
        ASSERT_EQ(tiles.size(), 3u) << static_cast<int>(set);
        int brightest = 0;
        for (int y = 0; y < 10; ++y) {
            if (sum(tiles[2], 3, y) > sum(tiles[2], 3, brightest)) brightest = y;
            for (int i = 0; i < 3; ++i)
                for (int x = 0; x < 8; ++x) {
                    const bool side = x == 0 || x == 7;
                    EXPECT_TRUE(side || pixel(tiles[i], x, y) == pixel(tiles[i], 3, y));
                    EXPECT_TRUE(!side || lighter(tiles[i], 3, tiles[i], x, y)) << int(set) << "/" << i;
                    EXPECT_TRUE(i == 2 || lighter(tiles[i], x, tiles[i + 1], x, y)) << int(set) << "/" << i;
                }
        }
        EXPECT_EQ(brightest < 3, set != PictureSet::master && set != PictureSet::blue) << static_cast<int>(set);
    }
}

}  // namespace
}  // namespace varnic
