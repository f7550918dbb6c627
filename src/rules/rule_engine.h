// When kelvo cleans by itself: the rule in effect (four numbers read from its rule file), the
// process-count trigger run from every monitor tick, and the timed trigger run every minute.
// Both act only while background cleaning (Check1) is on, and clean through the Command1 action.
#pragma once

#include <cstdint>
#include <functional>

#include "rules/rule_files.h"

namespace varnic {

class RuleEngine {
public:
    // Loads the four values of a rule record. A line that is not a whole number within 16 bits
    // (empty, "3abc", 40000) leaves its member as it was.
    void Apply(const RuleRecord& record);

    // One monitor tick with background cleaning on; `currentCount` is the process count now.
    void ProcessCountTick(int currentCount, const std::function<void()>& clean);

    // One minute of the minute timer; `backgroundCleaningOn` is Check1's state.
    void MinuteTick(bool backgroundCleaningOn, const std::function<void()>& clean);

    std::int16_t RuleProcOn = 0;
    std::int16_t RuleTimeOn = 0;
    std::int16_t RuleMinutes = 0;
    std::int16_t RuleProcChanges = 0;
    std::int16_t ProcNum = 0;
    std::int16_t ProcChangeCount = 0;
    std::int16_t MinuteCount = 0;
};

}  // namespace varnic
