// Every text empty.exe shows, named once: the usage, the messages and the -v report lines.
#pragma once

#include <string_view>

#include "base/text_table.h"

namespace varnic {

enum class EmptyText {
    kUsage,
    kBadUsage,          // {1}: what is wrong
    kUnknownSwitch,     // {1}: the switch
    kNotAnExeFileName,  // {1}: the argument
    kNothingToEmpty,
    kProcessesNotListed,
    kTrimmedProcess,      // {1} name, {2} pid, {3} KB before, {4} KB after
    kTotalsOneProcess,    // {1} count, {2} KB before, {3} KB after, {4} KB freed, {5} not trimmed
    kTotalsProcesses,     // the same for any other count
    kAreaDone,            // {1} area, {2} what was done, {3} KB available before, {4} after
    kAreaNotOffered,      // {1} area, {2} the Windows versions that offer it
    kAreaLacksPrivilege,  // {1} area, {2} privilege
    kAreaRefused,         // {1} area, {2} the system's code in hexadecimal
    kStandbyList,
    kLowPriorityStandbyList,
    kModifiedPageList,
    kSystemFileCache,
    kIdenticalPages,
    kPurged,
    kWrittenToDisk,
    kEmptied,
    kCombined,
    kSinceVista,
    kSinceServer2003Sp1,
    kSinceWindows8,
    kCount
};

std::string_view Text(EmptyText name, Language language);

}  // namespace varnic
