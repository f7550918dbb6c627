#include "rules/rule_engine.h"

#include <limits>

#include "base/numbers.h"

namespace varnic {
namespace {

void Convert(const std::string& line, std::int16_t& member) {
    if (auto value = WholeTextToInt16(line)) member = *value;
}

std::int16_t ToCount(int count) {
    return static_cast<std::int16_t>(std::min(count, static_cast<int>(std::numeric_limits<std::int16_t>::max())));
}

}  // namespace

void RuleEngine::Apply(const RuleRecord& record) {
    Convert(record[0], RuleProcOn);
    Convert(record[1], RuleTimeOn);
    Convert(record[2], RuleMinutes);
    Convert(record[3], RuleProcChanges);
}

void RuleEngine::ProcessCountTick(int currentCount, const std::function<void()>& clean) {
    const std::int16_t current = ToCount(currentCount);
    if (ProcChangeCount >= RuleProcChanges && RuleProcOn == 1) {
        ProcChangeCount = 0;
        ProcNum = current;
        clean();
    }
    if (ProcChangeCount >= RuleProcChanges && RuleProcOn == 0) ProcChangeCount = 0;
    if (current != ProcNum && ProcChangeCount < RuleProcChanges) {
        ProcNum = current;
        ++ProcChangeCount;
    }
}

void RuleEngine::MinuteTick(bool backgroundCleaningOn, const std::function<void()>& clean) {
    // The count stops at the 16-bit limit (about 22.7 days without a timed cleaning) instead of
    // overflowing; below it the trigger behaves exactly as before.
    if (MinuteCount < std::numeric_limits<std::int16_t>::max()) ++MinuteCount;
    if (MinuteCount == RuleMinutes && RuleTimeOn == 1 && backgroundCleaningOn) {
        clean();
        MinuteCount = 0;
    }
}

}  // namespace varnic
