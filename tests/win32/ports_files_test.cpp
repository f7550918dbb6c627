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
using testing::ScratchFolder;

// Texts of the code pages the tests know: their ANSI bytes and the Asc value of the first character.
struct CodePageText {
    UINT codePage;
    std::string utf8, ansi;
    std::int16_t firstCode;
};
const CodePageText kTexts[] = {
    {936, "内存清理 Varnic", "\xC4\xDA\xB4\xE6\xC7\xE5\xC0\xED Varnic", static_cast<std::int16_t>(-15142)},
    {1252, "café € ü", "caf\xE9 \x80 \xFC", 99},
};

TEST(AnsiCodec, ConvertsTheSystemCodePageBothWaysAndAscReadsItsCodes) {
    // The run that starts Wine with a Chinese locale says so, so that it cannot quietly fall
    // back to the Western code page.
    if (const char* expected = std::getenv("VARNIC_EXPECT_ACP")) {
        EXPECT_EQ(GetACP(), UINT(std::atoi(expected)));
    }
    auto text = std::find_if(std::begin(kTexts), std::end(kTexts), [](auto& t) { return t.codePage == GetACP(); });
    if (text == std::end(kTexts)) GTEST_SKIP() << "no sample text for code page " << GetACP();
    Win32AnsiCodec codec;
    EXPECT_EQ(codec.FromUtf8(text->utf8), text->ansi);
    EXPECT_EQ(codec.ToUtf8(text->ansi), text->utf8);
    EXPECT_EQ(codec.ToUtf8(""), "");
    EXPECT_EQ(codec.FromUtf8(""), "");
    EXPECT_EQ(AnsiCode(text->utf8), text->firstCode);
    const std::pair<const char*, std::optional<std::int16_t>> codes[] = {
        {"E", 69}, {"e", 101}, {"Ez", 69}, {" ", 32}, {"", std::nullopt}};
    for (const auto& [letter, code] : codes) EXPECT_EQ(AnsiCode(letter), code) << letter;
    if (GetACP() == 1252) {
        EXPECT_EQ(AnsiCode("é"), 233);   // above 127 yet not negative: a single byte
        EXPECT_EQ(AnsiCode("内"), '?');  // not in the code page: its default character
    }
}

class FileSystemTest : public ::testing::Test {
protected:
    ScratchFolder folder{"files"};
    Win32FileSystem files;
    DWORD Attributes(const char* name) { return GetFileAttributesW(Wide(folder / name).c_str()); }
};

TEST_F(FileSystemTest, ExistsForOrdinaryFilesOnlyWhileAnyFileOrFolderTakesTheName) {
    ASSERT_TRUE(PutFile(folder / "plain.txt", "x"));
    ASSERT_TRUE(PutFile(folder / "hidden.txt", "x", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(PutFile(folder / "system.txt", "x", FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(PutFile(folder / "readonly.txt", "x", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CreateDirectoryW(Wide(folder / "temp").c_str(), nullptr));
    const struct {
        std::string path;
        bool exists, taken;
    } cases[] = {
        {folder / "plain.txt", true, true},     {folder / "PLAIN.TXT", true, true},
        {folder / "readonly.txt", true, true},  {folder / "hidden.txt", false, true},
        {folder / "system.txt", false, true},   {folder / "temp", false, true},
        {folder / "missing.txt", false, false}, {folder / "temp\\vr.ini", false, false},
        {folder / "no\\vr.ini", false, false},  {folder / "plain*", false, false},
        {folder / "plai?.txt", false, false},   {"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(files.Exists(c.path), c.exists) << c.path;
        EXPECT_EQ(files.NameTaken(c.path), c.taken) << c.path;
    }
}

TEST_F(FileSystemTest, ReadGivesRawBytesUpToTheLimitSharingWithWritersButNotWithExclusiveHolders) {
    const std::string bytes("line1\r\nzero\0byte\r\n\xFF\xFE", 20);
    ASSERT_TRUE(PutFile(folder / "2.txt", bytes));
    ASSERT_TRUE(PutFile(folder / "empty.txt", ""));
    ASSERT_TRUE(PutFile(folder / "hidden.ini", "K\r\n", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(files.Read(folder / "2.txt", 65400), bytes);
    EXPECT_EQ(files.Read(folder / "2.txt", 5), "line1");
    EXPECT_EQ(files.Read(folder / "2.txt", 0), "");
    EXPECT_EQ(files.Read(folder / "empty.txt", 100), "");  // empty, not unreadable
    EXPECT_EQ(files.Read(folder / "hidden.ini", 100), "K\r\n");
    EXPECT_EQ(files.Read(folder / "missing.txt", 100), std::nullopt);
    EXPECT_EQ(files.Read(folder.Path(), 100), std::nullopt);
    {
        UniqueFile writer(CreateFileW(Wide(folder / "2.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(writer);
        EXPECT_EQ(files.Read(folder / "2.txt", 5), "line1");
    }
    UniqueFile lock(CreateFileW(Wide(folder / "2.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    EXPECT_EQ(files.Read(folder / "2.txt", 100), std::nullopt);
}

TEST_F(FileSystemTest, WriteReplacesTheWholeFileKeepingHiddenAndSystemAndLeavesNoTemporaryFile) {
    std::string big(3 * 1024 * 1024 + 17, '\0');  // more than one write of the port's chunks
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    EXPECT_TRUE(files.Write(folder / "kelvo.exe", big));
    EXPECT_EQ(files.Read(folder / "kelvo.exe", big.size() + 1), big);
    EXPECT_TRUE(files.Write(folder / "Setting.ini", "a much longer first content\r\n"));
    EXPECT_TRUE(files.Write(folder / "Setting.ini", "E\r\n1\r\n"));
    EXPECT_EQ(FileBytes(folder / "Setting.ini"), "E\r\n1\r\n");
    EXPECT_TRUE(files.Write(folder / "Setting.ini", ""));
    EXPECT_EQ(FileBytes(folder / "Setting.ini"), "");
    EXPECT_EQ(Attributes("Setting.ini") & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), 0u);

    const std::pair<const char*, DWORD> kept[] = {{"AllRule.ini", FILE_ATTRIBUTE_HIDDEN},
                                                  {"BTRule.ini", FILE_ATTRIBUTE_SYSTEM}};
    for (const auto& [name, kind] : kept) {
        ASSERT_TRUE(PutFile(folder / name, "0\r\n", kind));
        EXPECT_TRUE(files.Write(folder / name, "1\r\n1\r\n1\r\n2\r\n")) << name;
        EXPECT_EQ(FileBytes(folder / name), "1\r\n1\r\n1\r\n2\r\n") << name;
        EXPECT_EQ(Attributes(name) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), kind) << name;
    }
    std::vector<std::string> names = folder.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"AllRule.ini", "BTRule.ini", "Setting.ini", "kelvo.exe"}));
}

TEST_F(FileSystemTest, AFailedWriteKeepsTheOldBytesAndCleansUp) {
    ASSERT_TRUE(PutFile(folder / "readonly.ini", "old", FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(files.Write(folder / "readonly.ini", "new"));
    EXPECT_EQ(FileBytes(folder / "readonly.ini"), "old");
    ASSERT_TRUE(PutFile(folder / "locked.ini", "old"));
    {
        UniqueFile lock(
            CreateFileW(Wide(folder / "locked.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        EXPECT_FALSE(files.Write(folder / "locked.ini", "new"));
    }
    EXPECT_EQ(FileBytes(folder / "locked.ini"), "old");
    ASSERT_TRUE(CreateDirectoryW(Wide(folder / "temp").c_str(), nullptr));
    EXPECT_FALSE(files.Write(folder / "temp", "new"));  // a folder is no file to replace
    EXPECT_FALSE(files.Write(folder / "missing\\vr.ini", "new"));
    std::vector<std::string> names = folder.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"locked.ini", "readonly.ini", "temp"}));
}

TEST_F(FileSystemTest, CopyReplacesTheTargetAndDeleteRemovesAFile) {
    ASSERT_TRUE(PutFile(folder / "tmp.exe", "new program"));
    ASSERT_TRUE(PutFile(folder / "kelvo.exe", "old program, longer"));
    EXPECT_TRUE(files.Copy(folder / "tmp.exe", folder / "kelvo.exe"));
    EXPECT_EQ(FileBytes(folder / "kelvo.exe"), "new program");
    EXPECT_FALSE(files.Copy(folder / "missing.exe", folder / "kelvo.exe"));
    EXPECT_EQ(FileBytes(folder / "kelvo.exe"), "new program");
    EXPECT_TRUE(files.Delete(folder / "tmp.exe"));
    EXPECT_FALSE(files.Exists(folder / "tmp.exe"));
    EXPECT_FALSE(files.Delete(folder / "tmp.exe"));
}

}  // namespace
}  // namespace varnic::win32
