#include "base/line_file.h"

namespace varnic {

std::vector<std::string> SplitLines(const std::string& bytes, std::size_t maxLines) {
    std::vector<std::string> lines;
    std::size_t start = 0, i = 0;
    while (i < bytes.size() && lines.size() < maxLines) {
        if (bytes[i] == '\r') {
            lines.push_back(bytes.substr(start, i - start));
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < bytes.size() && lines.size() < maxLines) lines.push_back(bytes.substr(start));
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

std::optional<std::vector<std::string>> LineFiles::Read(const std::string& path, std::size_t maxLines) {
    auto bytes = files_.Read(path, kLineFileReadLimit);
    if (!bytes) return std::nullopt;
    auto lines = SplitLines(*bytes, maxLines);
    for (auto& line : lines) line = codec_.ToUtf8(line);
    return lines;
}

bool LineFiles::Write(const std::string& path, const std::vector<std::string>& lines) {
    std::vector<std::string> ansi;
    for (const auto& line : lines) ansi.push_back(codec_.FromUtf8(line));
    return files_.Write(path, JoinLines(ansi));
}

}  // namespace varnic
