// The language the programs speak on this machine: "\Language.ini" beside them when it names
// one, else the user's Windows display language.
#pragma once

#include <string>

#include "base/language.h"

namespace varnic::win32 {

// True when the user's display language is a Chinese one (zh-CN, zh-TW, zh-HK, ...). Wine
// takes it from the locale of LC_ALL or LANG.
bool DisplayLanguageIsChinese();

Language ProgramLanguage(const std::string& appDir);

}  // namespace varnic::win32
