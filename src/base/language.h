// The language the programs speak. The Windows display language decides when a program starts
// (any Chinese one shows the Chinese texts, every other the English ones), unless the one-line
// file "\Language.ini" beside the programs names a language; Setting.ini stays as it is.
// The program's entry point chooses once and hands the choice to its forms.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/ports.h"

namespace varnic {

enum class Language { kChinese, kEnglish };

inline constexpr const char* kLanguageFile = "\\Language.ini";

// The language a line of that file names: a tag beginning with "zh", or "chinese", is Chinese;
// one beginning with "en" English; letters in any case, blanks and a UTF-8 byte-order mark
// around it ignored. nullopt for anything else, which leaves the choice to Windows.
std::optional<Language> LanguageNamed(std::string_view line);

// The language of the programs in `appDir`: the file's first line when it names one, else
// Chinese exactly when the display language is.
Language ProgramLanguage(FileSystem& files, const std::string& appDir, bool displayIsChinese);

}  // namespace varnic
