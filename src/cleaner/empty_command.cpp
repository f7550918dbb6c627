// The command line and the reports of empty.exe, free of the operating system.
#include "cleaner/empty_command.h"

#include <algorithm>

#include "base/numbers.h"

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

std::string Kb(std::uint64_t kilobytes) { return Decimal(static_cast<std::int64_t>(kilobytes)) + " KB"; }

std::string Kilobytes(std::uint64_t bytes) { return Kb(WholeKilobytes(bytes)); }

}  // namespace

bool EmptyCommand::Selects(const std::string& exeFile) const {
    if (allProcesses) return true;
    const std::string name = FileName(exeFile);
    return std::any_of(imageNames.begin(), imageNames.end(),
                       [&](const std::string& wanted) { return SameName(wanted, name); });
}

EmptyCommandParse ParseEmptyCommand(const std::vector<std::string>& arguments) {
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
            } else {
                return {std::nullopt, "unknown switch: " + argument};
            }
        } else if (argument == "*") {
            command.allProcesses = true;
        } else if (argument.find_first_of("\\/*?") != std::string::npos) {
            return {std::nullopt, "not an executable file name: " + argument};
        } else {
            command.imageNames.push_back(argument);
        }
    }
    if (!command.help && !command.allProcesses && command.imageNames.empty()) return {std::nullopt, "no process named"};
    return {command, {}};
}

std::string EmptyUsage() {
    return "usage: empty.exe [-v] * | NAME.exe [NAME.exe ...]\n"
           "  *         empty the working set of every process that may be opened\n"
           "  NAME.exe  empty the working sets of the processes running that executable\n"
           "  -v        report each process trimmed and the totals\n";
}

std::string FormatTrimmed(const TrimmedProcess& process) {
    return process.name + " (pid " + Decimal(process.pid) + "): " + Kilobytes(process.beforeBytes) + " -> " +
           Kilobytes(process.afterBytes) + "\n";
}

std::string FormatTotals(const std::vector<TrimmedProcess>& trimmed, int notTrimmed) {
    // Summed in the kilobytes the lines show, so the totals add up to what was printed.
    std::uint64_t before = 0, after = 0;
    for (const auto& process : trimmed) {
        before += WholeKilobytes(process.beforeBytes);
        after += WholeKilobytes(process.afterBytes);
    }
    const std::uint64_t freed = before > after ? before - after : 0;
    return Decimal(static_cast<std::int64_t>(trimmed.size())) +
           (trimmed.size() == 1 ? " process trimmed: " : " processes trimmed: ") + Kb(before) + " -> " + Kb(after) +
           ", " + Kb(freed) + " freed; " + Decimal(notTrimmed) + " could not be trimmed\n";
}

}  // namespace varnic
