#include "updater/version_files.h"

#include "base/line_file.h"
#include "updater/ini_reader.h"

namespace varnic {
namespace {

constexpr char kSection[] = "Ver";

}  // namespace

std::string ReadVersionText(FileSystem& files, AnsiCodec& codec, const std::string& path) {
    auto bytes = files.Read(path, kLineFileReadLimit);
    std::optional<std::string> value = bytes ? ReadIniValue(*bytes, kSection, "Ver") : std::nullopt;
    if (!value) return "0";
    return codec.ToUtf8(value->substr(0, kVersionTextLimit));
}

}  // namespace varnic
