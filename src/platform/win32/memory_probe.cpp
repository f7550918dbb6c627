// Win32MemoryProbe. GlobalMemoryStatusEx rather than GlobalMemoryStatus: the older record
// has 32-bit fields that stop at 2 GB (4 GB for large-address-aware programs), so a 16 GB
// machine would read as 2048M. The Ex function exists since Windows 2000, so the 32-bit
// build still starts on XP.
#include "platform/win32/memory_probe.h"

#include <windows.h>

namespace varnic::win32 {

MemoryStatus Win32MemoryProbe::Read() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return {};
    MemoryStatus result;
    result.memoryLoad = status.dwMemoryLoad;
    result.totalPhys = status.ullTotalPhys;
    result.availPhys = status.ullAvailPhys;
    return result;
}

}  // namespace varnic::win32
