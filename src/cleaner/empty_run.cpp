// One run of empty.exe: working sets first, then the areas in their order, each area's
// failure said in one line while the others go on.
#include "cleaner/empty_run.h"

#include "base/numbers.h"
#include "cleaner/empty_command.h"
#include "cleaner/empty_texts.h"

namespace varnic {
namespace {

std::string Kilobytes(std::uint64_t bytes) { return Decimal(static_cast<std::int64_t>(bytes / 1024)); }

std::string Hexadecimal(std::uint32_t code) {
    std::string digits(8, '0');
    for (int i = 7; i >= 0; --i, code >>= 4) digits[i] = "0123456789ABCDEF"[code & 0xF];
    return digits;
}

// False when the processes cannot be listed.
bool EmptyWorkingSets(const EmptyCommand& command, EmptySystem& system, Language language) {
    auto processes = system.RunningProcesses();
    if (!processes) {
        system.Print(EmptyOutput::kStandardError, Text(EmptyText::kProcessesNotListed, language));
        return false;
    }
    std::vector<TrimmedProcess> trimmed;
    int notTrimmed = 0;
    for (const auto& process : *processes) {
        if (!command.Selects(process.exeFile)) continue;
        WorkingSetTrim trim = system.TrimWorkingSet(process.pid);
        if (!trim.opened || !trim.trimmed) {
            ++notTrimmed;  // the idle and system processes, other accounts' services: normal
            continue;
        }
        trimmed.push_back({process.exeFile, process.pid, trim.beforeBytes, trim.afterBytes});
        if (command.verbose) system.Print(EmptyOutput::kStandardOutput, FormatTrimmed(trimmed.back(), language));
    }
    if (command.verbose) system.Print(EmptyOutput::kStandardOutput, FormatTotals(trimmed, notTrimmed, language));
    return true;
}

// The system is asked only for what it can do: no privilege is turned on for a call it
// lacks, and no call is made without its privilege. True when the area was emptied.
bool EmptyArea(MemoryArea area, bool verbose, EmptySystem& system, Language language) {
    const MemoryAreaFacts& facts = FactsOf(area);
    auto text = [language](EmptyText name) { return Text(name, language); };
    const std::string_view name = text(facts.name);
    auto refuse = [&](EmptyText why, std::string_view detail) {
        system.Print(EmptyOutput::kStandardError, Fill(text(why), {name, detail}));
        return false;
    };
    if (!system.OffersArea(area)) return refuse(EmptyText::kAreaNotOffered, text(facts.offeredBy));
    if (!system.EnablePrivilege(facts.privilege)) return refuse(EmptyText::kAreaLacksPrivilege, facts.privilege);
    const std::uint64_t before = system.AvailableBytes();
    const std::uint32_t answer = system.EmptyArea(area);
    const std::uint64_t after = system.AvailableBytes();
    switch (OutcomeOf(answer)) {
        case AreaOutcome::kDone:
            if (verbose)
                system.Print(EmptyOutput::kStandardOutput,
                             Fill(text(EmptyText::kAreaDone), {name, text(facts.done), Kilobytes(before), Kilobytes(after)}));
            return true;
        case AreaOutcome::kNotOffered:
            return refuse(EmptyText::kAreaNotOffered, text(facts.offeredBy));
        case AreaOutcome::kLacksPrivilege:
            return refuse(EmptyText::kAreaLacksPrivilege, facts.privilege);
        case AreaOutcome::kRefused:
            break;
    }
    return refuse(EmptyText::kAreaRefused, Hexadecimal(answer));
}

}  // namespace

int RunEmpty(const std::vector<std::string>& arguments, EmptySystem& system, Language language) {
    EmptyCommandParse parse = ParseEmptyCommand(arguments, language);
    if (!parse.command) {
        system.Print(EmptyOutput::kStandardError, Fill(Text(EmptyText::kBadUsage, language), {parse.error}));
        system.Print(EmptyOutput::kStandardError, Text(EmptyText::kUsage, language));
        return kEmptyExitUsage;
    }
    const EmptyCommand& command = *parse.command;
    if (command.help) {
        system.Print(EmptyOutput::kStandardOutput, Text(EmptyText::kUsage, language));
        return kEmptyExitOk;
    }
    const bool listed = !command.EmptiesWorkingSets() || EmptyWorkingSets(command, system, language);
    bool allAreas = true;
    for (MemoryArea area : command.areas) allAreas = EmptyArea(area, command.verbose, system, language) && allAreas;
    if (!listed) return kEmptyExitFailure;
    return allAreas ? kEmptyExitOk : kEmptyExitAreasNotDone;
}

}  // namespace varnic
