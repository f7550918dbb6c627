#include "base/command_line.h"

#include <algorithm>
#include <cctype>

namespace varnic {
namespace {

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

std::size_t ProgramLength(const std::string& commandLine, const std::string& modulePath) {
    if (!modulePath.empty()) {
        if (StartsWithIgnoringCase(commandLine, "\"" + modulePath + "\"")) return modulePath.size() + 2;
        if (StartsWithIgnoringCase(commandLine, modulePath) &&
            (commandLine.size() == modulePath.size() || commandLine[modulePath.size()] == ' ' ||
             commandLine[modulePath.size()] == '\t'))
            return modulePath.size();
    }
    if (!commandLine.empty() && commandLine[0] == '"') {
        const auto close = commandLine.find('"', 1);
        return close == std::string::npos ? commandLine.size() : close + 1;
    }
    const auto blank = commandLine.find_first_of(" \t");
    return blank == std::string::npos ? commandLine.size() : blank;
}

}  // namespace

std::string ArgumentString(const std::string& commandLine, const std::string& modulePath) {
    std::size_t start = ProgramLength(commandLine, modulePath);
    while (start < commandLine.size() && (commandLine[start] == ' ' || commandLine[start] == '\t')) ++start;
    return commandLine.substr(start);
}

}  // namespace varnic
