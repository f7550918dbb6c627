// The running program's own version as its version resource states it (FILEVERSION), in the
// form tarnel compares: the major and the minor number as "1.9". "0" without a resource.
#pragma once

#include <string>

namespace varnic::win32 {

std::string OwnVersion();

}  // namespace varnic::win32
