// The updater's Win32 ports under Wine: DownLoad over the WinINet session against
// tests/e2e/http_server.py into the download files beside their target, with CryptoAPI's SHA-256;
// and the CryptoAPI verifier with the build tree's test key on the version file that
// tools/x-release-sign signed with it (tests/updater_targets.cmake). https is the end-to-end
// journeys' (an untrusted certificate refused, a trusted one accepted).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/win32/handles.h"
#include "scratch_folder.h"
#include "updater/download.h"
#include "updater/release_key.h"
#include "updater/signed_update.h"
#include "updater/updater_texts.h"
#include "updater/win32/cryptoapi_sha256.h"
#include "updater/win32/cryptoapi_signature_verifier.h"
#include "updater/win32/performance_clock.h"
#include "updater/win32/win32_download_files.h"
#include "updater/win32/wininet_session.h"
#include "updater_fakes.h"

namespace varnic::win32 {
namespace {

using namespace testing;
using fakes::Pattern;

// The test server for the whole program: its address, "" when it did not start within 30 s.
// Wine runs the Linux program by its Unix path; it writes its port to a file under /tmp (drive
// Z:) and stops when that file is removed, which the program does as it exits.
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
    // Fetches `url` over the old program; what the target holds afterwards.
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
             {"/bytes/196608", Pattern(196608), "over", {196608, fakes::Sha256Of(Pattern(196608)), {}}},
             {"/drip/3000?chunk=100&delay=10", Pattern(3000), "over", {}},
             {"/bigheaders/1500?size=3000", Pattern(1500), "over", {}},
             {"/length/10000/3000", "old program", "下载", {}},  // cut short: either failure message
             {"/no/such/file", "old program", HttpStatusMessage(404), {}}}) {
        EXPECT_EQ(Fetch(http + path, check), installed) << path;
        EXPECT_EQ(events.back().rfind(last, 0), 0u) << path << ": " << events.back();
    }
    tg.URL(http + "/bigheaders/1500?size=3000");
    tg.Execute();
    EXPECT_EQ(tg.GetHeader("Content-Length"), "1500") << "beyond the first 1024 characters";
    EXPECT_EQ(Fetch("http://127.0.0.1:1/vr.ini"), "old program");
    EXPECT_EQ(events, std::vector<std::string>{"无法连接服务器"});
    PutFile(target, "old program");
    UniqueFile holder(CreateFileW(Wide(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    Fetch(http + "/bytes/2000");
    EXPECT_EQ(events, std::vector<std::string>{FileInUseMessage(target)}) << "refused before any byte";
}

TEST_F(UpdaterPortsTest, ATargetThatCannotBeReplacedStaysAsItWas) {
    PutFile(target, "old program", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(files.Begin(target)) << "read-only";
    SetFileAttributesW(Wide(target).c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(files.Begin(folder / "missing\\vr.ini")) << "no such folder";
    EXPECT_FALSE(files.Begin(folder.Path())) << "a folder";
    auto pending = files.Begin(target);
    ASSERT_TRUE(pending && pending->Write("new program", 11));
    UniqueFile holder(CreateFileW(Wide(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(pending->Commit()) << "locked once the transfer ran";
    pending.reset();
    holder.Reset();
    EXPECT_EQ(FileBytes(target), "old program");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"kelvo.exe"});
}

TEST(CryptoApiSignatureVerifierTest, AcceptsWhatReleaseSignSignedWithTheKeyAndNothingElse) {
    CryptoApiSignatureVerifier verifier(kReleasePublicKey, sizeof kReleasePublicKey);
    const std::string file = FileBytes(VARNIC_TEST_SIGNED_DIR "\\vr.ini"), program = FileBytes(VARNIC_TEST_SIGNED_DIR "\\kelvo.exe");
    const UpdateVerdict good = VerifyVersionFile(file, verifier);
    ASSERT_TRUE(good.update) << file;
    EXPECT_EQ(good.update->version + " " + std::to_string(good.update->size), "2.0 " + std::to_string(program.size()));
    EXPECT_EQ(VerifyVersionFile(std::string(file).replace(file.find("Ver=2.0"), 7, "Ver=2.1"), verifier).refusal,
              UpdateRefusal::BadSignature);
    const std::string message = SignedUpdateMessage("2.0", good.update->size, good.update->sha256);
    const std::size_t at = file.find("Signature=") + 10;
    const std::string signature = *DecodeBase64(file.substr(at, file.find('\r', at) - at));
    for (std::size_t bit = 0; bit < signature.size() * 8; bit += 61) {
        std::string flipped = signature;
        flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << bit % 8));
        EXPECT_EQ(verifier.Verify(message, flipped), SignatureCheck::Invalid) << "bit " << bit;
    }
    std::vector<unsigned char> otherKey(std::begin(kReleasePublicKey), std::end(kReleasePublicKey));
    otherKey[40] ^= 0x10;  // a bit of the modulus: another public key
    EXPECT_EQ(CryptoApiSignatureVerifier(otherKey.data(), otherKey.size()).Verify(message, signature), SignatureCheck::Invalid);
    const unsigned char garbage[] = {1, 2, 3, 4, 5, 6, 7, 8};
    CryptoApiSignatureVerifier unusable(garbage, sizeof garbage);
    EXPECT_EQ(VerifyVersionFile(file, unusable).refusal, UpdateRefusal::NoVerifier);
}

}  // namespace
}  // namespace varnic::win32
