// The memory areas' facts and the reading of the system's answers.
#include "cleaner/memory_areas.h"

#include <algorithm>
#include <iterator>

namespace varnic {
namespace {

constexpr std::string_view kProfileSingleProcess = "SeProfileSingleProcessPrivilege";
constexpr std::string_view kIncreaseQuota = "SeIncreaseQuotaPrivilege";

constexpr MemoryAreaFacts kFacts[] = {
    {MemoryArea::kSystemFileCache, "filecache", kIncreaseQuota, EmptyText::kSystemFileCache, EmptyText::kEmptied,
     EmptyText::kSinceServer2003Sp1},
    {MemoryArea::kModifiedPageList, "modified", kProfileSingleProcess, EmptyText::kModifiedPageList,
     EmptyText::kWrittenToDisk, EmptyText::kSinceVista},
    {MemoryArea::kLowPriorityStandbyList, "lowstandby", kProfileSingleProcess, EmptyText::kLowPriorityStandbyList,
     EmptyText::kPurged, EmptyText::kSinceVista},
    {MemoryArea::kStandbyList, "standby", kProfileSingleProcess, EmptyText::kStandbyList, EmptyText::kPurged,
     EmptyText::kSinceVista},
    {MemoryArea::kIdenticalPages, "combine", kProfileSingleProcess, EmptyText::kIdenticalPages, EmptyText::kCombined,
     EmptyText::kSinceWindows8},
};

// Answers that mean the system has no such request (Windows XP, or a system that only
// pretends to have the call).
constexpr std::uint32_t kNotOffered[] = {
    0xC0000002,  // STATUS_NOT_IMPLEMENTED
    0xC0000003,  // STATUS_INVALID_INFO_CLASS
    0xC00000BB,  // STATUS_NOT_SUPPORTED
    50,          // ERROR_NOT_SUPPORTED
    120,         // ERROR_CALL_NOT_IMPLEMENTED
};

constexpr std::uint32_t kLacksPrivilege[] = {
    0xC0000061,  // STATUS_PRIVILEGE_NOT_HELD
    1314,        // ERROR_PRIVILEGE_NOT_HELD
};

bool Among(std::uint32_t answer, const auto& codes) {
    return std::find(std::begin(codes), std::end(codes), answer) != std::end(codes);
}

}  // namespace

const MemoryAreaFacts& FactsOf(MemoryArea area) {
    return *std::find_if(std::begin(kFacts), std::end(kFacts), [&](const auto& facts) { return facts.area == area; });
}

AreaOutcome OutcomeOf(std::uint32_t systemAnswer) {
    if (systemAnswer == 0) return AreaOutcome::kDone;
    if (Among(systemAnswer, kNotOffered)) return AreaOutcome::kNotOffered;
    if (Among(systemAnswer, kLacksPrivilege)) return AreaOutcome::kLacksPrivilege;
    return AreaOutcome::kRefused;
}

}  // namespace varnic
