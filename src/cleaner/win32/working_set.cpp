// Working sets of other processes, through Toolhelp, OpenProcess and psapi.
#include "cleaner/win32/working_set.h"

#include <windows.h>
// After windows.h, which they need.
#include <psapi.h>
#include <tlhelp32.h>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {
namespace {

std::uint64_t WorkingSetBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
    return counters.WorkingSetSize;
}

}  // namespace

std::optional<std::vector<RunningProcess>> ListRunningProcesses() {
    HANDLE raw = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (raw == INVALID_HANDLE_VALUE) return std::nullopt;
    UniqueHandle snapshot(raw);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    if (!Process32FirstW(snapshot.Get(), &entry)) return std::nullopt;
    std::vector<RunningProcess> processes;
    do {
        processes.push_back({entry.th32ProcessID, Utf8(entry.szExeFile)});
    } while (Process32NextW(snapshot.Get(), &entry));
    return processes;
}

WorkingSetTrim TrimWorkingSet(std::uint32_t pid) {
    WorkingSetTrim result;
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_SET_QUOTA | PROCESS_VM_READ, FALSE, pid));
    if (!process) return result;
    result.opened = true;
    result.beforeBytes = WorkingSetBytes(process.Get());
    result.trimmed = EmptyWorkingSet(process.Get()) ||
                     SetProcessWorkingSetSize(process.Get(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
    result.afterBytes = WorkingSetBytes(process.Get());
    return result;
}

}  // namespace varnic::win32
