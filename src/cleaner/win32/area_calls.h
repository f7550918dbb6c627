// The system calls that empty the memory areas, found at run time so that the 32-bit
// empty.exe still starts on Windows XP, where most of them do not exist.
#pragma once

#include <cstdint>

#include "cleaner/memory_areas.h"

namespace varnic::win32 {

// False when this system has no working call for the area: the function is not exported,
// or the system does not know the request, or it accepts even an empty request, which a
// system that really carries it out never does (Wine answers every such request with
// success and does nothing).
bool OffersArea(MemoryArea area);

// Asks the system to empty the area, with the privilege already turned on. The answer as
// OutcomeOf reads it: 0, an NTSTATUS or a Win32 error code.
std::uint32_t EmptyArea(MemoryArea area);

}  // namespace varnic::win32
