#include "cleaner/area_choice.h"

#include <string_view>

namespace varnic {
namespace {

constexpr std::size_t kMostLines = 32;  // more than every area twice, blank lines among them

std::string_view Trimmed(std::string_view line) {
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char c = (a[i] >= 'A' && a[i] <= 'Z') ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        if (c != b[i]) return false;
    }
    return true;
}

}  // namespace

AreaChoice ReadAreaChoice(LineFiles& files, const std::string& path) {
    AreaChoice choice;
    const auto lines = files.Read(path, kMostLines);
    if (!lines) return choice;
    for (const std::string& line : *lines) {
        const std::string_view name = Trimmed(line);
        if (name.empty()) continue;
        bool known = false;
        for (MemoryArea area : kMemoryAreas) {
            if (!SameLetters(name, FactsOf(area).switchName)) continue;
            choice.Set(area, true);
            known = true;
        }
        if (!known) return AreaChoice{};
    }
    return choice;
}

bool WriteAreaChoice(LineFiles& files, const std::string& path, const AreaChoice& choice) {
    std::vector<std::string> lines;
    for (MemoryArea area : kMemoryAreas)
        if (choice.Has(area)) lines.emplace_back(FactsOf(area).switchName);
    return files.Write(path, lines);
}

std::string CleanCommandLine(const AreaChoice& choice) {
    std::string line = std::string("empty.exe ") + " *";
    for (MemoryArea area : kMemoryAreas)
        if (choice.Has(area)) line.append(" -").append(FactsOf(area).switchName);
    return line;
}

}  // namespace varnic
