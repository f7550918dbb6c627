// Number reading, rounding and formatting rules shared by both programs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnic {

// Halves away from zero (2.5 -> 3, -2.5 -> -3). nullopt when the result leaves 32 bits.
std::optional<std::int32_t> RoundHalfAway(double value);

// Halves to the even neighbour (2.5 -> 2, 3.5 -> 4). nullopt when the result leaves 32 bits.
std::optional<std::int32_t> RoundHalfEven(double value);

// The leading number of a text: leading blanks skipped, then the longest prefix that forms a
// decimal number (sign, digits, one point, exponent); 0 when there is none.
double LeadingNumber(std::string_view text);

// A whole text read as a number (blanks before and after allowed), rounded half to even and
// required to fit a signed 16-bit integer; nullopt otherwise.
std::optional<std::int16_t> WholeTextToInt16(std::string_view text);

// The pattern "###,###": thousands grouped with commas, no leading zeros, 0 prints as "".
std::string FormatGrouped(std::int64_t value);

// Plain decimal text of an integer.
std::string Decimal(std::int64_t value);

}  // namespace varnic
