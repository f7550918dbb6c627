#include "base/language.h"

namespace varnic {
namespace {

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

}  // namespace

std::optional<Language> LanguageNamed(std::string_view line) {
    // Notepad may save the file as UTF-8 with its byte-order mark.
    if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    line = line.substr(first, line.find_last_not_of(" \t") - first + 1);
    if (StartsWithFolded(line, "zh") || (line.size() == 7 && StartsWithFolded(line, "chinese")))
        return Language::kChinese;
    if (StartsWithFolded(line, "en")) return Language::kEnglish;
    return std::nullopt;
}

Language ProgramLanguage(FileSystem& files, const std::string& appDir, bool displayIsChinese) {
    if (auto bytes = files.Read(appDir + kLanguageFile, 256)) {
        if (auto named = LanguageNamed(std::string_view(*bytes).substr(0, bytes->find_first_of("\r\n"))))
            return *named;
    }
    return displayIsChinese ? Language::kChinese : Language::kEnglish;
}

}  // namespace varnic
