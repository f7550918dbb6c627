// Xp_ProgressBar: what each setting of Value draws or refuses for a design, and the frame's
// nine pieces (cut to controls smaller than its corners, as fuzzing found). The pixels of its
// pictures on the screen are the Windows test's part.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/progressbar/xp_progress_bar.h"
#include "fakes.h"
#include "progress_bar_recorder.h"

namespace varnic {
namespace {

std::vector<int> Times(int count, int value) { return std::vector<int>(static_cast<std::size_t>(count), value); }

struct Journey { const char* name; int width; StoredDesign design; std::vector<int> before, after; const char* drawn; };

TEST(ProgressBar, EachSettingOfValueDrawsWhatItAddsOrIsRefused) {
    const StoredDesign moving{{"Style", 1}};
    const Journey journeys[] = {
        {"the programs' design", 100, HostBarDesign(), {}, {50}, "frame orangemet B4 B14 B24 B34 B44"},
        {"a rise waits four settings", 100, {}, {50}, Times(4, 60), ""},
        {"then grows a unit per setting", 100, {}, {50}, Times(5, 60), "B54"},
        {"and stops at the value", 100, {}, {50}, Times(30, 60), "B54"},
        {"a fall repaints", 100, {}, {50, 60, 60, 60, 60, 60}, {30, 30}, "frame B4 B14 B24 frame B4 B14 B24"},
        {"below the last value", 100, {}, {50, 60, 60, 60, 60, 60, 30}, {59}, "frame B4 B14 B24 B34 B44 B54"},
        {"the last value is no fall", 100, {}, {50, 60, 60, 60, 60, 60, 30}, {60}, ""},
        {"Min shows the frame", 100, {}, {70}, {0}, "frame"},
        {"the last block", 100, {}, {}, {100, 100, 100}, "frame B4 B14 B24 B34 B44 B54 B64 B74 B84 b94w3"},
        {"105 wide", 105, {}, {}, {100}, "frame B4 B14 B24 B34 B44 B54 B64 B74 B84 B94"},
        {"97 wide", 97, {}, {}, {100}, "frame B4 B14 B24 B34 B44 B54 B64 B74 B84"},
        {"Max 200 fills on", 100, {{"Max", 200}}, {100}, Times(10, 100), "B54"},
        {"the widest range", 100, {{"Max", 32767}}, {}, {32767, 32767},
         "frame B4 B14 B24 B34 B44 B54 B64 B74 B84 b94w3 b94w3"},
        {"a range of 0", 100, {{"Min", 50}, {"Max", 50}}, {}, {50, 50}, "frame"},
        {"a range of 32768", 100, {{"Max", 32768}}, {}, {1, 32768}, "frame"},
        {"the group", 100, moving, {}, {1, 1}, "b14 m9 t4 e4 b19 m14 t9"},
        {"at the end", 100, moving, Times(18, 1), Times(4, 1), "e89 t94 e94 b12 m7 t2 e2 b17 m12 t7"},
        {"the rest erased", 103, moving, Times(19, 1), {1, 1}, "e94 e99w1 b12 m7 t2"},
        {"Max restarts it", 100, moving, Times(7, 10), {100, 10}, "frame b14 m9 t4"},
        {"look 8 keeps the tiles", 100, {{"ProgressLook", 8}}, {}, {10}, "frame B4"},
        {"look -1 too", 100, {{"ProgressLook", -1}}, {}, {10}, "frame B4"},
        {"above Max", 100, {}, {}, {101, 100}, "Value can NOT be higher than Maximum ! frame B4 B14 B24 "
                                               "B34 B44 B54 B64 B74 B84 b94w3"},
        {"Min itself", 100, {{"Min", 10}, {"Value", 12}}, {}, {9, 10}, "Value can NOT be smaller than minimum ! frame"},
        {"Max is asked first", 100, {{"Min", 10}, {"Max", 5}}, {}, {7}, "Value can NOT be higher than Maximum !"},
        {"unchecked Value", 100, {{"Max", 50}, {"Value", 80}}, {}, {60}, "Value can NOT be higher than Maximum !"},
    };
    for (const Journey& j : journeys) {
        fakes::ProgressBarRecorder recorder;
        recorder.width = j.width;
        fakes::FakeMessages boxes;
        boxes.onShow = [&](const std::string& text) { recorder.Write(text); };
        XpProgressBar bar(recorder, boxes);
        bar.ReadProperties(j.design);
        EXPECT_EQ(recorder.drawn, "") << j.name << ": loading draws nothing";
        bar.Resize();
        for (int value : j.before) bar.SetValue(value);
        recorder.drawn.clear();
        for (int value : j.after) bar.SetValue(value);
        EXPECT_EQ(recorder.drawn + recorder.faults, j.drawn) << j.name;
        for (const auto& box : boxes.shown) EXPECT_TRUE(box.caption == "Error" && box.icon == MessageIcon::Critical);
        const bool refused = std::string(j.drawn).ends_with("!");
        EXPECT_EQ(bar.Value(), refused ? j.design.ReadProperty("Value", 0) : j.after.back()) << j.name;
    }
}

TEST(ProgressBar, TheFrameIsNinePiecesCutToTinyControls) {
    struct Row { int width, height; const char* drawn; };
    const Row rows[] = {
        {120, 25, "frame 0,0,3,3<0,0,3,3 117,0,3,3<56,0,3,3 117,22,3,3<56,10,3,3 0,22,3,3<0,10,3,3 3,0,114,3<3,0,12,3 "
                  "117,3,3,19<56,3,3,3 3,22,114,3<3,10,1,3 0,3,3,19<0,3,3,3 3,3,114,19<4,4,51,7"},
        {2, 17, "frame 0,0,2,3<0,0,2,3 0,0,2,3<57,0,2,3 0,14,2,3<57,10,2,3 0,14,2,3<0,10,2,3 0,3,2,11<57,3,2,3 "
                "0,3,2,11<0,3,2,3"},
        {100, 2, "frame 0,0,3,2<0,0,3,2 97,0,3,2<56,0,3,2 97,0,3,2<56,11,3,2 0,0,3,2<0,11,3,2 3,0,94,2<3,0,12,2 "
                 "3,0,94,2<3,11,1,2"},
        {0, 0, "frame"},
    };
    for (const Row& row : rows) {
        fakes::ProgressBarRecorder recorder;
        recorder.width = row.width, recorder.height = row.height, recorder.pieces = true;
        fakes::FakeMessages boxes;
        XpProgressBar bar(recorder, boxes);
        bar.Resize();
        EXPECT_EQ(recorder.drawn + recorder.faults, row.drawn) << row.width << "x" << row.height;
    }
}

}  // namespace
}  // namespace varnic
