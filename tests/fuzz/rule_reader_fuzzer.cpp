// A rule file of arbitrary bytes, as each of the four rules, read and loaded into the rule
// engine, which then runs a stretch of monitor and minute ticks: the record holds at most
// four lines without line ends, and the triggers keep their counters in range and clean only
// while switched on.
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/numbers.h"
#include "fuzz_support.h"
#include "rules/rule_engine.h"
#include "rules/rule_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnic;
    using namespace varnic::fuzz;
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    for (int index = 0; index < kRuleCount; ++index) {
        FakeFileSystem files;
        IdentityCodec codec;
        LineFiles lineFiles(files, codec);
        RuleFiles rules(lineFiles, kDir);
        files.files[rules.PathOf(index)] = bytes;

        const auto record = rules.Read(index);
        FUZZ_CHECK(record.has_value());
        for (const std::string& line : *record) FUZZ_CHECK(line.find('\r') == std::string::npos);
        FUZZ_CHECK(files.files[rules.PathOf(index)] == bytes);  // reading never rewrites an existing file

        RuleEngine engine;
        engine.RuleProcOn = engine.RuleTimeOn = engine.RuleMinutes = engine.RuleProcChanges = 7;
        engine.Apply(*record);
        const std::int16_t loaded[4] = {engine.RuleProcOn, engine.RuleTimeOn, engine.RuleMinutes,
                                        engine.RuleProcChanges};
        for (std::size_t i = 0; i < 4; ++i) FUZZ_CHECK(loaded[i] == WholeTextToInt16((*record)[i]).value_or(7));

        // Process counts and the background switch come from the bytes themselves.
        int cleans = 0, timedCleans = 0, ticks = 0;
        for (std::size_t i = 0; i < size && i < 512; ++i) {
            const auto byte = static_cast<unsigned char>(bytes[i]);
            const int count = byte & 0x80 ? 40 + (byte & 0x0F) : (byte << 8) | byte;  // a few huge counts too
            engine.ProcessCountTick(count, [&] { ++cleans; });
            engine.MinuteTick((byte & 1) != 0, [&] { ++timedCleans; });
            ++ticks;
            FUZZ_CHECK(engine.ProcChangeCount >= 0);
            FUZZ_CHECK(engine.ProcChangeCount <= std::max<std::int16_t>(engine.RuleProcChanges, 0));
            FUZZ_CHECK(engine.MinuteCount >= 0);
        }
        if (engine.RuleProcOn != 1) FUZZ_CHECK(cleans == 0);
        if (engine.RuleTimeOn != 1 || engine.RuleMinutes <= 0) FUZZ_CHECK(timedCleans == 0);
        if (engine.RuleMinutes > 0) FUZZ_CHECK(timedCleans <= ticks / engine.RuleMinutes);
    }

    // A missing rule file is created with the rule's defaults and read back as them.
    FakeFileSystem files;
    IdentityCodec codec;
    LineFiles lineFiles(files, codec);
    RuleFiles rules(lineFiles, kDir);
    const int index = size > 0 ? data[0] % kRuleCount : 0;
    const auto defaults = rules.Read(index);
    FUZZ_CHECK(defaults && *defaults == Rule(index).defaults);
    return 0;
}
