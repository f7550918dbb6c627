// The texts of empty.exe, one row each.
#include "cleaner/empty_texts.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace varnic {
namespace {

struct Row {
    EmptyText id;
    const char* text;
};

constexpr Row kTexts[] = {
    {EmptyText::kUsage,
     "usage: empty.exe [-v] [AREA ...] [* | NAME.exe ...]\n"
     "  *            empty the working set of every process that may be opened\n"
     "  NAME.exe     empty the working sets of the processes running that executable\n"
     "  -standby     purge the standby list (Windows Vista or later)\n"
     "  -lowstandby  purge the low-priority standby list (Windows Vista or later)\n"
     "  -modified    write the modified page list to disk (Windows Vista or later)\n"
     "  -filecache   empty the system file cache (Windows Server 2003 SP1, Vista or later)\n"
     "  -combine     combine identical memory pages (Windows 8 or later)\n"
     "  -v           report each process trimmed, the totals, and each area with the\n"
     "               available memory before and after\n"
     "The areas need an administrator's account. Exit codes: 0 done; 1 the processes could\n"
     "not be listed; 2 bad usage; 3 some areas were not possible here.\n"},
    {EmptyText::kBadUsage, "empty.exe: {1}\n"},
    {EmptyText::kUnknownSwitch, "unknown switch: {1}"},
    {EmptyText::kNotAnExeFileName, "not an executable file name: {1}"},
    {EmptyText::kNothingToEmpty, "nothing to empty: name a process, * or an area"},
    {EmptyText::kProcessesNotListed, "empty.exe: the running processes cannot be listed\n"},
    {EmptyText::kTrimmedProcess, "{1} (pid {2}): {3} KB -> {4} KB\n"},
    {EmptyText::kTotalsOneProcess, "{1} process trimmed: {2} KB -> {3} KB, {4} KB freed; {5} could not be trimmed\n"},
    {EmptyText::kTotalsProcesses, "{1} processes trimmed: {2} KB -> {3} KB, {4} KB freed; {5} could not be trimmed\n"},
    {EmptyText::kAreaDone, "{1}: {2}; available memory {3} KB -> {4} KB\n"},
    {EmptyText::kAreaNotOffered, "{1}: not possible here ({2} only)\n"},
    {EmptyText::kAreaLacksPrivilege, "{1}: not done, the account lacks {2} (run as administrator)\n"},
    {EmptyText::kAreaRefused, "{1}: refused by the system (code 0x{2})\n"},
    {EmptyText::kStandbyList, "standby list"},
    {EmptyText::kLowPriorityStandbyList, "low-priority standby list"},
    {EmptyText::kModifiedPageList, "modified page list"},
    {EmptyText::kSystemFileCache, "system file cache"},
    {EmptyText::kIdenticalPages, "identical memory pages"},
    {EmptyText::kPurged, "purged"},
    {EmptyText::kWrittenToDisk, "written to disk"},
    {EmptyText::kEmptied, "emptied"},
    {EmptyText::kCombined, "combined"},
    {EmptyText::kSinceVista, "Windows Vista and later"},
    {EmptyText::kSinceServer2003Sp1, "Windows Server 2003 SP1, Vista and later"},
    {EmptyText::kSinceWindows8, "Windows 8 and later"},
};

static_assert(std::size(kTexts) == static_cast<std::size_t>(EmptyText::kSinceWindows8) + 1, "one row per text");

}  // namespace

std::string_view Text(EmptyText id) {
    return std::find_if(std::begin(kTexts), std::end(kTexts), [&](const Row& row) { return row.id == id; })->text;
}

// Every '{' in the table opens a placeholder of one digit. The values are copied as they
// are: a process named "{2}.exe" stays so.
std::string Fill(EmptyText id, std::initializer_list<std::string_view> values) {
    const std::string_view text = Text(id);
    std::string filled;
    std::size_t from = 0;
    for (std::size_t open; (open = text.find('{', from)) != std::string_view::npos; from = open + 3) {
        filled += text.substr(from, open - from);
        const auto index = static_cast<std::size_t>(text[open + 1] - '1');
        if (index < values.size()) filled += values.begin()[index];
    }
    filled += text.substr(from);
    return filled;
}

}  // namespace varnic
