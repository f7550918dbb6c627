#include "updater/version_files.h"

#include "base/line_file.h"
#include "updater/ini_reader.h"

namespace varnic {
namespace {

constexpr char kSection[] = "Ver";

bool AllOf(const std::string& text, const char* allowed) {
    return !text.empty() && text.find_first_not_of(allowed) == std::string::npos;
}

}  // namespace

std::string ReadVersionText(FileSystem& files, AnsiCodec& codec, const std::string& path) {
    auto bytes = files.Read(path, kLineFileReadLimit);
    std::optional<std::string> value = bytes ? ReadIniValue(*bytes, kSection, "Ver") : std::nullopt;
    if (!value) return "0";
    return codec.ToUtf8(value->substr(0, kVersionTextLimit));
}

ContentCheck ReadProgramCheck(FileSystem& files, const std::string& path) {
    ContentCheck check;
    auto bytes = files.Read(path, kLineFileReadLimit);
    if (!bytes) return check;
    if (auto size = ReadIniValue(*bytes, kSection, "Size"); size && !size->empty()) {
        if (AllOf(*size, "0123456789") && size->size() <= 18)
            check.size = std::stoll(*size);
        else
            check.size = -1;  // no body has a negative size
    }
    if (auto sha = ReadIniValue(*bytes, kSection, "Sha256"); sha && !sha->empty())
        check.sha256 = sha->size() == 64 && AllOf(*sha, "0123456789abcdefABCDEF") ? *sha : "not a digest";
    return check;
}

}  // namespace varnic
