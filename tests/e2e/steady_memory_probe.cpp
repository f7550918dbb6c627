// The memory figures of kelvo_steady.exe, the kelvo that the end-to-end tests run, linked in
// place of src/platform/win32/memory_probe.cpp: a machine's real figures move, and below 20 %
// free they make kelvo clean by itself. These stay at half of 2 GB free, load 50 %.
#include "platform/win32/memory_probe.h"

namespace varnic::win32 {

MemoryStatus Win32MemoryProbe::Read() { return {50, 2048ull << 20, 1024ull << 20}; }

}  // namespace varnic::win32
