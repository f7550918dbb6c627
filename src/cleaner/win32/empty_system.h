// empty.exe's requests to Windows: the console, processes, working sets, available memory
// and the memory areas.
#pragma once

#include "cleaner/empty_system.h"

namespace varnic::win32 {

class Win32EmptySystem final : public EmptySystem {
   public:
    void Print(EmptyOutput stream, std::string_view text) override;
    std::optional<std::vector<RunningProcess>> RunningProcesses() override;
    WorkingSetTrim TrimWorkingSet(std::uint32_t pid) override;
    std::uint64_t AvailableBytes() override;
    bool OffersArea(MemoryArea area) override;
    bool EnablePrivilege(std::string_view name) override;
    std::uint32_t EmptyArea(MemoryArea area) override;
};

}  // namespace varnic::win32
