// Win32EmptySystem: each request handed to the Win32 function that carries it out.
#include "cleaner/win32/empty_system.h"

#include <windows.h>

#include <string>

#include "cleaner/win32/area_calls.h"
#include "cleaner/win32/privileges.h"
#include "cleaner/win32/working_set.h"
#include "platform/win32/memory_probe.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {

// Straight to a console as UTF-16, so process names in any script show; into a pipe or a
// file as UTF-8.
void Win32EmptySystem::Print(EmptyOutput stream, std::string_view text) {
    HANDLE out = GetStdHandle(stream == EmptyOutput::kStandardOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(out, &mode)) {
        std::wstring wide = Wide(std::string(text));
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}

std::optional<std::vector<RunningProcess>> Win32EmptySystem::RunningProcesses() {
    win32::EnablePrivilege("SeDebugPrivilege");  // without it, only this account's processes open: fine
    return ListRunningProcesses();
}

WorkingSetTrim Win32EmptySystem::TrimWorkingSet(std::uint32_t pid) { return win32::TrimWorkingSet(pid); }

std::uint64_t Win32EmptySystem::AvailableBytes() { return Win32MemoryProbe().Read().availPhys; }

bool Win32EmptySystem::OffersArea(MemoryArea area) { return win32::OffersArea(area); }

bool Win32EmptySystem::EnablePrivilege(std::string_view name) { return win32::EnablePrivilege(name); }

std::uint32_t Win32EmptySystem::EmptyArea(MemoryArea area) { return win32::EmptyArea(area); }

}  // namespace varnic::win32
