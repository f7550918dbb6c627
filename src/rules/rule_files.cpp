#include "rules/rule_files.h"

namespace varnic {
namespace {

const RuleInfo kRules[kRuleCount] = {
    {RuleText::kAllRule, "\\AllRule.ini", {"1", "1", "1", "2"}},
    {RuleText::kSmallGameRule, "\\SmallGameRule.ini", {"1", "1", "5", "5"}},
    {RuleText::kLargeGameRule, "\\LargeGameRule.ini", {"1", "0", "9", "5"}},
    {RuleText::kBtRule, "\\BTRule.ini", {"0", "0", "9", "9"}},
};

}  // namespace

const RuleInfo& Rule(int index) { return kRules[index]; }

std::string RuleFiles::PathOf(int index) const { return appDir_ + Rule(index).fileName; }

bool RuleFiles::WriteRecord(int index, const RuleRecord& record) {
    return files_.Write(PathOf(index), std::vector<std::string>(record.begin(), record.end()));
}

std::optional<RuleRecord> RuleFiles::Read(int index) {
    const std::string path = PathOf(index);
    if (!files_.NameTaken(path)) WriteRecord(index, Rule(index).defaults);  // a failure shows in the read
    auto lines = files_.Read(path, 4);
    if (!lines) return std::nullopt;
    RuleRecord record;
    for (std::size_t i = 0; i < lines->size(); ++i) record[i] = (*lines)[i];
    return record;
}

std::vector<std::string> RuleFiles::WriteAll(const std::array<RuleRecord, kRuleCount>& records) {
    std::vector<std::string> failed;
    for (int index = 0; index < kRuleCount; ++index)
        if (!WriteRecord(index, records[index])) failed.push_back(PathOf(index));
    return failed;
}

std::vector<std::string> RuleFiles::RestoreDefaults() {
    std::vector<std::string> failed;
    for (int index : {0, 3, 1, 2})
        if (!WriteRecord(index, Rule(index).defaults)) failed.push_back(PathOf(index));
    return failed;
}

}  // namespace varnic
