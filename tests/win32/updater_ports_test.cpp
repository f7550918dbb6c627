// The updater's Win32 ports under Wine: DownLoad over WinINet against tests/e2e/http_server.py into
// the download files, with CryptoAPI's SHA-256.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/win32/handles.h"
#include "scratch_folder.h"
#include "updater/download.h"
#include "updater/updater_texts.h"
#include "updater/win32/cryptoapi_sha256.h"
#include "updater/win32/performance_clock.h"
#include "updater/win32/win32_download_files.h"
#include "updater/win32/wininet_session.h"
#include "updater_fakes.h"

namespace varnic::win32 {
namespace {

using namespace testing;
using fakes::Pattern;

// The test server's address ("" when it did not start within 30 s); it stops when its port file
// (under /tmp, Wine's Z:) is removed as this program exits.
std::string Server() {
    static const std::string portFile = "Z:/tmp/varnic-http-" + std::to_string(GetCurrentProcessId());
    std::wstring command = Wide("/usr/bin/python3 " + std::string(std::getenv("VARNIC_SOURCE")) +
                                "/tests/e2e/http_server.py --port-file " + portFile.substr(2));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return "";
    CloseHandle(process.hThread), CloseHandle(process.hProcess);
    std::atexit([] { DeleteFileW(Wide(portFile).c_str()); });
    for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(50))
        if (const std::string port = FileBytes(portFile); port != "<missing>") return "http://127.0.0.1:" + port.substr(0, port.size() - 1);
    return "";
}

class UpdaterPortsTest : public ::testing::Test {
protected:
    ScratchFolder folder{"download"};  // first in, last out: nothing of a download outlives it
    std::string target = folder / "kelvo.exe";
    WinInetSession session;
    Win32DownloadFiles files;
    CryptoApiSha256Factory sha;
    PerformanceClock clock;
    DownLoad tg{session, files, sha, clock};
    std::vector<std::string> events;

    UpdaterPortsTest() {
        tg.GetData = [this](std::int64_t n) { events.push_back(std::to_string(n)); };
        tg.DownLoadOver = [this] { events.push_back("over"); };
        tg.ErrMassage = [this](const std::string& message) { events.push_back(message); };
    }
    std::string Fetch(const std::string& url, ContentCheck check = {}) {
        events.clear();
        if (FileBytes(target) != "old program") PutFile(target, "old program");
        tg.URL(url);
        tg.SaveFile(target);
        tg.Expect(check);
        tg.Execute();
        tg.StartDownLoad();
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"kelvo.exe"}) << url << ": no download file stays";
        return FileBytes(target);
    }
};

TEST_F(UpdaterPortsTest, DownloadsOverHttpInstallOnlyWholeCheckedBodies) {
    static const std::string http = Server();
    ASSERT_NE(http, "") << "the test server did not start";
    EXPECT_TRUE(sha.UsesSystemProvider());
    for (auto [path, installed, last, check] : std::initializer_list<std::tuple<std::string, std::string, std::string, ContentCheck>>{
             {"/bytes/1500?pad=3000", Pattern(1500), "over", {1500, fakes::Sha256Of(Pattern(1500)), {}}},
             {"/bytes/3000?announce=10000", "old program", "下载", {}},  // cut short: either failure message
             {"/no/such/file", "old program", HttpStatusMessage(404), {}}}) {
        EXPECT_EQ(Fetch(http + path, check), installed) << path;
        EXPECT_EQ(events.back().rfind(last, 0), 0u) << path << ": " << events.back();
    }
    tg.URL(http + "/bytes/1500?pad=3000");
    tg.Execute();
    EXPECT_EQ(tg.GetHeader("Content-Length"), "1500") << "beyond the first 1024 characters";
}

TEST_F(UpdaterPortsTest, ATargetThatCannotBeReplacedStaysAsItWas) {
    PutFile(target, "old program", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(files.Begin(target)) << "read-only";
    SetFileAttributesW(Wide(target).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(files.Begin(folder.Path())) << "a folder";
    auto pending = files.Begin(target);
    ASSERT_TRUE(pending && pending->Write("new program", 11));
    UniqueFile holder(CreateFileW(Wide(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(files.Begin(target)) << "held without sharing";
    EXPECT_FALSE(pending->Commit()) << "locked once the transfer ran";
    pending.reset();
    holder.Reset();
    EXPECT_EQ(FileBytes(target), "old program");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"kelvo.exe"});
}

}  // namespace
}  // namespace varnic::win32
