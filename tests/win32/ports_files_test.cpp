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

// Texts of the code pages the tests know, with their ANSI bytes and the Asc value of their
// first character.
struct CodePageText {
    UINT codePage;
    std::string utf8;
    std::string ansi;
    std::int16_t firstCode;
};
const CodePageText kTexts[] = {
    {936, "内存清理 Varnic", "\xC4\xDA\xB4\xE6\xC7\xE5\xC0\xED Varnic", static_cast<std::int16_t>(-15142)},
    {1252, "café € ü", "caf\xE9 \x80 \xFC", 99},
};

const CodePageText* TextOfThisCodePage() {
    auto it = std::find_if(std::begin(kTexts), std::end(kTexts),
                           [](const CodePageText& t) { return t.codePage == GetACP(); });
    return it == std::end(kTexts) ? nullptr : it;
}

TEST(AnsiCodec, RunsInTheCodePageTheTestRunAskedFor) {
    // Set by the test run that starts Wine with a Chinese locale, so that run cannot quietly
    // fall back to the Western code page.
    const char* expected = std::getenv("VARNIC_EXPECT_ACP");
    if (expected == nullptr) GTEST_SKIP() << "no code page asked for; running in " << GetACP();
    EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
}

TEST(AnsiCodec, TextOfTheSystemCodePageSurvivesAFileRoundTrip) {
    const CodePageText* text = TextOfThisCodePage();
    if (text == nullptr) GTEST_SKIP() << "no sample text for code page " << GetACP();
    ScratchFolder folder("codec");
    Win32AnsiCodec codec;
    Win32FileSystem files;

    const std::string bytes = codec.FromUtf8(text->utf8);
    EXPECT_EQ(bytes, text->ansi);
    ASSERT_TRUE(files.Write(folder / "Setting.ini", bytes + "\r\n"));
    EXPECT_EQ(FileBytes(folder / "Setting.ini"), text->ansi + "\r\n");
    auto read = files.Read(folder / "Setting.ini", 65400);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(codec.ToUtf8(*read), text->utf8 + "\r\n");
}

TEST(AnsiCodec, EmptyTextsStayEmpty) {
    Win32AnsiCodec codec;
    EXPECT_EQ(codec.ToUtf8(""), "");
    EXPECT_EQ(codec.FromUtf8(""), "");
}

TEST(AnsiCode, IsTheCodeOfTheFirstCharacterAsBasicsAscGivesIt) {
    EXPECT_EQ(AnsiCode("E"), 69);
    EXPECT_EQ(AnsiCode("e"), 101);
    EXPECT_EQ(AnsiCode("Ez"), 69);
    EXPECT_EQ(AnsiCode(" "), 32);
    EXPECT_EQ(AnsiCode(""), std::nullopt);
    if (const CodePageText* text = TextOfThisCodePage()) {
        EXPECT_EQ(AnsiCode(text->utf8), text->firstCode);
    }
    if (GetACP() == 1252) {
        EXPECT_EQ(AnsiCode("é"), 233);   // above 127 yet not negative: a single byte
        EXPECT_EQ(AnsiCode("内"), '?');  // not in the code page: its default character
    }
}

class FileSystemTest : public ::testing::Test {
protected:
    ScratchFolder folder{"files"};
    Win32FileSystem files;
};

TEST_F(FileSystemTest, ExistsOnlyForOrdinaryFilesAsADirectoryListingShowsThem) {
    ASSERT_TRUE(PutFile(folder / "plain.txt", "x"));
    ASSERT_TRUE(PutFile(folder / "hidden.txt", "x", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(PutFile(folder / "system.txt", "x", FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(PutFile(folder / "readonly.txt", "x", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CreateDirectoryW(Wide(folder / "temp").c_str(), nullptr));

    struct Case {
        std::string path;
        bool exists;
    };
    const Case cases[] = {
        {folder / "plain.txt", true},
        {folder / "PLAIN.TXT", true},
        {folder / "readonly.txt", true},
        {folder / "hidden.txt", false},
        {folder / "system.txt", false},
        {folder / "temp", false},
        {folder / "missing.txt", false},
        {folder / "temp\\vr.ini", false},
        {folder / "plain*", false},
        {folder / "plai?.txt", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(files.Exists(c.path), c.exists) << c.path;
}

TEST_F(FileSystemTest, ReadGivesRawBytesUpToTheLimit) {
    const std::string bytes("line1\r\nzero\0byte\r\n\xFF\xFE", 20);
    ASSERT_TRUE(PutFile(folder / "2.txt", bytes));
    EXPECT_EQ(files.Read(folder / "2.txt", 65400), bytes);
    EXPECT_EQ(files.Read(folder / "2.txt", 5), "line1");
    EXPECT_EQ(files.Read(folder / "2.txt", 0), "");
    ASSERT_TRUE(PutFile(folder / "empty.txt", ""));
    EXPECT_EQ(files.Read(folder / "empty.txt", 100), "");  // empty, not unreadable
    EXPECT_EQ(files.Read(folder / "missing.txt", 100), std::nullopt);
    EXPECT_EQ(files.Read(folder.Path(), 100), std::nullopt);
}

TEST_F(FileSystemTest, ReadFailsWhileAnotherProgramHoldsTheFileWithoutSharing) {
    ASSERT_TRUE(PutFile(folder / "2.txt", "hello"));
    UniqueFile lock(CreateFileW(Wide(folder / "2.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    EXPECT_EQ(files.Read(folder / "2.txt", 100), std::nullopt);
    lock.Reset();
    EXPECT_EQ(files.Read(folder / "2.txt", 100), "hello");
}

TEST_F(FileSystemTest, ReadSharesTheFileWithAWriterThatAllowsIt) {
    ASSERT_TRUE(PutFile(folder / "vr.ini", "[Ver]\r\nVer=1.9\r\n"));
    UniqueFile writer(CreateFileW(Wide(folder / "vr.ini").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer);
    EXPECT_EQ(files.Read(folder / "vr.ini", 100), "[Ver]\r\nVer=1.9\r\n");
}

TEST_F(FileSystemTest, WriteReplacesTheWholeFileAndLeavesNoTemporaryFile) {
    EXPECT_TRUE(files.Write(folder / "Setting.ini", "a much longer first content\r\n"));
    EXPECT_TRUE(files.Write(folder / "Setting.ini", "E\r\n1\r\n"));
    EXPECT_EQ(FileBytes(folder / "Setting.ini"), "E\r\n1\r\n");
    EXPECT_TRUE(files.Write(folder / "Setting.ini", ""));
    EXPECT_EQ(FileBytes(folder / "Setting.ini"), "");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"Setting.ini"});
}

TEST_F(FileSystemTest, WriteCarriesLargeFilesWhole) {
    std::string big(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    ASSERT_TRUE(files.Write(folder / "kelvo.exe", big));
    EXPECT_EQ(files.Read(folder / "kelvo.exe", big.size() + 1), big);
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
    EXPECT_EQ(FileBytes(folder / "tmp.exe"), "new program");
    EXPECT_TRUE(files.Copy(folder / "tmp.exe", folder / "fresh.exe"));
    EXPECT_FALSE(files.Copy(folder / "missing.exe", folder / "kelvo.exe"));
    EXPECT_EQ(FileBytes(folder / "kelvo.exe"), "new program");

    EXPECT_TRUE(files.Delete(folder / "tmp.exe"));
    EXPECT_FALSE(files.Exists(folder / "tmp.exe"));
    EXPECT_FALSE(files.Delete(folder / "tmp.exe"));
    EXPECT_EQ(FileBytes(folder / "fresh.exe"), "new program");
}

}  // namespace
}  // namespace varnic::win32
