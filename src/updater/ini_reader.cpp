#include "updater/ini_reader.h"

#include <cctype>

namespace varnic {
namespace {

std::string Trim(const std::string& text) {
    std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return "";
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

std::optional<std::string> ReadIniValue(const std::string& bytes, const std::string& section,
                                        const std::string& key) {
    bool inSection = false, sectionSeen = false;
    std::size_t start = 0;
    while (start <= bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = Trim(bytes.substr(start, end - start));
        start = end + ((end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ? 2 : 1);

        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            if (sectionSeen) return std::nullopt;  // only the first section of that name counts
            std::size_t close = line.find(']');
            std::string name = Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            inSection = SameName(name, section);
            sectionSeen = inSection;
            continue;
        }
        if (!inSection) continue;
        std::size_t equals = line.find('=');
        std::string name = Trim(line.substr(0, equals));
        if (!SameName(name, key)) continue;
        if (equals == std::string::npos) return std::string();
        return Unquote(Trim(line.substr(equals + 1)));
    }
    return std::nullopt;
}

}  // namespace varnic
