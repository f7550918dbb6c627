// The progress bar's properties: defaults, the checks with their "Error" boxes, the
// property-changed notices and the stored design.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "controls/progressbar/stored_design.h"
#include "controls/progressbar/xp_progress_bar.h"

namespace varnic {
namespace {

class CountingCanvas final : public ProgressCanvas {
public:
    int Width() const override { return 100; }
    int Height() const override { return 17; }
    void Clear() override { ++operations; }
    void PaintPicture(ProgressPicture, PixelRect, PixelRect) override { ++operations; }
    int operations = 0;
};

struct Box {
    std::string text, caption;
    MessageIcon icon;
};

class RecordingBoxes final : public MessageBoxes {
public:
    void Show(const std::string& text, const std::string& caption, MessageIcon icon) override {
        shown.push_back({text, caption, icon});
    }
    std::vector<Box> shown;
};

struct Snapshot {
    std::int32_t min, max, value, style, look;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Snapshot& s) {
        return out << s.min << "/" << s.max << "/" << s.value << "/" << s.style << "/" << s.look;
    }
};

class Properties : public ::testing::Test {
protected:
    CountingCanvas canvas;
    RecordingBoxes boxes;
    XpProgressBar bar{canvas, boxes};
    std::vector<std::string> notices;

    void SetUp() override {
        bar.PropertyChanged = [this](const std::string& name) { notices.push_back(name); };
    }
    Snapshot Now() const { return {bar.Min(), bar.Max(), bar.Value(), bar.Style(), bar.ProgressLook()}; }
};

TEST_F(Properties, ANewControlHasTheDefaults) {
    EXPECT_EQ(Now(), (Snapshot{0, 100, 0, 0, 0}));
    EXPECT_EQ(canvas.operations, 0) << "nothing is drawn before the control is shown";
}

struct Refusal {
    const char* what;
    std::function<void(XpProgressBar&)> prepare;
    std::function<void(XpProgressBar&)> set;
    const char* message;
};

TEST_F(Properties, RejectedValuesShowTheirMessageAndChangeNothing) {
    const Refusal refusals[] = {
        {"Value above Max", [](XpProgressBar&) {}, [](XpProgressBar& b) { b.SetValue(101); },
         "Value can NOT be higher than Maximum !"},
        {"Value below Min", [](XpProgressBar& b) { b.SetMin(10); }, [](XpProgressBar& b) { b.SetValue(9); },
         "Value can NOT be smaller than minimum !"},
        {"negative Value", [](XpProgressBar&) {}, [](XpProgressBar& b) { b.SetValue(-1); },
         "Value can NOT be smaller than minimum !"},
        {"Min above Max", [](XpProgressBar&) {}, [](XpProgressBar& b) { b.SetMin(101); },
         "Minimum can NOT be biger than maximum !"},
        {"negative Min", [](XpProgressBar&) {}, [](XpProgressBar& b) { b.SetMin(-1); },
         "Minimum can NOT be smaller then 0 !"},
        {"Max below Min", [](XpProgressBar& b) { b.SetMin(20); }, [](XpProgressBar& b) { b.SetMax(19); },
         "Maximum can NOT be smaller than minimum !"},
    };
    for (const Refusal& r : refusals) {
        CountingCanvas canvas;
        RecordingBoxes boxes;
        XpProgressBar bar{canvas, boxes};
        bar.Resize();
        bar.SetValue(40);
        r.prepare(bar);
        std::vector<std::string> notices;
        bar.PropertyChanged = [&](const std::string& name) { notices.push_back(name); };
        const Snapshot before{bar.Min(), bar.Max(), bar.Value(), bar.Style(), bar.ProgressLook()};
        const int operations = canvas.operations;

        r.set(bar);

        ASSERT_EQ(boxes.shown.size(), 1u) << r.what;
        EXPECT_EQ(boxes.shown[0].text, r.message) << r.what;
        EXPECT_EQ(boxes.shown[0].caption, "Error") << r.what;
        EXPECT_EQ(boxes.shown[0].icon, MessageIcon::Critical) << r.what;
        EXPECT_EQ((Snapshot{bar.Min(), bar.Max(), bar.Value(), bar.Style(), bar.ProgressLook()}), before) << r.what;
        EXPECT_EQ(canvas.operations, operations) << r.what << ": nothing redrawn";
        EXPECT_TRUE(notices.empty()) << r.what;
    }
}

TEST_F(Properties, AMinimumAboveANegativeMaximumIsReportedAsAboveTheMaximumFirst) {
    bar.ReadProperties(StoredDesign{{"Max", -5}});
    bar.SetMin(-1);  // both above Max and below 0
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Minimum can NOT be biger than maximum !");
}

TEST_F(Properties, ValuesAtEitherEndOfTheRangeAreAccepted) {
    bar.SetMin(5);
    bar.SetMax(50);
    bar.SetValue(50);
    EXPECT_EQ(bar.Value(), 50);
    bar.SetValue(5);
    EXPECT_EQ(bar.Value(), 5);
    bar.SetMin(50);  // Min may meet Max
    EXPECT_EQ(bar.Min(), 50);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(notices, (std::vector<std::string>{"Min", "Max", "Value", "Value", "Min"}));
}

TEST_F(Properties, LoweringMaxBelowValueIsAcceptedAndLeavesValueAboveIt) {
    bar.SetValue(80);
    bar.SetMax(50);
    EXPECT_EQ(Now(), (Snapshot{0, 50, 80, 0, 0}));
    bar.SetMin(60);
    EXPECT_EQ(boxes.shown.size(), 1u) << "Min is still checked against the new Max";
    EXPECT_EQ(bar.Min(), 0);
}

TEST_F(Properties, StyleAndLookTakeAnyNumberAndRedrawNothing) {
    bar.SetStyle(-7);
    bar.SetProgressLook(8);
    bar.SetProgressLook(-1);
    EXPECT_EQ(Now(), (Snapshot{0, 100, 0, -7, -1}));
    EXPECT_EQ(canvas.operations, 0);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(notices, (std::vector<std::string>{"Style", "ProgressLook", "ProgressLook"}));
}

TEST_F(Properties, SettingAValueDrawsAtOnceButMinAndMaxDoNot) {
    bar.Resize();
    const int afterResize = canvas.operations;
    bar.SetMin(1);
    bar.SetMax(90);
    EXPECT_EQ(canvas.operations, afterResize);
    bar.SetValue(50);
    EXPECT_GT(canvas.operations, afterResize);
}

TEST_F(Properties, TheHostsDesignLoadsAsOrangeWithEverythingElseDefault) {
    bar.ReadProperties(HostBarDesign());
    EXPECT_EQ(Now(), (Snapshot{0, 100, 0, 0, 6}));
    EXPECT_EQ(notices, (std::vector<std::string>{"ProgressLook"}));
    EXPECT_EQ(canvas.operations, 0);
}

TEST_F(Properties, ADesignIsLoadedWithoutChecksMessagesOrDrawing) {
    bar.Resize();
    const int operations = canvas.operations;
    bar.ReadProperties(StoredDesign{{"Min", 30}, {"Max", 20}, {"Value", 90}, {"Style", 2}, {"ProgressLook", 3}});
    EXPECT_EQ(Now(), (Snapshot{30, 20, 90, 2, 3}));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(canvas.operations, operations);
}

class RecordingBag final : public PropertyBag {
public:
    std::int32_t ReadProperty(const std::string&, std::int32_t defaultValue) const override { return defaultValue; }
    void WriteProperty(const std::string& name, std::int32_t value, std::int32_t defaultValue) override {
        writes.emplace_back(name, value, defaultValue);
    }
    std::vector<std::tuple<std::string, std::int32_t, std::int32_t>> writes;
};

TEST_F(Properties, SavingWritesTheFivePropertiesInOrderWithTheirDefaults) {
    bar.SetMax(200);
    bar.SetValue(150);
    bar.SetMin(7);
    bar.SetStyle(1);
    bar.SetProgressLook(4);
    RecordingBag bag;
    bar.WriteProperties(bag);
    using W = std::tuple<std::string, std::int32_t, std::int32_t>;
    EXPECT_EQ(bag.writes, (std::vector<W>{W{"Min", 7, 0}, W{"Max", 200, 100}, W{"Value", 150, 0},
                                          W{"Style", 1, 0}, W{"ProgressLook", 4, 0}}));
}

TEST_F(Properties, ADesignOfDefaultsStoresNothingAndOthersRoundTrip) {
    StoredDesign empty;
    bar.WriteProperties(empty);
    EXPECT_TRUE(empty.Entries().empty());

    bar.SetProgressLook(6);
    StoredDesign saved;
    bar.WriteProperties(saved);
    EXPECT_EQ(saved.Entries(), HostBarDesign().Entries());

    bar.SetMax(300);
    bar.SetValue(250);
    bar.SetStyle(1);
    bar.WriteProperties(saved);
    CountingCanvas otherCanvas;
    XpProgressBar other{otherCanvas, boxes};
    other.ReadProperties(saved);
    EXPECT_EQ((Snapshot{other.Min(), other.Max(), other.Value(), other.Style(), other.ProgressLook()}), Now());
}

TEST(StoredDesign, AValueBackAtItsDefaultIsRemoved) {
    StoredDesign design{{"Max", 200}, {"Style", 1}};
    design.WriteProperty("Max", 100, 100);
    EXPECT_EQ(design.ReadProperty("Max", 100), 100);
    EXPECT_EQ(design.Entries().count("Max"), 0u);
    EXPECT_EQ(design.ReadProperty("Style", 0), 1);
    EXPECT_EQ(design.ReadProperty("Missing", -3), -3);
}

}  // namespace
}  // namespace varnic
