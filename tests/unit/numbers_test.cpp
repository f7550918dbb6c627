// Number reading (checked against strtod), rounding, grouping, and the argument string of a command line.
#include "base/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "base/command_line.h"

namespace varnic {
namespace {
// clang-format off

TEST(Numbers, TheLeadingNumberIsWhatStrtodReadsFromTheLongestDecimalAfterTheBlanks) {
    // a text, and the part of it strtod is to read
    const std::pair<const char*, const char*> cases[] = {
        {"05", "05"}, {"2.50", "2.50"}, {"", "0"}, {"   7", "7"}, {"3abc", "3"}, {"abc", "0"}, {"1.10", "1.10"},
        {"1.9.5", "1.9"}, {"-5", "-5"}, {"+4x", "+4"}, {".5", ".5"}, {"1.", "1."}, {"1e3", "1e3"}, {"2e", "2"},
        {"\t 12 34", "12"}, {"-", "0"}, {".", "0"}, {"1.9\r", "1.9"}, {"0x1A", "0"}, {"inf", "0"}, {"1e+", "1"},
        {"-.5e-1x", "-.5e-1"}};
    for (const auto& [text, number] : cases) EXPECT_EQ(LeadingNumber(text), std::strtod(number, nullptr)) << text;
}

TEST(Numbers, AWholeTextIsARuleValueWhenItIsOneNumberThatRoundsHalfToEvenIntoSixteenBits) {
    const std::pair<const char*, std::optional<std::int16_t>> cases[] = {
        {"1", 1}, {" 5 ", 5}, {"05", 5}, {"1.5", 2}, {"2.5", 2}, {"-3", -3}, {"32767", 32767}, {"-32768", -32768},
        {"32768", {}}, {"32767.5", {}}, {"-32768.5", -32768}, {"", {}}, {"   ", {}}, {"3abc", {}}, {"abc", {}},
        {"1 2", {}}, {"\t9\t", 9}, {"1e2", 100}, {"-", {}}, {".", {}}, {"2e", {}}, {"1e-", {}}};
    for (const auto& [text, value] : cases) EXPECT_EQ(WholeTextToInt16(text), value) << '"' << text << '"';
}

TEST(Numbers, RoundHalvesAwayFromZeroOrToEvenWithinThirtyTwoBits) {
    const struct { double in; std::optional<std::int32_t> away, even; } cases[] = {
        {2.5, 3, 2}, {-2.5, -3, -2}, {3.5, 4, 4}, {0.5, 1, 0}, {1.4999, 1, 1}, {1.5, 2, 2}, {-0.4, 0, 0},
        {0.999999046, 1, 1}, {2147483647.0, 2147483647, 2147483647}, {2147483647.5, {}, {}}, {-2147483649.0, {}, {}},
        {1e12, {}, {}}, {std::nan(""), {}, {}}};
    for (const auto& c : cases)
        EXPECT_EQ(std::pair(RoundHalfAway(c.in), RoundHalfEven(c.in)), std::pair(c.away, c.even)) << c.in;
}

TEST(Numbers, GroupThousandsWithCommasAndPrintZeroAsNothing) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, ""}, {7, "7"}, {100, "100"}, {1000, "1,000"}, {1024, "1,024"}, {196608, "196,608"}, {-1024, "-1,024"},
        {20971520, "20,971,520"}, {std::numeric_limits<std::int64_t>::min(), "-9,223,372,036,854,775,808"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(FormatGrouped(value), text) << value;
}

TEST(ArgumentString, DropsTheProgramHoweverItWasWritten) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Program Files\\V\\kelvo.exe -sendme", "-sendme"},  // as the updater starts it
        {"\"C:\\Program Files\\V\\kelvo.exe\" -sendme", "-sendme"}, {"\"kelvo\" -SENDME", "-SENDME"},
        {"c:\\program files\\v\\KELVO.EXE -sendme", "-sendme"}, {"kelvo.exe -sendme", "-sendme"},
        {"\"C:\\Old Folder\\kelvo.exe\" -sendme", "-sendme"}, {"kelvo.exe  -sendme x", "-sendme x"}, {"", ""},
        {"C:\\Program Files\\V\\kelvo.exe", ""}, {"\"unclosed -sendme", ""},
        {"C:\\Program Files\\V\\kelvo.exe2 -sendme", "Files\\V\\kelvo.exe2 -sendme"}};
    for (const auto& [line, arguments] : cases)
        EXPECT_EQ(ArgumentString(line, "C:\\Program Files\\V\\kelvo.exe"), arguments) << line;
}

// clang-format on
}  // namespace
}  // namespace varnic
