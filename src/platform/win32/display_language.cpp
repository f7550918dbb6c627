#include "platform/win32/display_language.h"

#include <windows.h>

#include "platform/win32/files.h"

namespace varnic::win32 {

bool DisplayLanguageIsChinese() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE; }

Language ProgramLanguage(const std::string& appDir) {
    Win32FileSystem files;
    return varnic::ProgramLanguage(files, appDir, DisplayLanguageIsChinese());
}

}  // namespace varnic::win32
