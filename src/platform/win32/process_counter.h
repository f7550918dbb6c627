// The number of running processes, counted in a Toolhelp snapshot.
#pragma once

#include "base/ports.h"

namespace varnic::win32 {

class Win32ProcessCounter final : public ProcessCounter {
public:
    int Count() override;
};

// Counts the processes of a snapshot taken with the given Toolhelp flags; 0 when the
// snapshot or its first entry cannot be had.
int CountProcessesInSnapshot(unsigned long flags);

// The same count from the all-inclusive snapshot (flags 15: processes, threads, heaps and
// modules): what the process count costs when every list is gathered. For benchmarks.
int CountProcessesInFullSnapshot();

}  // namespace varnic::win32
