// kelvo's readers under libFuzzer, one target a function; the build makes one program of each
// (VARNIC_FUZZ_TARGET names it), whose seeds are corpus/<target>/.
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/numbers.h"
#include "fuzz_support.h"
#include "rules/rule_engine.h"

namespace varnic::fuzz {
using namespace fakes;

bool Same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

void CheckRounding(double value) {
    const auto even = RoundHalfEven(value), away = RoundHalfAway(value);
    if (even) FUZZ_CHECK(std::fabs(*even - value) < 0.5 || (std::fabs(*even - value) == 0.5 && *even % 2 == 0));
    if (away)
        FUZZ_CHECK(std::fabs(*away - value) < 0.5 ||
                   (std::fabs(*away - value) == 0.5 && std::fabs(double(*away)) > std::fabs(value)));
    if (!(value > -2147483649.0 && value < 2147483648.0)) FUZZ_CHECK(!even && !away);  // NaN included
    if (value > -2147483648.0 && value < 2147483647.0) FUZZ_CHECK(even && away);
}

// LeadingNumber against strtod over the run of number characters after the blanks; the
// rounding and grouping of what it and the raw bytes give.
void leading_number(const std::string& text) {
    const std::size_t start = std::min(text.find_first_not_of(" \t"), text.size());
    const std::string run = text.substr(start, text.find_first_not_of("0123456789+-.eE", start) - start);
    const double number = LeadingNumber(text);
    FUZZ_CHECK(!std::isnan(number) && Same(number, std::strtod(run.c_str(), nullptr)));
    FUZZ_CHECK(Same(LeadingNumber(" \t " + text), number));
    CheckRounding(number);
    if (text.size() < 8) return;
    std::int64_t whole;
    std::memcpy(&whole, text.data(), 8);
    CheckRounding(std::bit_cast<double>(whole));
    // Groups of three digits after a first one of one to three, read back as the plain number.
    const std::string grouped = FormatGrouped(whole);
    std::string joined;
    for (std::size_t at = 0, comma, part = 0; whole != 0 && at <= grouped.size(); at = comma + 1, ++part) {
        comma = std::min(grouped.find(',', at), grouped.size());
        const std::size_t digits = comma - at - (part == 0 && grouped[0] == '-');
        FUZZ_CHECK(part == 0 ? digits >= 1 && digits <= 3 : digits == 3);
        joined += grouped.substr(at, comma - at);
    }
    FUZZ_CHECK(whole == 0 ? grouped.empty() : joined == Decimal(whole));
}

// WholeTextToInt16 against strtod on the trimmed text: one plain decimal number, rounded half
// to even into 16 bits; blanks around the text change nothing.
void rule_value(const std::string& text) {
    const auto converted = WholeTextToInt16(text);
    FUZZ_CHECK(WholeTextToInt16(" \t" + text + "\t ") == converted);
    const std::size_t start = text.find_first_not_of(" \t"), end = text.find_last_not_of(" \t");
    const std::string trimmed = start == std::string::npos ? "" : text.substr(start, end - start + 1);
    char* stop = nullptr;
    const double value = std::strtod(trimmed.c_str(), &stop);
    const bool plain = !trimmed.empty() && trimmed.find_first_not_of("0123456789+-.eE") == std::string::npos &&
                       stop == trimmed.c_str() + trimmed.size();
    const double rounded = std::nearbyint(value);
    FUZZ_CHECK(plain && rounded >= -32768.0 && rounded <= 32767.0 ? converted && *converted == rounded : !converted);
}

// A rule file read as each rule and loaded into the engine, which then ticks on counts and
// switches taken from the bytes: lines without line ends, the file never rewritten, counters
// in range, cleans only while a trigger is on. A missing file is created with its defaults.
void rule_reader(const std::string& bytes) {
    FakeFileSystem files;
    IdentityCodec codec;
    LineFiles lines(files, codec);
    RuleFiles rules(lines, kDir);
    const int missing = bytes.empty() ? 0 : bytes[0] & 3;
    FUZZ_CHECK(rules.Read(missing) == Rule(missing).defaults);
    for (int index = 0; index < kRuleCount; ++index) {
        files.files[rules.PathOf(index)] = bytes;
        const auto record = rules.Read(index);
        FUZZ_CHECK(record && files.files[rules.PathOf(index)] == bytes);
        for (const std::string& line : *record) FUZZ_CHECK(line.find('\r') == std::string::npos);
        RuleEngine engine;
        engine.RuleProcOn = engine.RuleTimeOn = engine.RuleMinutes = engine.RuleProcChanges = 7;
        engine.Apply(*record);
        const std::int16_t loaded[] = {engine.RuleProcOn, engine.RuleTimeOn, engine.RuleMinutes,
                                       engine.RuleProcChanges};
        for (int i = 0; i < 4; ++i) FUZZ_CHECK(loaded[i] == WholeTextToInt16((*record)[i]).value_or(7));
        int cleans = 0, timedCleans = 0;
        const std::string ticks = bytes.substr(0, 512);
        for (unsigned char byte : ticks) {
            engine.ProcessCountTick(byte & 0x80 ? 40 + (byte & 0x0F) : (byte << 8) | byte, [&] { ++cleans; });
            engine.MinuteTick(byte & 1, [&] { ++timedCleans; });
            FUZZ_CHECK(engine.ProcChangeCount >= 0 &&
                       engine.ProcChangeCount <= std::max<int>(engine.RuleProcChanges, 0));
            FUZZ_CHECK(engine.MinuteCount >= 0);
        }
        FUZZ_CHECK(engine.RuleProcOn == 1 || cleans == 0);
        FUZZ_CHECK(engine.RuleTimeOn == 1 && engine.RuleMinutes > 0
                       ? timedCleans <= int(ticks.size()) / engine.RuleMinutes
                       : timedCleans == 0);
    }
}

// The main window started over an arbitrary "\Setting.ini": controls in states they can have,
// the hotkey there exactly while Check2 is on, and what it writes read back the same way.
void settings_reader(const std::string& bytes) {
    fakes::Kelvo first, second;
    first.Put("\\Setting.ini", bytes);
    first.Do("load");
    first.form.WriteSettings();
    second.Put("\\Setting.ini", first.File("\\Setting.ini"));
    second.Do("load");
    for (fakes::Kelvo* k : {&first, &second}) {
        const kelvo::Form1& f = k->form;
        FUZZ_CHECK((f.Check1.value == 0 || f.Check1.value == 1) && (f.Check2.value == 0 || f.Check2.value == 1));
        FUZZ_CHECK(f.op1.value != f.op2.value && f.cb1.listIndex >= -1 && f.cb1.listIndex < kRuleCount);
        FUZZ_CHECK(std::none_of(f.Text1.text.begin(), f.Text1.text.end(), [](char c) { return c >= 'a' && c <= 'z'; }));
        FUZZ_CHECK(k->sys.Hotkeys().ends_with(f.Check2.value ? "atoms=1 hooked" : "atoms=0 own"));
        FUZZ_CHECK(k->sys.hotkeys.size() == std::size_t(f.Check2.value));
    }
    // An empty key letter is written as "F", and no rule as an empty line, which reads as rule 0.
    const kelvo::Form1 &a = first.form, &b = second.form;
    FUZZ_CHECK(a.Text1.text.empty() || a.Text1.text == b.Text1.text);
    FUZZ_CHECK(a.Check1.value == b.Check1.value && a.Check2.value == b.Check2.value && a.op1.value == b.op1.value);
    FUZZ_CHECK(a.cb1.listIndex == -1 || a.cb1.listIndex == b.cb1.listIndex);
}

}  // namespace varnic::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    varnic::fuzz::VARNIC_FUZZ_TARGET(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
