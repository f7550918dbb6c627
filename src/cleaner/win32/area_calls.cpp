// The memory areas through ntdll's NtSetSystemInformation and kernel32's
// SetSystemFileCacheSize, both looked up with GetProcAddress.
#include "cleaner/win32/area_calls.h"

#include <windows.h>

namespace varnic::win32 {
namespace {

using NtSetSystemInformationFunction = LONG(WINAPI*)(ULONG informationClass, PVOID information, ULONG length);
using SetSystemFileCacheSizeFunction = BOOL(WINAPI*)(SIZE_T minimum, SIZE_T maximum, DWORD flags);

// Information classes and commands of NtSetSystemInformation (Windows Vista on; combining
// from Windows 8 on).
constexpr ULONG kSystemMemoryListInformation = 80;
constexpr ULONG kSystemCombinePhysicalMemoryInformation = 130;
constexpr ULONG kMemoryFlushModifiedList = 3;
constexpr ULONG kMemoryPurgeStandbyList = 4;
constexpr ULONG kMemoryPurgeLowPriorityStandbyList = 5;

struct MemoryCombineInformationEx {
    HANDLE handle;  // null: the whole system
    ULONG_PTR pagesCombined;
    ULONG flags;
};

template <typename Function>
Function Find(const wchar_t* module, const char* name) {
    HMODULE loaded = GetModuleHandleW(module);  // ntdll and kernel32 are in every process
    return loaded ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(loaded, name))) : nullptr;
}

NtSetSystemInformationFunction NtSetSystemInformation() {
    return Find<NtSetSystemInformationFunction>(L"ntdll.dll", "NtSetSystemInformation");
}

SetSystemFileCacheSizeFunction SetSystemFileCacheSize() {
    return Find<SetSystemFileCacheSizeFunction>(L"kernel32.dll", "SetSystemFileCacheSize");
}

ULONG InformationClassOf(MemoryArea area) {
    return area == MemoryArea::kIdenticalPages ? kSystemCombinePhysicalMemoryInformation : kSystemMemoryListInformation;
}

std::uint32_t Answer(LONG status) { return status >= 0 ? 0 : static_cast<std::uint32_t>(status); }

std::uint32_t MemoryListCommand(NtSetSystemInformationFunction set, ULONG command) {
    return Answer(set(kSystemMemoryListInformation, &command, sizeof command));
}

}  // namespace

bool OffersArea(MemoryArea area) {
    if (area == MemoryArea::kSystemFileCache) return SetSystemFileCacheSize() != nullptr;
    const auto set = NtSetSystemInformation();
    if (set == nullptr) return false;
    const std::uint32_t emptyRequest = Answer(set(InformationClassOf(area), nullptr, 0));
    return emptyRequest != 0 && OutcomeOf(emptyRequest) != AreaOutcome::kNotOffered;
}

std::uint32_t EmptyArea(MemoryArea area) {
    if (area == MemoryArea::kSystemFileCache) {
        const auto setCacheSize = SetSystemFileCacheSize();
        if (setCacheSize == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
        // (SIZE_T)-1 for both limits empties the cache's working set; flags 0 keep its limits.
        if (setCacheSize(static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1), 0)) return 0;
        const DWORD error = GetLastError();
        return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
    }
    const auto set = NtSetSystemInformation();
    if (set == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
    switch (area) {
        case MemoryArea::kModifiedPageList:
            return MemoryListCommand(set, kMemoryFlushModifiedList);
        case MemoryArea::kLowPriorityStandbyList:
            return MemoryListCommand(set, kMemoryPurgeLowPriorityStandbyList);
        case MemoryArea::kStandbyList:
            return MemoryListCommand(set, kMemoryPurgeStandbyList);
        case MemoryArea::kIdenticalPages: {
            MemoryCombineInformationEx combine{};
            return Answer(set(kSystemCombinePhysicalMemoryInformation, &combine, sizeof combine));
        }
        case MemoryArea::kSystemFileCache:
            break;
    }
    return ERROR_CALL_NOT_IMPLEMENTED;
}

}  // namespace varnic::win32
