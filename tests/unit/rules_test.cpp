// The rule files' lines, and the rule engine: its values and its two triggers.
#include <gtest/gtest.h>

#include "memory_ports.h"
#include "rules/rule_engine.h"
#include "rules/rule_files.h"

namespace varnic::fakes {
namespace {

TEST(RuleFiles, ReadFourLinesOfAFileThatIsThereHiddenOrNotAndNeverRewriteIt) {
    const std::pair<std::string, RuleRecord> cases[] = {{"1\r\n1\r\n5\r\n05", {"1", "1", "5", "05"}},
                                                        {"1\r\n1\r\n2\r\n 3 \r\n4\r\n", {"1", "1", "2", " 3 "}},
                                                        {"0\r1\r7\r3abc\r", {"0", "1", "7", "3abc"}},
                                                        {"\r\n\r\n9\r\n", {"", "", "9", ""}},
                                                        {"", {"", "", "", ""}}};
    for (bool hidden : {false, true})
        for (const auto& [bytes, record] : cases) {
            CallLog log;
            FakeFileSystem files;
            IdentityCodec codec;
            LineFiles lines(files, codec);
            files.log = &log;
            files.files["D:\\BTRule.ini"] = bytes;
            if (hidden) files.hidden.insert("D:\\BTRule.ini");
            EXPECT_EQ(RuleFiles(lines, "D:").Read(3), record) << bytes;
            EXPECT_EQ(log.calls, std::vector<std::string>{}) << bytes;
        }
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
    const struct {
        RuleRecord rule;
        std::vector<int> counts, cleaned;  // a count a tick from ProcNum 50; the ticks that cleaned, from 1
        int procNum, changes;              // after the last tick
    } cases[] = {
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
        {"0", "1", 0, "111", 0, 3}, {"1", "0", 0, std::string(30, '1'), 0, 30}, {"1", "-3", 0, std::string(30, '1'), 0, 30},
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
