#include "rules/rule_engine.h"

#include "kelvo_fixture.h"

namespace varnic::fakes {
namespace {

TEST(RuleConversion, KeepsTheMemberForLinesThatAreNotWholeSixteenBitNumbers) {
    RuleEngine engine;
    engine.Apply({"1", "1", "5", "2"});
    engine.Apply({" 0 ", "", "1.5", "3abc"});
    EXPECT_EQ(engine.RuleProcOn, 0);
    EXPECT_EQ(engine.RuleTimeOn, 1);
    EXPECT_EQ(engine.RuleMinutes, 2);
    EXPECT_EQ(engine.RuleProcChanges, 2);
    engine.Apply({"40000", "-32768", "2.5", "05"});
    EXPECT_EQ(engine.RuleProcOn, 0);
    EXPECT_EQ(engine.RuleTimeOn, -32768);
    EXPECT_EQ(engine.RuleMinutes, 2);
    EXPECT_EQ(engine.RuleProcChanges, 5);
}

// Runs ticks with the given process counts and answers the ticks (1-based) that cleaned.
std::vector<int> RunTicks(RuleEngine& engine, const std::vector<int>& counts) {
    std::vector<int> cleaned;
    for (std::size_t i = 0; i < counts.size(); ++i)
        engine.ProcessCountTick(counts[i], [&] { cleaned.push_back(static_cast<int>(i) + 1); });
    return cleaned;
}

TEST(ProcessCountTrigger, DefaultRuleCleansOnTheTickAfterEverySecondChange) {
    RuleEngine engine;
    engine.Apply({"1", "1", "1", "2"});
    engine.ProcNum = 50;
    // changes at ticks 2 and 4; clean at tick 5, its count 52 becomes ProcNum
    EXPECT_EQ(RunTicks(engine, {50, 51, 51, 52, 52, 52}), (std::vector<int>{5}));
    EXPECT_EQ(engine.ProcNum, 52);
    EXPECT_EQ(engine.ProcChangeCount, 0);
}

TEST(ProcessCountTrigger, TheCleaningToolsOwnStartAndEndAreTheNextTwoChanges) {
    RuleEngine engine;
    engine.Apply({"1", "1", "1", "2"});
    engine.ProcNum = 50;
    // tick 3 cleans at 51; empty.exe is seen at tick 4 (52) and its exit at tick 5 (51)
    EXPECT_EQ(RunTicks(engine, {51, 50, 51, 52, 51, 51}), (std::vector<int>{3, 6}));
}

TEST(ProcessCountTrigger, ADifferenceOfManyProcessesIsOneChange) {
    RuleEngine engine;
    engine.Apply({"1", "0", "9", "2"});
    engine.ProcNum = 50;
    RunTicks(engine, {53});
    EXPECT_EQ(engine.ProcChangeCount, 1);
}

TEST(ProcessCountTrigger, RuleThreeCountsToNineAndStartsOverWithoutCleaning) {
    RuleEngine engine;
    engine.Apply(Rule(3).defaults);
    std::vector<int> counts;
    for (int i = 1; i <= 12; ++i) counts.push_back(i % 2 ? 60 : 61);
    EXPECT_TRUE(RunTicks(engine, counts).empty());
    // nine changes at ticks 1..9, reset at tick 10 which also counts one, then 11 and 12
    EXPECT_EQ(engine.ProcChangeCount, 3);
}

TEST(ProcessCountTrigger, ZeroChangesPerCleaningCleansOnEveryTick) {
    RuleEngine engine;
    engine.Apply({"1", "0", "9", "0"});
    EXPECT_EQ(RunTicks(engine, {5, 5, 6}), (std::vector<int>{1, 2, 3}));
}

TEST(ProcessCountTrigger, AnOddSwitchValueStopsTheTriggerOnceTheCountIsReached) {
    RuleEngine engine;
    engine.Apply({"2", "0", "9", "1"});
    EXPECT_TRUE(RunTicks(engine, {1, 2, 3, 4}).empty());
    EXPECT_EQ(engine.ProcChangeCount, 1);
    EXPECT_EQ(engine.ProcNum, 1);
}

int MinutesThatClean(RuleEngine& engine, int minutes, bool on = true) {
    int cleans = 0;
    for (int m = 0; m < minutes; ++m) engine.MinuteTick(on, [&] { ++cleans; });
    return cleans;
}

TEST(TimedTrigger, CleansEveryNMinutes) {
    RuleEngine engine;
    engine.Apply({"0", "1", "5", "9"});
    EXPECT_EQ(MinutesThatClean(engine, 4), 0);
    EXPECT_EQ(MinutesThatClean(engine, 1), 1);
    EXPECT_EQ(MinutesThatClean(engine, 10), 2);
}

TEST(TimedTrigger, AMissedMinuteSilencesItForGood) {
    RuleEngine engine;
    engine.Apply({"0", "1", "1", "9"});
    EXPECT_EQ(MinutesThatClean(engine, 1, false), 0);
    EXPECT_EQ(MinutesThatClean(engine, 100), 0);
    EXPECT_EQ(engine.MinuteCount, 101);
}

TEST(TimedTrigger, SwitchingFromFiveMinutesToOneAfterThreeStaysSilent) {
    RuleEngine engine;
    engine.Apply(Rule(1).defaults);
    MinutesThatClean(engine, 3);
    engine.Apply(Rule(0).defaults);
    EXPECT_EQ(MinutesThatClean(engine, 60), 0);
}

TEST(TimedTrigger, ZeroOrNegativeMinutesNeverFire) {
    RuleEngine engine;
    engine.Apply({"0", "1", "0", "9"});
    EXPECT_EQ(MinutesThatClean(engine, 30), 0);
    engine.Apply({"0", "1", "-3", "9"});
    EXPECT_EQ(MinutesThatClean(engine, 30), 0);
}

TEST(TimedTrigger, TheMinuteCountStopsAtItsLimitAndTheProgramGoesOn) {
    RuleEngine engine;
    engine.Apply({"0", "0", "5", "9"});
    engine.MinuteCount = 32766;
    MinutesThatClean(engine, 5);
    EXPECT_EQ(engine.MinuteCount, 32767);
    engine.Apply({"0", "1", "32767", "9"});
    EXPECT_EQ(MinutesThatClean(engine, 1), 1);  // equal at the limit: cleans and starts over
    EXPECT_EQ(engine.MinuteCount, 0);
}

using RuleEngineInTheWindow = KelvoTest;

TEST_F(RuleEngineInTheWindow, TheMinuteTimerCleansThroughTheCommand1Action) {
    Load();  // default rule 0 with background cleaning on
    form.Timer2_Tick();
    EXPECT_EQ(Cleans(), 1);
    form.UserClickedCheck1();
    form.Timer2_Tick();
    EXPECT_EQ(Cleans(), 1);
}

TEST_F(RuleEngineInTheWindow, ChoosingARuleShowsItsNameAndLoadsIt) {
    Load();
    form.UserSelectedCb1(2);
    EXPECT_EQ(form.Label15.caption, "当前清理规则：大型游戏清理规则");
    EXPECT_EQ(form.MenuEntry("dangqianrule").caption, "当前清理规则：大型游戏清理规则");
    EXPECT_EQ(form.engine.RuleTimeOn, 0);
    EXPECT_EQ(form.engine.RuleMinutes, 9);
    EXPECT_EQ(files.files[At("\\LargeGameRule.ini")], "1\r\n0\r\n9\r\n5\r\n");
}

TEST_F(RuleEngineInTheWindow, AnUnconvertibleLineFourAtStartUpLeavesZeroAndCleansEveryTick) {
    files.files[At("\\AllRule.ini")] = "1\r\n1\r\n1\r\nabc\r\n";
    Load();
    EXPECT_EQ(form.engine.RuleProcChanges, 0);
    form.Timer1_Tick();
    form.Timer1_Tick();
    EXPECT_EQ(Cleans(), 2);
}

TEST_F(RuleEngineInTheWindow, FreezesTheProcessCountWhileBackgroundCleaningIsOff) {
    Load();
    form.UserClickedCheck1();
    processes.count = 99;
    form.Timer1_Tick();
    EXPECT_EQ(form.engine.ProcNum, 50);
    EXPECT_EQ(form.engine.ProcChangeCount, 0);
}

}  // namespace
}  // namespace varnic::fakes
