// The leading-number reader against strtod over the longest run of number characters after
// the blanks, and the rounding and grouping helpers that consume its results.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "base/numbers.h"
#include "fuzz_support.h"

namespace {

double ExpectedLeadingNumber(const std::string& text) {
    std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return 0;
    std::size_t end = text.find_first_not_of("0123456789+-.eE", start);
    const std::string run = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    return std::strtod(run.c_str(), nullptr);  // reads the longest number the run starts with, or 0
}

bool Same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

void CheckRounding(double value) {
    const auto even = varnic::RoundHalfEven(value);
    const auto away = varnic::RoundHalfAway(value);
    if (std::isnan(value)) {
        FUZZ_CHECK(!even && !away);
        return;
    }
    const bool fits = value > -2147483649.0 && value < 2147483648.0;  // rounds into 32 bits at all
    if (even) {
        FUZZ_CHECK(std::fabs(*even - value) <= 0.5);
        if (std::fabs(*even - value) == 0.5) FUZZ_CHECK(*even % 2 == 0);
    }
    if (away) {
        FUZZ_CHECK(std::fabs(*away - value) <= 0.5);
        if (std::fabs(*away - value) == 0.5) FUZZ_CHECK(std::fabs(static_cast<double>(*away)) > std::fabs(value));
    }
    if (!fits) FUZZ_CHECK(!even && !away);
    if (value > -2147483648.0 && value < 2147483647.0) FUZZ_CHECK(even && away);
}

void CheckGrouping(std::int64_t value) {
    const std::string grouped = varnic::FormatGrouped(value);
    if (value == 0) {
        FUZZ_CHECK(grouped.empty());
        return;
    }
    std::string digits;
    std::size_t sinceComma = 0;
    for (std::size_t i = 0; i < grouped.size(); ++i) {
        const char c = grouped[i];
        if (i == 0 && c == '-') continue;
        if (c == ',') {
            FUZZ_CHECK(sinceComma > 0 && sinceComma <= 3);
            sinceComma = 0;
            continue;
        }
        FUZZ_CHECK(c >= '0' && c <= '9');
        digits += c;
        ++sinceComma;
    }
    FUZZ_CHECK(sinceComma == 3 || grouped.find(',') == std::string::npos);
    FUZZ_CHECK((value < 0 ? "-" + digits : digits) == varnic::Decimal(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double number = varnic::LeadingNumber(text);
    FUZZ_CHECK(!std::isnan(number));
    FUZZ_CHECK(Same(number, ExpectedLeadingNumber(text)));
    FUZZ_CHECK(Same(varnic::LeadingNumber(" \t " + text), number));
    CheckRounding(number);

    // The raw bytes as a double and as an integer feed the helpers edge values too.
    if (size >= 8) {
        double raw;
        std::int64_t whole;
        std::memcpy(&raw, data, 8);
        std::memcpy(&whole, data, 8);
        CheckRounding(raw);
        CheckGrouping(whole);
        CheckGrouping(std::numeric_limits<std::int64_t>::min());
    }
    return 0;
}
