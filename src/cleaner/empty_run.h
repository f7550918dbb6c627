// One run of empty.exe, from its arguments to its exit code.
#pragma once

#include <string>
#include <vector>

#include "base/language.h"
#include "cleaner/empty_system.h"

namespace varnic {

// Reads the arguments (after the program name), empties the working sets and the memory
// areas asked for through `system`, prints what -v and the failures call for, and answers
// the exit code: kEmptyExitOk when all was done, kEmptyExitAreasNotDone when some area was
// not possible here, kEmptyExitFailure when the processes could not be listed,
// kEmptyExitUsage for bad arguments. Everything printed is in `language`.
int RunEmpty(const std::vector<std::string>& arguments, EmptySystem& system, Language language = Language::kEnglish);

}  // namespace varnic
