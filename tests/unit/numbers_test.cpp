#include "base/numbers.h"

#include <gtest/gtest.h>

#include <cmath>

namespace varnic {
namespace {

struct RoundCase { double in; std::int32_t away; std::int32_t even; };

TEST(Rounding, HalvesGoAwayFromZeroOrToEvenAsAsked) {
    const RoundCase cases[] = {
        {2.5, 3, 2}, {-2.5, -3, -2}, {3.5, 4, 4}, {0.5, 1, 0}, {1.4999, 1, 1},
        {1536.0, 1536, 1536}, {1.5, 2, 2}, {0.999999046, 1, 1}, {-0.4, 0, 0}, {0.0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfAway(c.in), c.away) << c.in;
        EXPECT_EQ(RoundHalfEven(c.in), c.even) << c.in;
    }
}

TEST(Rounding, ResultsOutsideThirtyTwoBitsAreRefused) {
    EXPECT_FALSE(RoundHalfAway(2147483647.5));
    EXPECT_FALSE(RoundHalfAway(-2147483649.0));
    EXPECT_FALSE(RoundHalfEven(1e12));
    EXPECT_FALSE(RoundHalfAway(std::nan("")));
    EXPECT_EQ(RoundHalfAway(2147483647.0), 2147483647);
}

struct LeadingCase { const char* text; double value; };

TEST(LeadingNumber, ReadsTheLongestNumberAfterBlanks) {
    const LeadingCase cases[] = {
        {"05", 5}, {"2.50", 2.5}, {"", 0}, {"   7", 7}, {"3abc", 3}, {"abc", 0}, {"1.10", 1.1},
        {"1.9.5", 1.9}, {"-5", -5}, {"+4x", 4}, {".5", 0.5}, {"1.", 1}, {"1e3", 1000}, {"2e", 2},
        {"\t 12 34", 12}, {"-", 0}, {".", 0}, {"0", 0}, {"1.9\r", 1.9},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
}

struct WholeCase { const char* text; std::optional<std::int16_t> value; };

TEST(WholeTextToInt16, AcceptsOnlyAWholeNumberWithinSixteenBits) {
    const WholeCase cases[] = {
        {"1", 1}, {" 5 ", 5}, {"05", 5}, {"1.5", 2}, {"2.5", 2}, {"-3", -3}, {"32767", 32767},
        {"-32768", -32768}, {"32768", std::nullopt}, {"32767.5", std::nullopt}, {"-32768.5", -32768},
        {"", std::nullopt}, {"   ", std::nullopt}, {"3abc", std::nullopt}, {"abc", std::nullopt},
        {"1 2", std::nullopt}, {"9", 9}, {"0", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(WholeTextToInt16(c.text), c.value) << '"' << c.text << '"';
}

TEST(FormatGrouped, GroupsThousandsAndPrintsZeroAsNothing) {
    EXPECT_EQ(FormatGrouped(0), "");
    EXPECT_EQ(FormatGrouped(7), "7");
    EXPECT_EQ(FormatGrouped(1024), "1,024");
    EXPECT_EQ(FormatGrouped(196608), "196,608");
    EXPECT_EQ(FormatGrouped(20971520), "20,971,520");
    EXPECT_EQ(FormatGrouped(-1024), "-1,024");
    EXPECT_EQ(FormatGrouped(100), "100");
    EXPECT_EQ(FormatGrouped(1000), "1,000");
}

}  // namespace
}  // namespace varnic
