// Line-oriented text files: the settings, rule and updater files. Their bytes are in the
// system's ANSI code page with CR LF line ends; the lines handed to the core are UTF-8.
#pragma once

#include <string>
#include <vector>

#include "base/ports.h"

namespace varnic {

// Splits bytes into at most `maxLines` lines, as the programs have always read their files: a
// line ends at CR, and an LF right after the CR belongs to that line end (a lone LF is part of
// the line); the line end is not part of the line; nothing is trimmed. A final line end does
// not start another line.
std::vector<std::string> SplitLines(const std::string& bytes, std::size_t maxLines);

// Every line followed by CR LF, the last one included.
std::string JoinLines(const std::vector<std::string>& lines);

// Files beside the program are never large; a reader takes at most this much of one.
inline constexpr std::size_t kLineFileReadLimit = 64 * 1024;

class LineFiles {
public:
    LineFiles(FileSystem& files, AnsiCodec& codec) : files_(files), codec_(codec) {}

    bool NameTaken(const std::string& path) { return files_.NameTaken(path); }
    // nullopt when the file cannot be opened or read.
    std::optional<std::vector<std::string>> Read(const std::string& path, std::size_t maxLines);
    bool Write(const std::string& path, const std::vector<std::string>& lines);

    FileSystem& Files() { return files_; }
    AnsiCodec& Codec() { return codec_; }

private:
    FileSystem& files_;
    AnsiCodec& codec_;
};

}  // namespace varnic
