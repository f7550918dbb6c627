// The operating-system side of empty.exe's working sets: the running processes and
// emptying one process's working set.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "cleaner/empty_system.h"

namespace varnic::win32 {

// The processes running now; nullopt when they cannot be listed.
std::optional<std::vector<RunningProcess>> ListRunningProcesses();

// Asks the system to move every page of the process out of its working set.
WorkingSetTrim TrimWorkingSet(std::uint32_t pid);

}  // namespace varnic::win32
