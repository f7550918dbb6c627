// The command line and the reports of empty.exe, free of the operating system.
#include "cleaner/empty_command.h"

#include <algorithm>

#include "base/numbers.h"
#include "cleaner/empty_texts.h"

namespace varnic {
namespace {

std::string Trimmed(const std::string& text) {
    const char* blanks = " \t";
    auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// Executable names are compared without regard to case, as the file system does; letters
// beyond ASCII (in UTF-8) are compared as they are.
char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

std::string FileName(const std::string& path) {
    auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::uint64_t WholeKilobytes(std::uint64_t bytes) { return bytes / 1024; }

std::string Number(std::uint64_t value) { return Decimal(static_cast<std::int64_t>(value)); }

// The area a switch name asks for, if any.
std::optional<MemoryArea> AreaSwitch(const std::string& name) {
    for (MemoryArea area : kMemoryAreas)
        if (FactsOf(area).switchName == name) return area;
    return std::nullopt;
}

// Each area once, in the order they are emptied.
std::vector<MemoryArea> InEmptyingOrder(const std::vector<MemoryArea>& asked) {
    std::vector<MemoryArea> areas;
    for (MemoryArea area : kMemoryAreas)
        if (std::find(asked.begin(), asked.end(), area) != asked.end()) areas.push_back(area);
    return areas;
}

}  // namespace

bool EmptyCommand::Selects(const std::string& exeFile) const {
    if (allProcesses) return true;
    const std::string name = FileName(exeFile);
    return std::any_of(imageNames.begin(), imageNames.end(),
                       [&](const std::string& wanted) { return SameName(wanted, name); });
}

EmptyCommandParse ParseEmptyCommand(const std::vector<std::string>& arguments, Language language) {
    EmptyCommand command;
    for (const std::string& raw : arguments) {
        const std::string argument = Trimmed(raw);
        if (argument.empty()) continue;
        if (argument[0] == '-' || argument[0] == '/') {
            std::string name = argument.substr(1);
            std::transform(name.begin(), name.end(), name.begin(), FoldAscii);
            if (name == "v") {
                command.verbose = true;
            } else if (name == "h" || name == "?" || name == "-help") {
                command.help = true;
            } else if (auto area = AreaSwitch(name)) {
                command.areas.push_back(*area);
            } else {
                return {std::nullopt, Fill(Text(EmptyText::kUnknownSwitch, language), {argument})};
            }
        } else if (argument == "*") {
            command.allProcesses = true;
        } else if (argument.find_first_of("\\/*?") != std::string::npos) {
            return {std::nullopt, Fill(Text(EmptyText::kNotAnExeFileName, language), {argument})};
        } else {
            command.imageNames.push_back(argument);
        }
    }
    command.areas = InEmptyingOrder(command.areas);
    if (!command.help && !command.EmptiesWorkingSets() && command.areas.empty())
        return {std::nullopt, std::string(Text(EmptyText::kNothingToEmpty, language))};
    return {command, {}};
}

std::string FormatTrimmed(const TrimmedProcess& process, Language language) {
    return Fill(Text(EmptyText::kTrimmedProcess, language),
                {process.name, Number(process.pid), Number(WholeKilobytes(process.beforeBytes)),
                 Number(WholeKilobytes(process.afterBytes))});
}

std::string FormatTotals(const std::vector<TrimmedProcess>& trimmed, int notTrimmed, Language language) {
    // Summed in the kilobytes the lines show, so the totals add up to what was printed.
    std::uint64_t before = 0, after = 0;
    for (const auto& process : trimmed) {
        before += WholeKilobytes(process.beforeBytes);
        after += WholeKilobytes(process.afterBytes);
    }
    const std::uint64_t freed = before > after ? before - after : 0;
    return Fill(Text(trimmed.size() == 1 ? EmptyText::kTotalsOneProcess : EmptyText::kTotalsProcesses, language),
                {Number(trimmed.size()), Number(before), Number(after), Number(freed), Decimal(notTrimmed)});
}

}  // namespace varnic
