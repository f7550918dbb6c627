// The 500 ms tick (figures, tray tip and gauge, hotkey texts, low-memory clean, process-count
// trigger) and the minute tick of the started main window.
#include <gtest/gtest.h>

#include "fakes.h"

namespace varnic::fakes {
namespace {

TEST(MonitorTick, ShowsTheFiguresInEveryPlace) {
    auto tip = [](std::string available, std::string free, std::string used) {
        return "可用内存数：" + available + "M\r\n可用内存内存百分比：" + free + "%\r\n已用内存数：" + used + "M";
    };
    const struct {
        MemoryStatus status;
        std::string figures, tip;  // Label1 Label5 Label6 Label10 bar1
    } cases[] = {{{61, 512ull << 20, 200ull << 20}, "512M 200M 61% 39% 39", tip("200", "39", "312")},
                 {{80, 1610612736, 1572864}, "1536M 2M 80% 20% 20", tip("2", "20", "1534")},
                 {{37, 1023ull << 20, 1048575}, "1023M 1M 37% 63% 63", tip("1", "63", "1022")},
                 {{25, 16ull << 30, 12ull << 30}, "16384M 12288M 25% 75% 75", tip("12288", "75", "4096")}};  // no 4 GB cap
    for (const auto& c : cases) {
        Kelvo k;
        k.sys.memory = c.status;
        k.Do("tick");
        const kelvo::Form1& f = k.form;
        EXPECT_EQ(f.Label1.caption + " " + f.Label5.caption + " " + f.Label6.caption + " " + f.Label10.caption + " " +
                      std::to_string(f.bar1Value) + " " + k.sys.tip,
                  c.figures + " " + c.tip);
    }
}

TEST(MonitorTick, DrawsTheFreeMemoryGaugeAsTheTrayIconOnlyWithRemainingMemoryChosen) {
    Kelvo k;
    k.sys.memory = {61, 512ull << 20, 200ull << 20};
    k.Do("tick");
    EXPECT_EQ(k.log.calls,
              (std::vector<std::string>{"gauge clear", "gauge font Abadi MT Condensed Extra Bold", "gauge print 200",
                                        "gauge line 20,370 535,370 96,96,191", "gauge line 20,370 208,370 250,250,250",
                                        "gauge width 2", "gauge line 20,320 535,320 0,0,0",
                                        "gauge line 20,420 535,420 0,0,0", "gauge line 20,320 20,420 0,0,0",
                                        "gauge line 535,320 535,420 0,0,0", "gauge width 6", "tray gauge icon"}));
    k.log.calls.clear();
    k.Do("op1 tick tick");
    EXPECT_EQ(k.log.Of("gauge tray"), std::vector<std::string>{"tray program icon"});

    // A new icon only when the digits or the bar's length changed, or the gauge comes back.
    const struct { const char* steps; std::uint64_t availableMb; int icons; } rows[] = {
        {"op2 tick", 200, 1}, {"tick", 200, 1}, {"free=40 tick", 200, 2}, {"tick", 201, 3}};
    k.log.calls.clear();
    for (const auto& row : rows) {
        k.sys.memory.availPhys = row.availableMb << 20;
        k.Do(row.steps);
        EXPECT_EQ(k.log.Count("tray gauge icon"), row.icons) << row.steps << " at " << row.availableMb << " MB";
    }
}

TEST(MonitorTick, KeepsTheHotkeyTextsWithTheLetterAndCountsProcessesOnlyWithBackgroundCleaningOn) {
    Kelvo k;
    k.Do("load Text1=q tick");
    EXPECT_EQ(k.form.Check2.tooltip, "启用本功能后按下Ctrl+Q便可进行一次内存清理，同时清空剪贴板！");
    EXPECT_EQ(k.form.MenuEntry("nowyouhua").caption, "立即清理内存和剪贴板（热键：Ctrl+Q）");
    k.log.calls.clear();
    k.Do("tick Check1 tick tick");
    EXPECT_EQ(k.log.Count("count processes"), 1);
}

TEST(MonitorTick, CleansAtMostFiveTimesBelowTwentyPercentFreeUntilItRisesAboveAgain) {
    // the percent free at a tick, and the cleans counted after it
    const int ticks[][2] = {{15, 1}, {15, 2}, {15, 3}, {15, 4}, {15, 5}, {15, 5}, {15, 5},  {20, 5}, {19, 5},
                            {21, 5}, {19, 6}, {20, 6}, {10, 7}, {10, 8}, {10, 9}, {10, 10}, {10, 10}};
    Kelvo k;  // not started: no rule cleans in between
    for (const auto& [free, cleans] : ticks) {
        k.Do("free=" + std::to_string(free) + " tick");
        EXPECT_EQ(k.log.Count(kClean), cleans) << "after a tick at " << free << " % free";
    }
}

TEST(MonitorTick, FailedCleansOpenOneBoxAtATimeWhileTheTimersTickInsideIt) {
    Kelvo k;
    k.Do("load missing=empty.exe free=5");
    int open = 0, mostOpen = 0;
    k.sys.whileBoxIsOpen = [&](const std::string&) {
        mostOpen = std::max(mostOpen, ++open);
        if (open < 4) k.Do("tick minute tick");
        --open;
    };
    for (int tick = 0; tick < 10; ++tick) k.Do("tick minute");  // rule 0 cleans every minute
    EXPECT_EQ(mostOpen, 1);
    EXPECT_EQ(k.log.Count("box Varnic: 内存优化组件错误！"), 5 + 10);
}

TEST(RuleTriggers, CleanThroughTheCommand1ActionOnlyWithBackgroundCleaningOn) {
    Kelvo k;
    k.Do("load minute");  // rule 0: every minute
    EXPECT_EQ(k.log.Count(kClean), 1);
    k.sys.processes = 99;
    k.Do("Check1 minute tick tick");
    EXPECT_EQ(k.log.Count(kClean), 1);
    EXPECT_EQ(k.form.engine.ProcNum, 50);  // frozen
    k.Do("Check1 tick tick");              // 50 to 99 is one change; the second tick sees none
    EXPECT_EQ(k.form.engine.ProcChangeCount, 1);
    k.sys.processes = 40000;  // more than 16 bits hold
    k.form.GetProcNum();
    EXPECT_EQ(k.form.engine.ProcNum, 32767);

    Kelvo odd;  // a line 4 that does not convert leaves 0 changes a clean: every tick cleans
    odd.Put("\\AllRule.ini", "1\r\n1\r\n1\r\nabc\r\n");
    odd.Do("load tick tick");
    EXPECT_EQ(odd.log.Count(kClean), 2);
    odd.Do("cb1=2");
    const RuleEngine& e = odd.form.engine;
    EXPECT_EQ((std::vector<int>{e.RuleProcOn, e.RuleTimeOn, e.RuleMinutes, e.RuleProcChanges}),
              (std::vector<int>{1, 0, 9, 5}));
    EXPECT_EQ(odd.form.MenuEntry("dangqianrule").caption, "当前清理规则：大型游戏清理规则");
}

}  // namespace
}  // namespace varnic::fakes
