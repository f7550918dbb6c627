// The version files: the INI lookup and the version text.
#include <gtest/gtest.h>

#include <map>

#include "updater/ini_reader.h"
#include "updater/version_files.h"

namespace varnic {
namespace {

TEST(IniValueTest, FindsValuesAsThePrivateProfileReaderDoes) {
    struct Case {
        const char* file;
        std::optional<std::string> value;
    };
    for (const Case& c : {
             Case{"[Ver]\r\nVer=1.9\r\n", "1.9"},
             Case{"[ver]\r\nVER=1.9\r\n", "1.9"},
             Case{"  [ Ver ]  \r\n  Ver  =   1.9 beta  \r\n", "1.9 beta"},
             Case{"[Ver]\nVer=2.0\n", "2.0"},
             Case{"[Ver]\rVer=2.0", "2.0"},
             Case{"[Ver]\r\nVer=\"1.9\"\r\n", "1.9"},
             Case{"[Ver]\r\nVer=\"1.9\r\n", "\"1.9"},
             Case{"[Ver]\r\nVer=\r\n", ""},
             Case{"[Ver]\r\n;Ver=3.0\r\nVer=1.9\r\n", "1.9"},
             Case{"[Ver]\r\nVer=1.9\r\nVer=2.0\r\n", "1.9"},
             Case{"[Other]\r\nVer=3.0\r\n[Ver]\r\nVersion=4\r\nVer=1.9\r\n", "1.9"},
             Case{"[Ver]\r\nSize=1\r\n[Ver]\r\nVer=1.9\r\n", std::nullopt},
             Case{"[Ver]\r\nVersion=1.9\r\n", std::nullopt},
             Case{"[Other]\r\nVer=1.9\r\n", std::nullopt},
             Case{"Ver=1.9\r\n", std::nullopt},
             Case{"", std::nullopt},
         })
        EXPECT_EQ(ReadIniValue(c.file, "Ver", "Ver"), c.value) << c.file;
}

struct FilesInMemory final : FileSystem {
    std::map<std::string, std::string> files;
    bool Exists(const std::string& path) override { return files.count(path) > 0; }
    std::optional<std::string> Read(const std::string& path, std::size_t) override {
        if (!files.count(path)) return std::nullopt;
        return files[path];
    }
    bool Write(const std::string&, const std::string&) override { return false; }
    bool Copy(const std::string&, const std::string&) override { return false; }
    bool Delete(const std::string&) override { return false; }
};

struct MarkingCodec final : AnsiCodec {
    std::string ToUtf8(const std::string& ansi) override { return "<" + ansi + ">"; }
    std::string FromUtf8(const std::string& utf8) override { return utf8; }
};

TEST(VersionTextTest, ReadsAtMostFortyNineBytesAndZeroWhenMissing) {
    FilesInMemory files;
    MarkingCodec codec;
    files.files["a"] = "[Ver]\r\nVer=1.9\r\n";
    files.files["long"] = "[Ver]\r\nVer=" + std::string(60, '7') + "\r\n";
    files.files["nokey"] = "[Ver]\r\n";
    EXPECT_EQ(ReadVersionText(files, codec, "a"), "<1.9>");
    EXPECT_EQ(ReadVersionText(files, codec, "long"), "<" + std::string(49, '7') + ">");
    EXPECT_EQ(ReadVersionText(files, codec, "nokey"), "0");
    EXPECT_EQ(ReadVersionText(files, codec, "missing"), "0");
}

}  // namespace
}  // namespace varnic
