// The conversion of a rule file's line to a 16-bit number, against strtod: a line is taken
// exactly when, blanks around it aside, it is one decimal number (no hex, no inf or nan, no
// other white space) whose value rounds half to even into 16 bits.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/numbers.h"
#include "fuzz_support.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// What strtod makes of the whole trimmed text, when it reads all of it as a plain decimal number.
std::optional<double> PlainDecimal(const std::string& text) {
    std::size_t start = 0, end = text.size();
    while (start < end && IsBlank(text[start])) ++start;
    while (end > start && IsBlank(text[end - 1])) --end;
    const std::string trimmed = text.substr(start, end - start);
    if (trimmed.empty() || trimmed.find_first_not_of("0123456789+-.eE") != std::string::npos) return std::nullopt;
    char* stop = nullptr;
    const double value = std::strtod(trimmed.c_str(), &stop);
    if (stop != trimmed.c_str() + trimmed.size()) return std::nullopt;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto converted = varnic::WholeTextToInt16(text);
    const auto expected = PlainDecimal(text);
    if (!expected) {
        FUZZ_CHECK(!converted);
        return 0;
    }
    const double rounded = std::nearbyint(*expected);
    if (rounded >= -32768.0 && rounded <= 32767.0) {
        FUZZ_CHECK(converted && *converted == static_cast<std::int16_t>(rounded));
        FUZZ_CHECK(std::fabs(*converted - *expected) <= 0.5);
    } else {
        FUZZ_CHECK(!converted);
    }
    // Blanks around the text change nothing.
    FUZZ_CHECK(varnic::WholeTextToInt16(" \t" + text + "\t ") == converted);
    return 0;
}
