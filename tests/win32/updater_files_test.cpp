// The updater's Win32 file pieces: replacing a target only with a committed download, and
// SHA-256 through the system's provider.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "updater/win32/cryptoapi_sha256.h"
#include "updater/win32/win32_download_files.h"

namespace varnic::win32 {
namespace {

std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(std::filesystem::path(Wide(path)), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

bool Exists(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

class DownloadFilesTest : public ::testing::Test {
protected:
    Win32DownloadFiles files;
    std::filesystem::path folder;
    std::string target;

    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("varnic-files-" + std::to_string(GetCurrentProcessId()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        target = Utf8((folder / L"kelvo.exe").wstring());
        std::ofstream(folder / L"kelvo.exe", std::ios::binary) << "old program";
    }
    void TearDown() override {
        SetFileAttributesW(Wide(target).c_str(), FILE_ATTRIBUTE_NORMAL);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

TEST_F(DownloadFilesTest, ACommittedFileReplacesTheTargetAndLeavesNoTemporaryFile) {
    auto pending = files.Begin(target);
    ASSERT_TRUE(pending);
    EXPECT_TRUE(Exists(Win32DownloadFiles::TemporaryName(target)));
    EXPECT_EQ(ReadFileBytes(target), "old program");
    ASSERT_TRUE(pending->Write("new ", 4));
    ASSERT_TRUE(pending->Write("program", 7));
    ASSERT_TRUE(pending->Commit());
    pending.reset();
    EXPECT_EQ(ReadFileBytes(target), "new program");
    EXPECT_FALSE(Exists(Win32DownloadFiles::TemporaryName(target)));
}

TEST_F(DownloadFilesTest, AnAbandonedFileIsDeletedAndTheTargetStays) {
    auto pending = files.Begin(target);
    ASSERT_TRUE(pending);
    ASSERT_TRUE(pending->Write("half", 4));
    pending.reset();
    EXPECT_EQ(ReadFileBytes(target), "old program");
    EXPECT_FALSE(Exists(Win32DownloadFiles::TemporaryName(target)));
}

TEST_F(DownloadFilesTest, ANewTargetIsCreatedOnCommit) {
    const std::string fresh = Utf8((folder / L"新版本.ini").wstring());
    auto pending = files.Begin(fresh);
    ASSERT_TRUE(pending);
    EXPECT_FALSE(Exists(fresh));
    ASSERT_TRUE(pending->Commit());
    EXPECT_TRUE(Exists(fresh));
    EXPECT_EQ(ReadFileBytes(fresh), "");
}

TEST_F(DownloadFilesTest, TargetsThatCannotBeReplacedAreRefusedAtOnce) {
    {
        UniqueFile holder(CreateFileW(Wide(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_FALSE(files.Begin(target));
    }
    ASSERT_TRUE(SetFileAttributesW(Wide(target).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(files.Begin(target));
    SetFileAttributesW(Wide(target).c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_FALSE(files.Begin(Utf8((folder / L"missing" / L"vr.ini").wstring())));
    EXPECT_FALSE(files.Begin(Utf8(folder.wstring())));
    EXPECT_FALSE(files.Begin(""));
    EXPECT_EQ(ReadFileBytes(target), "old program");
    EXPECT_FALSE(Exists(Win32DownloadFiles::TemporaryName(target)));
}

TEST_F(DownloadFilesTest, ATargetLockedAfterTheStartMakesTheCommitFailAndStays) {
    auto pending = files.Begin(target);
    ASSERT_TRUE(pending);
    ASSERT_TRUE(pending->Write("new program", 11));
    UniqueFile holder(CreateFileW(Wide(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_FALSE(pending->Commit());
    pending.reset();
    holder.Reset();
    EXPECT_EQ(ReadFileBytes(target), "old program");
    EXPECT_FALSE(Exists(Win32DownloadFiles::TemporaryName(target)));
}

TEST(CryptoApiSha256Test, AgreesWithTheKnownDigests) {
    CryptoApiSha256Factory factory;
    EXPECT_TRUE(factory.UsesSystemProvider());
    struct Case {
        std::string input;
        const char* digest;
    };
    for (const Case& c : {
             Case{"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
             Case{"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
             Case{"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
                  "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
         }) {
        auto digest = factory.Create();
        digest->Add(c.input.data(), c.input.size());
        EXPECT_EQ(digest->HexDigest(), c.digest) << c.input;
    }
}

}  // namespace
}  // namespace varnic::win32
