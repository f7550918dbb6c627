// The number of running processes. The monitor counts twice a second while background
// cleaning is on, so the count is taken the cheapest exact way: the system's process list
// (NtQuerySystemInformation, looked up in ntdll at run time) copied into a buffer kept from
// one count to the next. Should that call be missing or fail, a Toolhelp snapshot of the
// process list gives the same number.
#pragma once

#include <cstddef>
#include <memory>

#include "base/ports.h"

namespace varnic::win32 {

class Win32ProcessCounter final : public ProcessCounter {
public:
    Win32ProcessCounter();
    int Count() override;

    // The count from the system's process list alone; -1 when that list cannot be had
    // (Count then takes a snapshot instead).
    int CountInProcessList();

private:
    using QueryFunction = long(__stdcall*)(unsigned long, void*, unsigned long, unsigned long*);
    QueryFunction query_ = nullptr;
    std::unique_ptr<std::byte[]> buffer_;
    unsigned long bufferSize_ = 0;
};

// Counts the processes of a snapshot taken with the given Toolhelp flags; 0 when the
// snapshot or its first entry cannot be had.
int CountProcessesInSnapshot(unsigned long flags);

}  // namespace varnic::win32
