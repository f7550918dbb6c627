// DownLoad over the real WinINet session against tests/e2e/http_server.py on 127.0.0.1.
// Under Wine the test starts the server itself: Wine runs a Linux program given by its Unix
// path, and the server tells its port through a file under /tmp (drive Z: in the prefix).
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "download_fixture.h"
#include "local_test_server.h"
#include "updater/download.h"
#include "updater/win32/cryptoapi_sha256.h"
#include "updater/win32/win32_download_files.h"
#include "updater/win32/wininet_session.h"

namespace varnic::win32 {
namespace {

using testing::EnvironmentValue;
using testing::Pattern;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

class ServerEnvironment : public ::testing::Environment {
public:
    static int port;

    void SetUp() override {
        ASSERT_FALSE(EnvironmentValue("VARNIC_SOURCE", "").empty()) << "VARNIC_SOURCE names the source tree";
        port = testing::StartLocalServer("wininet", "", 600);
        ASSERT_NE(port, 0) << "the test server did not report its port";
    }

    void TearDown() override {
        if (port == 0) return;
        WinInetSession session;
        if (session.Open("Pelmor")) session.OpenUrl(Url("/quit"));
    }

    static std::string Url(const std::string& path) { return "http://127.0.0.1:" + std::to_string(port) + path; }
};
int ServerEnvironment::port = 0;
const auto* const kServer = ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

class WinInetDownLoadTest : public testing::DownloadFixture {
protected:
    void SetUp() override { ASSERT_NE(ServerEnvironment::port, 0); }
    void Fetch(const std::string& path) { Connect(ServerEnvironment::Url(path)); }
};

TEST_F(WinInetDownLoadTest, AnOrdinaryDownloadReplacesTheFileAndCountsEveryPiece) {
    Fetch("/bytes/196608");
    EXPECT_EQ(tg.GetHeader("Content-Length"), "196608");
    EXPECT_EQ(tg.GetHeader("content-type"), "application/octet-stream");
    EXPECT_NE(tg.GetHeader("").find("HTTP/1."), std::string::npos);
    tg.StartDownLoad();
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(over, 1);
    ASSERT_EQ(received.size(), 193u);
    EXPECT_EQ(received.front(), 1024);
    EXPECT_EQ(received[191], 196608);
    EXPECT_EQ(received.back(), 196608);
    EXPECT_EQ(ReadFileBytes(target), Pattern(196608));
    EXPECT_EQ(tg.State(), DownLoadState::Idle);
}

TEST_F(WinInetDownLoadTest, ErrorStatusesAreReportedAndWriteNothing) {
    for (int status : {404, 500}) {
        errors.clear();
        Fetch("/status/" + std::to_string(status));
        EXPECT_EQ(tg.GetHeader("Content-Length"), "0");
        tg.StartDownLoad();
        EXPECT_EQ(errors, (std::vector<std::string>{HttpStatusMessage(status)}));
        EXPECT_TRUE(received.empty());
        ExpectOldProgramKept();
    }
}

TEST_F(WinInetDownLoadTest, AMissingFileOnTheServerIsA404) {
    Fetch("/no/such/file.exe");
    tg.StartDownLoad();
    EXPECT_EQ(errors, (std::vector<std::string>{HttpStatusMessage(404)}));
    ExpectOldProgramKept();
}

TEST_F(WinInetDownLoadTest, ADroppedConnectionKeepsTheOldFile) {
    Fetch("/drop/3000/10000");
    tg.StartDownLoad();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0] == LengthMismatchMessage(3000, 10000) || errors[0] == TransferBrokenMessage()) << errors[0];
    ExpectOldProgramKept();
}

TEST_F(WinInetDownLoadTest, FewerBytesThanAnnouncedKeepTheOldFile) {
    Fetch("/length/5000/3000");
    tg.StartDownLoad();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0] == LengthMismatchMessage(3000, 5000) || errors[0] == TransferBrokenMessage()) << errors[0];
    ExpectOldProgramKept();
}

// Windows stops reading at the announced length; Wine's WinINet reads on to the end of the
// connection. Either way no file longer than announced is installed.
TEST_F(WinInetDownLoadTest, MoreBytesThanAnnouncedNeverInstallMoreThanAnnounced) {
    Fetch("/length/1000/2000");
    tg.StartDownLoad();
    ASSERT_FALSE(received.empty());
    if (errors.empty()) {
        EXPECT_EQ(received.back(), 1000);
        EXPECT_EQ(ReadFileBytes(target), Pattern(1000));
    } else {
        EXPECT_EQ(errors, (std::vector<std::string>{LengthMismatchMessage(received.back(), 1000)}));
        EXPECT_EQ(received.back(), 2000);
        ExpectOldProgramKept();
    }
}

TEST_F(WinInetDownLoadTest, ASlowBodyArrivesWholeInFullPieces) {
    Fetch("/drip/3000?chunk=100&delay=10");
    tg.StartDownLoad();
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(received, (std::vector<std::int64_t>{1024, 2048, 3000}));
    EXPECT_EQ(ReadFileBytes(target), Pattern(3000));
}

TEST_F(WinInetDownLoadTest, AHeaderBlockOverOneKilobyteStillGivesTheLength) {
    Fetch("/bigheaders/1500?size=3000");
    EXPECT_GT(tg.GetHeader("").size(), 3000u);
    EXPECT_EQ(tg.GetHeader("Content-Length"), "1500");
    EXPECT_EQ(tg.GetHeader("Server").rfind("VarnicTest/1.0", 0), 0u);
    tg.StartDownLoad();
    EXPECT_EQ(over, 1);
    EXPECT_EQ(ReadFileBytes(target), Pattern(1500));
}

TEST_F(WinInetDownLoadTest, AnUnreachableServerCannotBeConnected) {
    tg.URL("http://127.0.0.1:1/update/vr.ini");
    tg.SaveFile(target);
    tg.Execute();
    EXPECT_EQ(errors, (std::vector<std::string>{"无法连接服务器"}));
    EXPECT_EQ(tg.GetHeader("Content-Length"), "0");
    tg.StartDownLoad();
    EXPECT_EQ(errors.size(), 1u);
    ExpectOldProgramKept();
}

TEST_F(WinInetDownLoadTest, ATargetHeldOpenByAnotherProgramIsReportedAndKept) {
    UniqueFile holder(CreateFileW(Wide(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    Fetch("/bytes/2000");
    tg.StartDownLoad();
    EXPECT_EQ(errors, (std::vector<std::string>{FileInUseMessage(target)}));
    EXPECT_TRUE(received.empty());
    holder.Reset();
    ExpectOldProgramKept();
}

TEST_F(WinInetDownLoadTest, TheDigestOfTheBodyDecidesTheInstallation) {
    PortableSha256 digest;
    const std::string body = Pattern(4096);
    digest.Add(body.data(), body.size());
    tg.Expect({4096, digest.HexDigest()});
    Fetch("/bytes/4096");
    tg.StartDownLoad();
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(ReadFileBytes(target), body);

    WriteFileBytes(target, "old program");
    over = 0;
    tg.Expect({std::nullopt, std::string(64, '0')});
    Fetch("/bytes/4096");
    tg.StartDownLoad();
    EXPECT_EQ(errors, (std::vector<std::string>{ChecksumMismatchMessage()}));
    ExpectOldProgramKept();
}

}  // namespace
}  // namespace varnic::win32
