// The memory areas of the whole system that empty.exe can empty besides working sets: what
// each is called, the switch that asks for it, the privilege its call needs, and how the
// system's answer to that call reads.
#pragma once

#include <cstdint>
#include <string_view>

#include "cleaner/empty_texts.h"

namespace varnic {

// In the order they are emptied: the file cache and the modified pages first, since both
// end on the standby list, which is purged after them; combining comes last.
enum class MemoryArea { kSystemFileCache, kModifiedPageList, kLowPriorityStandbyList, kStandbyList, kIdenticalPages };

inline constexpr MemoryArea kMemoryAreas[] = {MemoryArea::kSystemFileCache, MemoryArea::kModifiedPageList,
                                              MemoryArea::kLowPriorityStandbyList, MemoryArea::kStandbyList,
                                              MemoryArea::kIdenticalPages};

struct MemoryAreaFacts {
    MemoryArea area;
    std::string_view switchName;  // without its '-' or '/'
    std::string_view privilege;   // the privilege the system wants enabled for the call
    EmptyText name;
    EmptyText done;       // what emptying it does, for the -v line
    EmptyText offeredBy;  // the Windows versions that have the call
};

const MemoryAreaFacts& FactsOf(MemoryArea area);

// How one area's call went, read from the system's answer: 0 for success, else the NTSTATUS
// of the native call or, for calls that report through GetLastError, the Win32 error code.
// The two never collide: failing NTSTATUS values have their top bits set.
enum class AreaOutcome { kDone, kNotOffered, kLacksPrivilege, kRefused };

AreaOutcome OutcomeOf(std::uint32_t systemAnswer);

}  // namespace varnic
