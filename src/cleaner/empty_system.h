// What empty.exe asks of the operating system: its two output streams, the running
// processes and their working sets, the available memory, and the calls that empty the
// system's memory areas. One Win32 implementation (cleaner/win32/empty_system) and one fake.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cleaner/memory_areas.h"

namespace varnic {

enum class EmptyOutput { kStandardOutput, kStandardError };

struct RunningProcess {
    std::uint32_t pid = 0;
    std::string exeFile;  // as the system names it, UTF-8
};

struct WorkingSetTrim {
    bool opened = false;   // false: the process could not be opened (gone, or not ours to touch)
    bool trimmed = false;  // the system accepted the request to empty it
    std::uint64_t beforeBytes = 0;
    std::uint64_t afterBytes = 0;
};

class EmptySystem {
   public:
    virtual ~EmptySystem() = default;
    virtual void Print(EmptyOutput stream, std::string_view text) = 0;
    // The processes running now, listed after turning on the debug privilege where the
    // account holds it; nullopt when they cannot be listed.
    virtual std::optional<std::vector<RunningProcess>> RunningProcesses() = 0;
    virtual WorkingSetTrim TrimWorkingSet(std::uint32_t pid) = 0;
    virtual std::uint64_t AvailableBytes() = 0;  // physical memory free for use now
    // False when this system has no working call for the area (an older Windows, or one that
    // only pretends to have it); nothing is emptied by asking.
    virtual bool OffersArea(MemoryArea area) = 0;
    // Turns the privilege on in this process's token; false when the account does not hold it.
    virtual bool EnablePrivilege(std::string_view name) = 0;
    // Empties the area; the system's answer as OutcomeOf reads it (0 for success).
    virtual std::uint32_t EmptyArea(MemoryArea area) = 0;
};

}  // namespace varnic
