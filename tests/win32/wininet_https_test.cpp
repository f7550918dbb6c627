// DownLoad over the real WinINet session with https:// addresses, against
// tests/e2e/http_server.py speaking TLS on 127.0.0.1.
//
// Two servers: one with a certificate it makes at start, which nothing trusts, and, when
// VARNIC_TLS_CERT and VARNIC_TLS_KEY name a certificate and its key, one with that
// certificate. Wine trusts what the host's CA bundle holds, so wininet_https_run.sh makes the
// certificate and runs this program with a bundle that includes it, in a private mount
// namespace; run plainly, the trusted cases are skipped. The session never relaxes the check.
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

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

// A TLS test server for the program's life.
class TlsServer {
public:
    // `certificateOptions`: "--tls-cert C --tls-key K", or "--tls-cert FILE" to make one.
    TlsServer(const std::string& name, const std::string& certificateOptions)
        : port_(testing::StartLocalServer("https-" + name, certificateOptions, 300)) {}
    ~TlsServer() {
        if (port_ != 0) Quit();
    }
    TlsServer(const TlsServer&) = delete;
    TlsServer& operator=(const TlsServer&) = delete;

    bool Running() const { return port_ != 0; }
    std::string Url(const std::string& path) const { return "https://127.0.0.1:" + std::to_string(port_) + path; }

private:
    // Only this test's own request to stop a server it started skips the certificate check.
    void Quit() const {
        HINTERNET internet = InternetOpenW(L"Pelmor", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
        HINTERNET connection = internet ? InternetConnectW(internet, L"127.0.0.1", static_cast<INTERNET_PORT>(port_),
                                                           nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0)
                                        : nullptr;
        HINTERNET request = connection ? HttpOpenRequestW(connection, L"GET", L"/quit", nullptr, nullptr, nullptr,
                                                          INTERNET_FLAG_SECURE | INTERNET_FLAG_RELOAD, 0)
                                       : nullptr;
        if (request) {
            DWORD flags = 0, size = sizeof flags;
            InternetQueryOptionW(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, &size);
            flags |= SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID;
            InternetSetOptionW(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, sizeof flags);
            HttpSendRequestW(request, nullptr, 0, nullptr, 0);
            InternetCloseHandle(request);
        }
        if (connection) InternetCloseHandle(connection);
        if (internet) InternetCloseHandle(internet);
    }

    int port_ = 0;
};

class TlsServersEnvironment : public ::testing::Environment {
public:
    static TlsServer* unknown;
    static TlsServer* trusted;  // null when no trusted certificate was given

    void SetUp() override {
        ASSERT_FALSE(EnvironmentValue("VARNIC_SOURCE", "").empty()) << "VARNIC_SOURCE names the source tree";
        const std::string name = "/tmp/varnic-https-" + std::to_string(GetCurrentProcessId()) + "-unknown.pem";
        unknown_ = std::make_unique<TlsServer>("unknown", "--tls-cert " + name);
        ASSERT_TRUE(unknown_->Running()) << "the TLS test server did not start";
        unknown = unknown_.get();
        const std::string cert = EnvironmentValue("VARNIC_TLS_CERT", ""), key = EnvironmentValue("VARNIC_TLS_KEY", "");
        if (cert.empty() || key.empty()) return;
        trusted_ = std::make_unique<TlsServer>("trusted", "--tls-cert " + cert + " --tls-key " + key);
        ASSERT_TRUE(trusted_->Running()) << "the trusted TLS test server did not start";
        trusted = trusted_.get();
    }
    void TearDown() override {
        unknown = trusted = nullptr;
        trusted_.reset();
        unknown_.reset();
    }

private:
    std::unique_ptr<TlsServer> unknown_, trusted_;
};
TlsServer* TlsServersEnvironment::unknown = nullptr;
TlsServer* TlsServersEnvironment::trusted = nullptr;
const auto* const kServers = ::testing::AddGlobalTestEnvironment(new TlsServersEnvironment);

class WinInetHttpsTest : public testing::DownloadFixture {
protected:
    void SetUp() override { ASSERT_TRUE(TlsServersEnvironment::unknown); }
    void Download(const std::string& url) {
        Connect(url);
        tg.StartDownLoad();
    }
    TlsServer& Trusted() { return *TlsServersEnvironment::trusted; }
};

#define REQUIRE_TRUSTED_SERVER()                                                                     \
    if (!TlsServersEnvironment::trusted)                                                             \
    GTEST_SKIP() << "no trusted certificate given: run through tests/win32/wininet_https_run.sh"

TEST_F(WinInetHttpsTest, AServerWhoseCertificateIsNotTrustedIsRefusedAfterTheHandshake) {
    Download(TlsServersEnvironment::unknown->Url("/bytes/4096"));
    EXPECT_EQ(errors, (std::vector<std::string>{"无法连接服务器"}));
    EXPECT_EQ(over, 0);
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(ReadFileBytes(target), "old program");

    // The refusal comes from the certificate check, so the address was spoken to over TLS.
    WinInetSession direct;
    ASSERT_TRUE(direct.Open("Pelmor"));
    EXPECT_FALSE(direct.OpenUrl(TlsServersEnvironment::unknown->Url("/bytes/10")));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INVALID_CA));
}

TEST_F(WinInetHttpsTest, ATrustedServerDeliversTheProgramOverHttps) {
    REQUIRE_TRUSTED_SERVER();
    PortableSha256 digest;
    const std::string body = Pattern(196608);
    digest.Add(body.data(), body.size());
    tg.Expect({196608, digest.HexDigest()});
    Download(Trusted().Url("/bytes/196608"));
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(over, 1);
    EXPECT_EQ(received.size(), 193u);
    EXPECT_TRUE(ReadFileBytes(target) == body);
}

TEST_F(WinInetHttpsTest, ErrorStatusesAndShortBodiesOverHttpsInstallNothing) {
    REQUIRE_TRUSTED_SERVER();
    Download(Trusted().Url("/status/404"));
    EXPECT_EQ(errors, (std::vector<std::string>{HttpStatusMessage(404)}));
    errors.clear();
    Download(Trusted().Url("/drop/3000/10000"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0] == LengthMismatchMessage(3000, 10000) || errors[0] == TransferBrokenMessage()) << errors[0];
    EXPECT_EQ(over, 0);
    EXPECT_EQ(ReadFileBytes(target), "old program");
}

TEST_F(WinInetHttpsTest, TheCertificateMustNameTheServer) {
    REQUIRE_TRUSTED_SERVER();
    // The trusted certificate names 127.0.0.1, not localhost.
    const std::string url = Trusted().Url("/bytes/10");
    const std::string byName = "https://localhost" + url.substr(url.rfind(':'));
    Download(byName);
    EXPECT_EQ(errors, (std::vector<std::string>{"无法连接服务器"}));
    EXPECT_EQ(ReadFileBytes(target), "old program");
    WinInetSession direct;
    ASSERT_TRUE(direct.Open("Pelmor"));
    EXPECT_FALSE(direct.OpenUrl(byName));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_SEC_CERT_CN_INVALID));
}

}  // namespace
}  // namespace varnic::win32
