// What kelvo tells the user once a clean has ended: the memory it freed, in a balloon for a
// clean the user asked for (the button, the tray entry, the hotkey) and in a line of the tray
// tip for every clean, so that the tip always names the last one; background cleans (low
// memory, the rules) never pop up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/language.h"

namespace varnic::kelvo {

enum class CleanOrigin { kUser, kBackground };

struct ClockTime {
    int hour = 0, minute = 0;
};

struct CleanReport {
    std::optional<std::string> balloon;  // the balloon's text, for a clean the user asked for
    std::string tipLine;                 // the tray tip's line about the last clean
};

// Whole megabytes by which the available memory grew, rounded down; 0 when it did not grow.
std::int64_t FreedMegabytes(std::uint64_t availableBefore, std::uint64_t availableAfter);

CleanReport ReportClean(CleanOrigin origin, std::uint64_t availableBefore, std::uint64_t availableAfter,
                        ClockTime endedAt, Language language);

}  // namespace varnic::kelvo
