#include "base/numbers.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace varnic {
namespace {

std::optional<std::int32_t> ToInt32(double whole) {
    if (!(whole >= std::numeric_limits<std::int32_t>::min() && whole <= std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;  // also rejects NaN
    return static_cast<std::int32_t>(whole);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of `text` that forms a decimal number; 0 when none.
std::size_t NumberPrefixLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) { ++i; ++digits; }
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1, fraction = 0;
        while (j < text.size() && IsDigit(text[j])) { ++j; ++fraction; }
        if (digits + fraction > 0) { i = j; digits += fraction; }
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        std::size_t exponent = 0;
        while (j < text.size() && IsDigit(text[j])) { ++j; ++exponent; }
        if (exponent > 0) i = j;
    }
    return i;
}

double ParsePrefix(std::string_view number) {
    return std::strtod(std::string(number).c_str(), nullptr);
}

}  // namespace

std::optional<std::int32_t> RoundHalfAway(double value) {
    double whole = std::trunc(value);
    if (std::fabs(value - whole) >= 0.5) whole += value >= 0 ? 1 : -1;
    return ToInt32(whole);
}

std::optional<std::int32_t> RoundHalfEven(double value) {
    return ToInt32(std::nearbyint(value));  // the default rounding mode is to nearest, ties to even
}

double LeadingNumber(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    text.remove_prefix(start);
    std::size_t length = NumberPrefixLength(text);
    return length == 0 ? 0.0 : ParsePrefix(text.substr(0, length));
}

std::optional<std::int16_t> WholeTextToInt16(std::string_view text) {
    std::size_t start = 0, end = text.size();
    while (start < end && IsBlank(text[start])) ++start;
    while (end > start && IsBlank(text[end - 1])) --end;
    text = text.substr(start, end - start);
    if (text.empty() || NumberPrefixLength(text) != text.size()) return std::nullopt;
    double rounded = std::nearbyint(ParsePrefix(text));
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

std::string FormatGrouped(std::int64_t value) {
    if (value == 0) return "";
    std::string digits = std::to_string(value < 0 ? -(value + 1) + 1ULL : static_cast<unsigned long long>(value));
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return value < 0 ? "-" + grouped : grouped;
}

std::string Decimal(std::int64_t value) { return std::to_string(value); }

}  // namespace varnic
