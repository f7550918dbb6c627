#include "monitor/clean_report.h"

#include "base/numbers.h"
#include "base/text_table.h"
#include "monitor/clean_texts.h"

namespace varnic::kelvo {
namespace {

std::string TwoDigits(int value) {
    std::string digits = Decimal(value);
    if (digits.size() < 2) digits.insert(digits.begin(), '0');
    return digits;
}

}  // namespace

std::int64_t FreedMegabytes(std::uint64_t availableBefore, std::uint64_t availableAfter) {
    if (availableAfter <= availableBefore) return 0;
    return static_cast<std::int64_t>((availableAfter - availableBefore) >> 20);
}

CleanReport ReportClean(CleanOrigin origin, std::uint64_t availableBefore, std::uint64_t availableAfter,
                        ClockTime endedAt, Language language) {
    const std::string freed = Decimal(FreedMegabytes(availableBefore, availableAfter));
    CleanReport report;
    if (origin == CleanOrigin::kUser) report.balloon = Fill(Text(CleanText::kFreedBalloon, language), {freed});
    report.tipLine = Fill(Text(CleanText::kLastCleanTipLine, language),
                          {freed, TwoDigits(endedAt.hour) + ":" + TwoDigits(endedAt.minute)});
    return report;
}

}  // namespace varnic::kelvo
