// The 500 ms tick (figures, tray tip and gauge, hotkey texts, low-memory clean, process-count
// trigger) and the minute tick of the started main window, and the rule engine behind the triggers.
#include <gtest/gtest.h>

#include "fakes.h"

namespace varnic::fakes {
namespace {

TEST(MonitorTick, ShowsTheFiguresInEveryPlace) {
    auto tip = [](std::string available, std::string free, std::string used) {
        return "可用内存数：" + available + "M\r\n可用内存内存百分比：" + free + "%\r\n已用内存数：" + used + "M";
    };
    // the memory status; Label1 Label5 Label6 Label10 bar1; the tray tip
    const struct { MemoryStatus status; std::string figures, tip; } cases[] = {
        {{61, 512ull << 20, 200ull << 20}, "512M 200M 61% 39% 39", tip("200", "39", "312")},
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

TEST(RuleEngine, TakesWholeSixteenBitNumbersAndKeepsItsValueForAnyOtherLine) {
    RuleEngine e;
    const std::pair<RuleRecord, std::vector<int>> records[] = {{{"1", "1", "5", "2"}, {1, 1, 5, 2}},
                                                               {{" 0 ", "", "1.5", "3abc"}, {0, 1, 2, 2}},
                                                               {{"40000", "-32768", "2.5", "05"}, {0, -32768, 2, 5}}};
    for (const auto& [record, values] : records) {
        e.Apply(record);
        EXPECT_EQ((std::vector<int>{e.RuleProcOn, e.RuleTimeOn, e.RuleMinutes, e.RuleProcChanges}), values);
    }
}

TEST(RuleEngine, TheProcessCountTriggerCleansOnTheTickAfterItHasSeenEnoughChanges) {
    // a count a tick from ProcNum 50; the ticks that cleaned, from 1; ProcNum and the changes after the last tick
    const struct { RuleRecord rule; std::vector<int> counts, cleaned; int procNum, changes; } cases[] = {
        {{"1", "1", "1", "2"}, {50, 51, 51, 52, 52, 52}, {5}, 52, 0},
        {{"1", "1", "1", "2"}, {51, 50, 51, 52, 51, 51}, {3, 6}, 51, 0},  // the tool's own start and end
        {{"1", "0", "9", "2"}, {53}, {}, 53, 1},                          // many at once are one change
        {{"0", "0", "9", "9"}, {61, 60, 61, 60, 61, 60, 61, 60, 61, 60, 61, 60}, {}, 60, 3},  // off: counts to 9
        {{"1", "0", "9", "0"}, {50, 50, 51}, {1, 2, 3}, 51, 0},  // no changes asked: every tick
        {{"2", "0", "9", "1"}, {51, 52, 53, 54}, {}, 51, 1},     // an odd switch stops it once counted
    };
    for (const auto& c : cases) {
        RuleEngine engine;
        engine.Apply(c.rule);
        engine.ProcNum = 50;
        std::vector<int> cleaned;
        for (std::size_t tick = 0; tick < c.counts.size(); ++tick)
            engine.ProcessCountTick(c.counts[tick], [&] { cleaned.push_back(static_cast<int>(tick) + 1); });
        EXPECT_EQ(cleaned, c.cleaned) << c.rule[0] << c.rule[3] << c.counts.size();
        EXPECT_EQ((std::vector<int>{engine.ProcNum, engine.ProcChangeCount}), (std::vector<int>{c.procNum, c.changes}));
    }
}

TEST(RuleEngine, TheTimedTriggerCleansWhenTheMinutesEqualTheRuleWithBackgroundCleaningOn) {
    // the rule's lines 2 and 3, the minute count to start from, background cleaning at each minute; cleans, count after
    const std::tuple<const char*, const char*, int, std::string, int, int> rows[] = {
        {"1", "5", 0, std::string(15, '1'), 3, 0}, {"1", "1", 0, "0" + std::string(100, '1'), 0, 101},  // missed
        {"0", "1", 0, "111", 0, 3}, {"1", "0", 0, std::string(30, '1'), 0, 30}, {"1", "-3", 0, "111", 0, 3},
        {"1", "1", 3, std::string(60, '1'), 0, 63},  // a new rule, the old count
        {"1", "32767", 32765, "000", 0, 32767}, {"1", "32767", 32767, "1", 1, 0}};  // stops at its limit, cleans there
    for (const auto& [timeOn, minutes, from, on, cleans, count] : rows) {
        RuleEngine engine;
        engine.Apply({"0", timeOn, minutes, "9"});
        engine.MinuteCount = static_cast<std::int16_t>(from);
        int cleaned = 0;
        for (char minute : on) engine.MinuteTick(minute == '1', [&] { ++cleaned; });
        EXPECT_EQ((std::vector<int>{cleaned, engine.MinuteCount}), (std::vector<int>{cleans, count})) << minutes << on;
    }
}

}  // namespace
}  // namespace varnic::fakes
