// What empty.exe is asked to do: its command line read into a request, the choice of the
// processes that request covers, and the lines it prints with -v for working sets. The run
// itself is cleaner/empty_run; the operating-system side lives in cleaner/win32.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/language.h"
#include "cleaner/memory_areas.h"

namespace varnic {

inline constexpr int kEmptyExitOk = 0;
inline constexpr int kEmptyExitFailure = 1;  // the process list could not be taken
inline constexpr int kEmptyExitUsage = 2;
inline constexpr int kEmptyExitAreasNotDone = 3;  // some areas asked for were not possible here

struct EmptyCommand {
    bool verbose = false;                 // -v: report every trimmed process and the totals
    bool help = false;                    // -h, -? or --help: print the usage and do nothing
    bool allProcesses = false;            // "*" was among the targets
    std::vector<std::string> imageNames;  // executable file names, e.g. "kelvo.exe"
    std::vector<MemoryArea> areas;        // each once, in the order of kMemoryAreas

    bool EmptiesWorkingSets() const { return allProcesses || !imageNames.empty(); }

    // True when the process whose image is `exeFile` (a bare name or a full path) is covered:
    // every process for "*", else one whose file name equals a target, ignoring case.
    bool Selects(const std::string& exeFile) const;
};

struct EmptyCommandParse {
    std::optional<EmptyCommand> command;  // set when the arguments are usable
    std::string error;                    // otherwise what is wrong with them
};

// Reads the arguments after the program name. Each argument is taken without the blanks
// around it, and an argument left empty counts as none. Switches start with '-' or '/' and
// are read in any case. At least one target ("*", a name or an area) is needed unless help
// is asked for. What is wrong is said in `language`.
EmptyCommandParse ParseEmptyCommand(const std::vector<std::string>& arguments,
                                    Language language = Language::kEnglish);

// One trimmed process and its working set before and after, in bytes.
struct TrimmedProcess {
    std::string name;
    std::uint32_t pid = 0;
    std::uint64_t beforeBytes = 0;
    std::uint64_t afterBytes = 0;
};

// "kelvo.exe (pid 1234): 10240 KB -> 2048 KB\n"
std::string FormatTrimmed(const TrimmedProcess& process, Language language = Language::kEnglish);

// "3 processes trimmed: 30000 KB -> 5000 KB, 25000 KB freed; 2 could not be trimmed\n"
std::string FormatTotals(const std::vector<TrimmedProcess>& trimmed, int notTrimmed,
                         Language language = Language::kEnglish);

}  // namespace varnic
