// The four cleaning rules and their files. Each rule file holds four lines: process-count
// trigger on ("1"/"0"), timed trigger on, minutes between timed cleanings, process-count
// changes per cleaning. The same rule index is used by both rule lists and the settings file.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "base/line_file.h"
#include "rules/rule_texts.h"

namespace varnic {

inline constexpr int kRuleCount = 4;

using RuleRecord = std::array<std::string, 4>;  // lines 1 to 4 of one rule file, as read

struct RuleInfo {
    RuleText name;
    const char* fileName;  // appended to the installation folder
    RuleRecord defaults;
};

// Rule 0 (the general rule) to rule 3 (the BT download rule), in list order.
const RuleInfo& Rule(int index);

class RuleFiles {
public:
    RuleFiles(LineFiles& files, std::string appDir) : files_(files), appDir_(std::move(appDir)) {}

    std::string PathOf(int index) const;

    // Reads one rule, creating a missing file with its defaults first. Lines the file does not
    // have are empty; further lines are not read. nullopt when the file cannot be read at all.
    std::optional<RuleRecord> Read(int index);

    // Writes all four records, rule 0 to 3. Answers the paths that could not be written; the
    // other files are still written.
    std::vector<std::string> WriteAll(const std::array<RuleRecord, kRuleCount>& records);

    // Writes every rule's defaults, in the order 0, 3, 1, 2. Answers the paths not written.
    std::vector<std::string> RestoreDefaults();

private:
    bool WriteRecord(int index, const RuleRecord& record);

    LineFiles& files_;
    std::string appDir_;
};

}  // namespace varnic
