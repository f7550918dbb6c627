#include "updater/update_settings.h"

#include <cctype>
#include <vector>


namespace varnic {
namespace {

std::vector<std::string> Components(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 1;
    for (;;) {
        std::size_t end = path.find('\\', start);
        parts.push_back(path.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

bool IsDeviceName(const std::string& component) {
    std::string base = component.substr(0, component.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" || base == "CONOUT$")
        return true;
    return base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) && base[3] >= '1' &&
           base[3] <= '9';
}

// Windows drops trailing dots and blanks of a name, so "..." or ". ." would act as "..".
bool OnlyDotsAndBlanks(const std::string& component) {
    return component.find_first_not_of(". ") == std::string::npos;
}

}  // namespace

bool IsInsideInstallFolder(const std::string& relativePath) {
    if (relativePath.size() < 2 || relativePath[0] != '\\') return false;
    for (char c : relativePath) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|')
            return false;
    }
    for (const std::string& component : Components(relativePath))
        if (component.empty() || OnlyDotsAndBlanks(component) || IsDeviceName(component)) return false;
    return true;
}

}  // namespace varnic
