// Win32FileSystem and Win32AnsiCodec on a real (Wine) file system.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "platform/win32/ansi_codec.h"
#include "platform/win32/files.h"
#include "platform/win32/handles.h"
#include "scratch_folder.h"

namespace varnic::win32 {
namespace {

using testing::FileBytes;
using testing::PutFile;

TEST(AnsiCodec, ConvertsTheSystemCodePageBothWaysAndAscReadsItsCodes) {
    // The run that starts Wine with a Chinese locale says so: no quiet fall-back to the Western code page.
    if (const char* expected = std::getenv("VARNIC_EXPECT_ACP")) {
        ASSERT_EQ(GetACP(), UINT(std::atoi(expected)));
    }
    // a text, its bytes in code page 936 or 1252, and the Asc value of its first character
    const std::string utf8 = GetACP() == 936 ? "内存清理 Varnic" : "café € ü";
    const std::string ansi = GetACP() == 936 ? "\xC4\xDA\xB4\xE6\xC7\xE5\xC0\xED Varnic" : "caf\xE9 \x80 \xFC";
    if (GetACP() != 936 && GetACP() != 1252) GTEST_SKIP() << "no sample text for code page " << GetACP();
    Win32AnsiCodec codec;
    EXPECT_EQ(codec.FromUtf8(utf8), ansi);
    EXPECT_EQ(codec.ToUtf8(ansi), utf8);
    EXPECT_EQ(codec.ToUtf8("") + codec.FromUtf8(""), "");
    EXPECT_EQ(AnsiCode(utf8), GetACP() == 936 ? -15142 : 'c');
    for (const auto& [letter, code] : {std::pair{"E", 69}, {"e", 101}, {"Ez", 69}, {" ", 32}})
        EXPECT_EQ(AnsiCode(letter), code);
    EXPECT_EQ(AnsiCode(""), std::nullopt);
    if (GetACP() == 1252) {  // above 127 yet not negative: one byte; not in the code page: its default character
        EXPECT_EQ(std::pair(AnsiCode("é"), AnsiCode("内")),
                  std::pair(std::optional<std::int16_t>(233), std::optional<std::int16_t>('?')));
    }
}

class FileSystemTest : public ::testing::Test {
   protected:
    testing::ScratchFolder folder{"files"};
    Win32FileSystem files;
    std::string In(const char* name) { return folder / name; }
    DWORD Kind(const char* name) {
        return GetFileAttributesW(Wide(In(name)).c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    }
};

TEST_F(FileSystemTest, ExistsForOrdinaryFilesOnlyWhileAnyFileOrFolderTakesTheName) {
    ASSERT_TRUE(PutFile(In("plain.txt"), "x") && PutFile(In("hidden.txt"), "x", FILE_ATTRIBUTE_HIDDEN) &&
                PutFile(In("system.txt"), "x", FILE_ATTRIBUTE_SYSTEM) &&
                PutFile(In("readonly.txt"), "x", FILE_ATTRIBUTE_READONLY) &&
                CreateDirectoryW(Wide(In("temp")).c_str(), nullptr));
    // the name, then whether it exists and whether it is taken
    const std::tuple<std::string, bool, bool> cases[] = {
        {"plain.txt", true, true},     {"PLAIN.TXT", true, true},      {"readonly.txt", true, true},
        {"hidden.txt", false, true},   {"system.txt", false, true},    {"temp", false, true},
        {"missing.txt", false, false}, {"temp\\vr.ini", false, false}, {"no\\vr.ini", false, false},
        {"plain*", false, false},      {"plai?.txt", false, false}};
    for (const auto& [name, exists, taken] : cases)
        EXPECT_EQ(std::pair(files.Exists(In(name.c_str())), files.NameTaken(In(name.c_str()))),
                  std::pair(exists, taken))
            << name;
    EXPECT_FALSE(files.Exists("") || files.NameTaken(""));
}

TEST_F(FileSystemTest, ReadsRawBytesUpToTheLimitSharingWithWritersButNotWithExclusiveHolders) {
    const std::string bytes("line1\r\nzero\0byte\r\n\xFF\xFE", 20);
    ASSERT_TRUE(PutFile(In("2.txt"), bytes) && PutFile(In("empty.txt"), "") &&
                PutFile(In("hidden.ini"), "K\r\n", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(files.Read(In("2.txt"), 65400), bytes);
    EXPECT_EQ(files.Read(In("2.txt"), 5), "line1");
    EXPECT_EQ(files.Read(In("empty.txt"), 100), "");  // empty, not unreadable
    EXPECT_EQ(files.Read(In("hidden.ini"), 100), "K\r\n");
    EXPECT_FALSE(files.Read(In("missing.txt"), 100) || files.Read(folder.Path(), 100));
    UniqueFile writer(
        CreateFileW(Wide(In("2.txt")).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(files.Read(In("2.txt"), 5), "line1");
    writer.Reset(CreateFileW(Wide(In("empty.txt")).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(files.Read(In("empty.txt"), 100), std::nullopt);
}

TEST_F(FileSystemTest, WritesWholeFilesInOneMoveKeepingHiddenAndSystemRefusesWhatItCannotReplaceCopiesAndDeletes) {
    std::string big(3 * 1024 * 1024 + 17, '\0');  // more than one of the port's chunks
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    EXPECT_TRUE(files.Write(In("kelvo.exe"), big) && files.Read(In("kelvo.exe"), big.size() + 1) == big);
    EXPECT_TRUE(files.Write(In("Setting.ini"), "a much longer first content\r\n") &&
                files.Write(In("Setting.ini"), "E\r\n"));
    EXPECT_EQ(FileBytes(In("Setting.ini")) + std::to_string(Kind("Setting.ini")), "E\r\n0");
    for (const auto& [name, kind] :
         {std::pair{"AllRule.ini", FILE_ATTRIBUTE_HIDDEN}, {"BTRule.ini", FILE_ATTRIBUTE_SYSTEM}}) {
        ASSERT_TRUE(PutFile(In(name), "0\r\n", kind));
        EXPECT_TRUE(files.Write(In(name), "1\r\n2\r\n")) << name;
        EXPECT_EQ(FileBytes(In(name)) + std::to_string(Kind(name)), "1\r\n2\r\n" + std::to_string(kind));
    }
    ASSERT_TRUE(PutFile(In("readonly.ini"), "old", FILE_ATTRIBUTE_READONLY) && PutFile(In("locked.ini"), "old") &&
                CreateDirectoryW(Wide(In("temp")).c_str(), nullptr));
    UniqueFile lock(CreateFileW(Wide(In("locked.ini")).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    for (const char* name : {"readonly.ini", "locked.ini", "temp", "missing\\vr.ini"})
        EXPECT_FALSE(files.Write(In(name), "new")) << name;
    lock.Reset();
    EXPECT_EQ(FileBytes(In("readonly.ini")) + FileBytes(In("locked.ini")), "oldold");
    auto names = folder.Names();  // no file left behind
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"AllRule.ini", "BTRule.ini", "Setting.ini", "kelvo.exe", "locked.ini",
                                               "readonly.ini", "temp"}));
    // A copy replaces the longer kelvo.exe written above; a delete takes a file away once.
    EXPECT_TRUE(PutFile(In("tmp.exe"), "new program") && files.Copy(In("tmp.exe"), In("kelvo.exe")));
    EXPECT_FALSE(files.Copy(In("missing.exe"), In("kelvo.exe")));
    EXPECT_EQ(FileBytes(In("kelvo.exe")), "new program");
    EXPECT_TRUE(files.Delete(In("tmp.exe")));
    EXPECT_FALSE(files.Delete(In("tmp.exe")) || files.Exists(In("tmp.exe")));
}

}  // namespace
}  // namespace varnic::win32
