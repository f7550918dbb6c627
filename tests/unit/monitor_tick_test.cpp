#include "kelvo_fixture.h"

namespace varnic::fakes {
namespace {

using MonitorTick = KelvoTest;

struct FiguresCase {
    std::uint32_t load;
    std::uint64_t total, available;
    const char *label1, *label5, *label6, *label10;
    int bar;
    const char* tip;
};

TEST_F(MonitorTick, ShowsTheFiguresInEveryPlace) {
    const FiguresCase cases[] = {
        {61, 512ull << 20, 200ull << 20, "512M", "200M", "61%", "39%", 39,
         "可用内存数：200M\r\n可用内存内存百分比：39%\r\n已用内存数：312M"},
        {80, 1610612736, 1572864, "1536M", "2M", "80%", "20%", 20,
         "可用内存数：2M\r\n可用内存内存百分比：20%\r\n已用内存数：1534M"},
        {37, 1023ull << 20, 1048575, "1023M", "1M", "37%", "63%", 63,
         "可用内存数：1M\r\n可用内存内存百分比：63%\r\n已用内存数：1022M"},
        // 64-bit figures: a 16 GB machine shows 16384M, not a capped 2048M or 4096M.
        {25, 16ull << 30, 12ull << 30, "16384M", "12288M", "25%", "75%", 75,
         "可用内存数：12288M\r\n可用内存内存百分比：75%\r\n已用内存数：4096M"},
    };
    for (const auto& c : cases) {
        memory.status = {c.load, c.total, c.available};
        form.Timer1_Tick();
        EXPECT_EQ(form.Label1.caption, c.label1);
        EXPECT_EQ(form.Label5.caption, c.label5);
        EXPECT_EQ(form.Label6.caption, c.label6);
        EXPECT_EQ(form.Label10.caption, c.label10);
        EXPECT_EQ(form.bar1Value, c.bar);
        EXPECT_EQ(tray.tip, c.tip);
    }
}

TEST_F(MonitorTick, KeepsTheHotkeyTextsFollowingTheLetter) {
    Load();
    form.UserEditedText1("q");
    form.Timer1_Tick();
    EXPECT_EQ(form.Check2.tooltip, "启用本功能后按下Ctrl+Q便可进行一次内存清理，同时清空剪贴板！");
    EXPECT_EQ(form.MenuEntry("nowyouhua").caption, "立即清理内存和剪贴板（热键：Ctrl+Q）");
}

TEST_F(MonitorTick, CleansAtMostFiveTimesBelowTwentyPercentUntilMemoryRecovers) {
    memory.status.memoryLoad = 85;  // 15 % free
    for (int tick = 0; tick < 10; ++tick) form.Timer1_Tick();
    EXPECT_EQ(Cleans(), 5);
    EXPECT_EQ(form.LowMemoryCleanCount, 5);

    memory.status.memoryLoad = 80;  // exactly 20 %: neither cleans nor re-arms
    form.Timer1_Tick();
    EXPECT_EQ(Cleans(), 5);
    EXPECT_EQ(form.LowMemoryCleanCount, 5);

    memory.status.memoryLoad = 79;  // 21 % re-arms
    form.Timer1_Tick();
    EXPECT_EQ(form.LowMemoryCleanCount, 0);
    memory.status.memoryLoad = 90;
    for (int tick = 0; tick < 7; ++tick) form.Timer1_Tick();
    EXPECT_EQ(Cleans(), 10);
}

TEST_F(MonitorTick, ALowMemoryCleanThatFailsReportsAndTheTickGoesOn) {
    launcher.missing.insert(empty);
    memory.status.memoryLoad = 95;
    form.Timer1_Tick();
    form.Timer1_Tick();
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"内存优化组件错误！", "内存优化组件错误！"}));
    EXPECT_EQ(form.LowMemoryCleanCount, 2);
}

TEST_F(MonitorTick, FailedLowMemoryCleansOpenOneBoxAtATimeAndAtMostFive) {
    launcher.missing.insert(empty);
    memory.status.memoryLoad = 95;
    int open = 0, mostOpen = 0;
    messages.onShow = [&](const std::string&) {  // the timers keep ticking while the box is open
        mostOpen = std::max(mostOpen, ++open);
        for (int tick = 0; tick < 3 && open < 4; ++tick) form.Timer1_Tick(), form.Timer2_Tick();
        --open;
    };
    for (int tick = 0; tick < 10; ++tick) form.Timer1_Tick();
    EXPECT_EQ(mostOpen, 1);
    EXPECT_EQ(messages.shown.size(), 5u);
}

TEST_F(MonitorTick, DrawsTheGaugeIntoTheTrayOnlyWithRemainingMemoryChosen) {
    memory.status = {61, 512ull << 20, 200ull << 20};
    form.Timer1_Tick();
    EXPECT_EQ(tray.gaugeIcons, 1);
    EXPECT_EQ(gauge.font, "Abadi MT Condensed Extra Bold");
    EXPECT_EQ(gauge.printed, (std::vector<std::string>{"200"}));
    ASSERT_EQ(gauge.lines.size(), 6u);
    const int W = gauge.innerWidth;
    EXPECT_EQ(gauge.lines[0].x2, W - 20);
    EXPECT_EQ(gauge.lines[0].colour, (Rgb{96, 96, 191}));
    EXPECT_EQ(gauge.lines[0].width, 6);
    EXPECT_EQ(gauge.lines[1].x2, static_cast<int>((W - 20) * 39 / 100.0));
    EXPECT_EQ(gauge.lines[1].colour, (Rgb{250, 250, 250}));
    for (int i = 2; i < 6; ++i) {
        EXPECT_EQ(gauge.lines[i].width, 2);
        EXPECT_EQ(gauge.lines[i].colour, (Rgb{0, 0, 0}));
    }
    EXPECT_EQ(gauge.lineWidth, 6);  // left for the next drawing

    form.UserClickedOp1();
    form.Timer1_Tick();
    form.Timer1_Tick();
    EXPECT_EQ(tray.gaugeIcons, 1);
}

TEST_F(MonitorTick, CountsProcessesOnlyWithBackgroundCleaningOn) {
    form.Timer1_Tick();
    EXPECT_EQ(processes.calls, 0);
    form.UserClickedCheck1();
    form.Timer1_Tick();
    EXPECT_EQ(processes.calls, 1);
}

}  // namespace
}  // namespace varnic::fakes
