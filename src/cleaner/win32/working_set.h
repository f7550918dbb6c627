// The operating-system side of empty.exe: the running processes, the debug privilege, and
// emptying one process's working set.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varnic::win32 {

struct RunningProcess {
    std::uint32_t pid = 0;
    std::string exeFile;  // as Toolhelp names it, UTF-8
};

// The processes running now; nullopt when they cannot be listed.
std::optional<std::vector<RunningProcess>> ListRunningProcesses();

// Turns on SeDebugPrivilege in this process's token, so processes of other accounts can be
// opened too. False when the account does not hold it; nothing else changes then.
bool EnableDebugPrivilege();

struct WorkingSetTrim {
    bool opened = false;   // false: the process could not be opened (gone, or not ours to touch)
    bool trimmed = false;  // the system accepted the request to empty it
    std::uint64_t beforeBytes = 0;
    std::uint64_t afterBytes = 0;
};

// Asks the system to move every page of the process out of its working set.
WorkingSetTrim TrimWorkingSet(std::uint32_t pid);

}  // namespace varnic::win32
