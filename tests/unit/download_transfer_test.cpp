// DownLoad against a scripted HTTP session and an in-memory target folder.
#include "updater/download.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <vector>

#include "memory_ports.h"
#include "updater/sha256.h"

namespace varnic {
namespace {

using namespace std::string_literals;

// Serves one response: status, raw header block and body, read in pieces of at most the size
// asked for (or of the sizes listed in `pieces`).
struct ScriptedSession final : HttpSession {
    bool openWorks = true, urlWorks = true;
    std::optional<int> status = 200;
    std::string headers;
    std::string body;
    std::vector<std::size_t> pieces;            // when set: the count each read returns
    std::optional<std::size_t> failReadAfter;   // a read at this offset fails
    std::vector<std::string> calls;
    std::vector<std::size_t> headerCapacities;
    bool open = false;
    std::size_t offset = 0;

    bool Open(const std::string& agent) override {
        calls.push_back("Open " + agent);
        return open = openWorks;
    }
    bool OpenUrl(const std::string& url) override {
        calls.push_back("OpenUrl " + url);
        offset = 0;
        return open && urlWorks;
    }
    RawHeaderAnswer QueryRawHeaders(std::size_t capacity) override {
        headerCapacities.push_back(capacity);
        if (headers.size() > capacity) return {RawHeaderAnswer::Result::TooSmall, "", headers.size() + 1};
        return {RawHeaderAnswer::Result::Ok, headers, 0};
    }
    std::optional<int> StatusCode() override { return status; }
    ReadAnswer Read(char* buffer, std::size_t size) override {
        if (!open) return {0, false};
        if (failReadAfter && offset >= *failReadAfter) return {0, false};
        std::size_t count = std::min(size, body.size() - offset);
        if (!pieces.empty()) {
            count = std::min(count, pieces.front());
            pieces.erase(pieces.begin());
        }
        body.copy(buffer, count, offset);
        offset += count;
        return {count, true};
    }
    void Close() override {
        if (open) calls.push_back("Close");
        open = false;
    }
};

std::string Headers(const std::string& lines) { return "HTTP/1.1 200 OK\0"s + lines; }
std::string Body(std::size_t size) {
    std::string body;
    for (std::size_t i = 0; i < size; ++i) body += static_cast<char>('a' + i % 26);
    return body;
}
std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}
std::string Sha256Of(const std::string& bytes) {
    PortableSha256 digest;
    digest.Add(bytes.data(), bytes.size());
    return digest.HexDigest();
}

constexpr char kTarget[] = "C:\\Varnic\\kelvo.exe";

class DownLoadTest : public ::testing::Test {
protected:
    ScriptedSession session;
    fakes::MemoryFolder targets;
    PortableSha256Factory sha;
    DownLoad tg{session, targets, sha};
    std::vector<std::string> events;

    void SetUp() override {
        tg.GetData = [this](std::int64_t received) { events.push_back("GetData " + std::to_string(received)); };
        tg.DownLoadOver = [this] { events.push_back("DownLoadOver"); };
        tg.ErrMassage = [this](const std::string& message) { events.push_back("Err " + message); };
        tg.URL("http://update.varnic.example/update/kelvo.exe");
        tg.SaveFile(kTarget);
    }
    void Serve(const std::string& body, bool announceLength = true) {
        session.body = body;
        session.headers = Headers((announceLength ? "Content-Length: " + std::to_string(body.size()) + "\0"s : ""s) +
                                  "Server: test\0"s);
    }
    void Run() {
        tg.Execute();
        tg.StartDownLoad();
    }
};

TEST_F(DownLoadTest, AnEmptyBodyReportsZeroThenTheEndAndCreatesAnEmptyFile) {
    Serve("");
    Run();
    EXPECT_EQ(events, (std::vector<std::string>{"GetData 0", "DownLoadOver"}));
    EXPECT_EQ(targets.files.at(kTarget), "");
}

TEST_F(DownLoadTest, ABodyOfWholePiecesEndsWithAnEmptyReadThatRepeatsTheTotal) {
    Serve(Body(2048));
    Run();
    EXPECT_EQ(events, (std::vector<std::string>{"GetData 1024", "GetData 2048", "GetData 2048", "DownLoadOver"}));
    EXPECT_EQ(targets.files.at(kTarget), Body(2048));
}

TEST_F(DownLoadTest, AShortLastPieceIsWrittenByteByByte) {
    Serve(Body(1500));
    int yields = 0;
    tg.Yield = [&] { ++yields; };
    Run();
    EXPECT_EQ(events, (std::vector<std::string>{"GetData 1024", "GetData 1500", "DownLoadOver"}));
    EXPECT_EQ(targets.files.at(kTarget), Body(1500));
    ASSERT_EQ(targets.writeSizes.size(), 1u + 476u);
    EXPECT_EQ(targets.writeSizes.front(), 1024u);
    EXPECT_EQ(std::count(targets.writeSizes.begin(), targets.writeSizes.end(), 1u), 476);
    // after each read, after each byte of the short piece, after each GetData
    EXPECT_EQ(yields, 2 + 476 + 2);
}

TEST_F(DownLoadTest, TheAgentIsPelmorAndEveryTransferEndsWithTheConnectionClosed) {
    Serve(Body(10));
    Run();
    EXPECT_EQ(session.calls.front(), "Open Pelmor");
    EXPECT_EQ(session.calls.at(1), "OpenUrl http://update.varnic.example/update/kelvo.exe");
    EXPECT_EQ(session.calls.back(), "Close");
    EXPECT_FALSE(session.open);
    EXPECT_EQ(tg.State(), DownLoadState::Idle);
}

TEST_F(DownLoadTest, ACancelInTheYieldAfterAFullReadDropsThatPieceAndRaisesNothingMore) {
    targets.files[kTarget] = "old program";
    Serve(Body(3000));
    tg.Yield = [&] {
        if (tg.State() == DownLoadState::Transferring) tg.Cancel();
    };
    Run();
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(targets.writeSizes.empty());
    EXPECT_EQ(targets.files.at(kTarget), "old program");
    EXPECT_EQ(targets.pendingAlive, 0);
}

TEST_F(DownLoadTest, ACancelFromGetDataEndsTheTransferWithoutInstallingIt) {
    targets.files[kTarget] = "old program";
    Serve(Body(1500));
    tg.GetData = [&](std::int64_t received) {
        events.push_back("GetData " + std::to_string(received));
        tg.Cancel();
    };
    Run();
    EXPECT_EQ(events, (std::vector<std::string>{"GetData 1024"}));
    EXPECT_EQ(targets.files.at(kTarget), "old program");
    EXPECT_EQ(targets.pendingAlive, 0);
}

TEST_F(DownLoadTest, ALockedTargetIsReportedWithItsPathAndNothingIsRead) {
    targets.files[kTarget] = "old program";
    targets.readOnly.insert(kTarget);
    Serve(Body(1500));
    Run();
    EXPECT_EQ(events, (std::vector<std::string>{"Err 文件C:\\Varnic\\kelvo.exe正在使用,无法进行操作"}));
    EXPECT_EQ(session.offset, 0u);
    EXPECT_EQ(targets.files.at(kTarget), "old program");
    EXPECT_EQ(tg.State(), DownLoadState::Idle);
}

TEST_F(DownLoadTest, AFailedWriteIsReportedAndTheOldFileStays) {
    targets.files[kTarget] = "old program";
    targets.failWriteAt = 1100;
    Serve(Body(1500));
    Run();
    EXPECT_EQ(events, (std::vector<std::string>{"GetData 1024", "Err 文件C:\\Varnic\\kelvo.exe正在使用,无法进行操作"}));
    EXPECT_EQ(targets.files.at(kTarget), "old program");
    EXPECT_EQ(targets.pendingAlive, 0);
}

TEST_F(DownLoadTest, ATargetThatCannotBeReplacedAtTheEndIsReportedInsteadOfSuccess) {
    targets.files[kTarget] = "old program";
    Serve(Body(100));
    tg.GetData = [&](std::int64_t) { targets.readOnly.insert(kTarget); };
    Run();
    EXPECT_EQ(events, (std::vector<std::string>{"Err 文件C:\\Varnic\\kelvo.exe正在使用,无法进行操作"}));
    EXPECT_EQ(targets.files.at(kTarget), "old program");
}

TEST_F(DownLoadTest, ConnectionFailuresAreReportedAndLeaveNothingToTransfer) {
    struct Case {
        bool openWorks, urlWorks;
        const char* message;
    };
    for (const Case& c : {Case{false, true, "无法创建连接"}, Case{true, false, "无法连接服务器"}}) {
        ScriptedSession failing;
        failing.openWorks = c.openWorks;
        failing.urlWorks = c.urlWorks;
        failing.body = Body(10);
        DownLoad download(failing, targets, sha);
        std::vector<std::string> seen;
        download.ErrMassage = [&](const std::string& m) { seen.push_back(m); };
        download.GetData = [&](std::int64_t) { seen.push_back("GetData"); };
        download.SaveFile(kTarget);
        download.Execute();
        EXPECT_EQ(seen, (std::vector<std::string>{c.message}));
        EXPECT_EQ(download.State(), DownLoadState::Idle);
        EXPECT_EQ(download.GetHeader("Content-Length"), "0");
        download.StartDownLoad();
        EXPECT_EQ(seen.size(), 1u);
        EXPECT_FALSE(failing.open);
    }
    EXPECT_EQ(targets.files.count(kTarget), 0u);
}

TEST_F(DownLoadTest, AnErrorStatusIsAFailureThatNamesItAndWritesNothing) {
    for (int status : {404, 500, 301, 199}) {
        events.clear();
        targets.files[kTarget] = "old program";
        Serve("<html>error page</html>");
        session.status = status;
        Run();
        EXPECT_EQ(events, (std::vector<std::string>{"Err 服务器返回错误：HTTP " + std::to_string(status)})) << status;
        EXPECT_EQ(targets.files.at(kTarget), "old program");
        EXPECT_EQ(tg.GetHeader("Content-Length"), "0");
    }
}

TEST_F(DownLoadTest, EverySuccessStatusIsAccepted) {
    for (int status : {200, 203, 299}) {
        events.clear();
        Serve("x");
        session.status = status;
        Run();
        EXPECT_EQ(events.back(), "DownLoadOver") << status;
    }
}

TEST_F(DownLoadTest, AHeaderBlockLongerThanTheFirstOfferIsReadAgainAtTheSizeAskedFor) {
    Serve(Body(10));
    session.headers = Headers("X-Padding: " + std::string(1500, 'p') + "\0Content-Length: 10\0"s);
    tg.Execute();
    EXPECT_EQ(session.headerCapacities, (std::vector<std::size_t>{1024, session.headers.size() + 1}));
    EXPECT_EQ(tg.GetHeader("Content-Length"), "10");
}

TEST_F(DownLoadTest, AFailedHeaderQueryLeavesEveryHeaderAtZero) {
    Serve(Body(10));
    struct NoHeaders final : HttpSession {
        ScriptedSession& inner;
        explicit NoHeaders(ScriptedSession& s) : inner(s) {}
        bool Open(const std::string& a) override { return inner.Open(a); }
        bool OpenUrl(const std::string& u) override { return inner.OpenUrl(u); }
        RawHeaderAnswer QueryRawHeaders(std::size_t) override { return {}; }
        std::optional<int> StatusCode() override { return 200; }
        ReadAnswer Read(char* b, std::size_t s) override { return inner.Read(b, s); }
        void Close() override { inner.Close(); }
    } noHeaders(session);
    DownLoad download(noHeaders, targets, sha);
    download.SaveFile(kTarget);
    download.Execute();
    EXPECT_EQ(download.GetHeader("Content-Length"), "0");
    EXPECT_EQ(download.GetHeader(""), "0");
    bool over = false;
    download.DownLoadOver = [&] { over = true; };
    download.StartDownLoad();
    EXPECT_TRUE(over);
    EXPECT_EQ(targets.files.at(kTarget), Body(10));
}

TEST_F(DownLoadTest, GetHeaderAnswersTheFiveHeadersByFixedOffsets) {
    session.headers = Headers(
        "Date: Sun, 06 Dec 2026 18:00:00 GMT\0Server: SimpleHTTP/0.6\0Content-Type: application/octet-stream\0"
        "Content-Length: 196608\0Last-Modified: Sat, 05 Dec 2026 10:00:00 GMT\0X-Other: here\0\0"s);
    tg.Execute();
    struct Case {
        const char* asked;
        const char* answer;
    };
    for (const Case& c : {Case{"Content-Length", "196608"}, Case{"content-length", "196608"},
                          Case{"CONTENT-LENGTH", "196608"}, Case{"Content-Type", "application/octet-stream"},
                          Case{"date", "Sun, 06 Dec 2026 18:00:00 GMT"}, Case{"Server", "SimpleHTTP/0.6"},
                          Case{"Last-Modified", "Sat, 05 Dec 2026 10:00:00 GMT"}, Case{"X-Other", "0"},
                          Case{"Content", "0"}, Case{"Content-Length ", "0"}})
        EXPECT_EQ(tg.GetHeader(c.asked), c.answer) << c.asked;
    EXPECT_EQ(tg.GetHeader(""), session.headers);
}

TEST_F(DownLoadTest, GetHeaderSearchesTheBlockInTheNamesOwnCapitalisation) {
    session.headers = Headers("content-length: 42\0server: lower\0\0"s);
    tg.Execute();
    EXPECT_EQ(tg.GetHeader("Content-Length"), "0");
    EXPECT_EQ(tg.GetHeader("Server"), "0");
}

TEST_F(DownLoadTest, GetHeaderAnswersZeroWhenNotConnected) {
    Serve(Body(10));
    EXPECT_EQ(tg.GetHeader("Content-Length"), "0");
    EXPECT_EQ(tg.GetHeader(""), "0");
    Run();
    EXPECT_EQ(tg.GetHeader("Content-Length"), "0");  // the finished transfer closed it
}

TEST_F(DownLoadTest, ABodyThatDoesNotMatchItsAnnouncedLengthIsNotInstalled) {
    struct Case {
        std::size_t sent, announced;
    };
    for (const Case& c : {Case{1500, 3000}, Case{3000, 1500}, Case{0, 1}}) {
        events.clear();
        targets.files[kTarget] = "old program";
        session.body = Body(c.sent);
        session.headers = Headers("Content-Length: " + std::to_string(c.announced) + "\0"s);
        Run();
        ASSERT_FALSE(events.empty());
        EXPECT_EQ(events.back(), "Err " + LengthMismatchMessage(c.sent, c.announced)) << c.sent;
        EXPECT_EQ(std::count(events.begin(), events.end(), "DownLoadOver"), 0);
        EXPECT_EQ(targets.files.at(kTarget), "old program");
        EXPECT_EQ(targets.pendingAlive, 0);
    }
}

TEST_F(DownLoadTest, TheLengthCheckFindsTheHeaderInAnyCase) {
    targets.files[kTarget] = "old program";
    session.body = Body(500);
    session.headers = Headers("content-length:  900 \0"s);
    Run();
    EXPECT_EQ(events.back(), "Err " + LengthMismatchMessage(500, 900));
    EXPECT_EQ(targets.files.at(kTarget), "old program");
}

TEST_F(DownLoadTest, ABodyWithoutAnnouncedLengthIsInstalledWhenItEnds) {
    Serve(Body(1500), false);
    Run();
    EXPECT_EQ(events.back(), "DownLoadOver");
    EXPECT_EQ(targets.files.at(kTarget), Body(1500));
}

TEST_F(DownLoadTest, ALostConnectionIsAFailureEvenWithoutAnnouncedLength) {
    targets.files[kTarget] = "old program";
    Serve(Body(5000), false);
    session.failReadAfter = 2048;
    Run();
    EXPECT_EQ(events, (std::vector<std::string>{"GetData 1024", "GetData 2048", "Err " + TransferBrokenMessage()}));
    EXPECT_EQ(targets.files.at(kTarget), "old program");
}

TEST_F(DownLoadTest, ShortReadsInTheMiddleEndTheTransferAndTheLengthCheckCatchesIt) {
    targets.files[kTarget] = "old program";
    Serve(Body(3000));
    session.pieces = {1024, 700};
    Run();
    EXPECT_EQ(events, (std::vector<std::string>{"GetData 1024", "GetData 1724", "Err " + LengthMismatchMessage(1724, 3000)}));
    EXPECT_EQ(targets.files.at(kTarget), "old program");
}

TEST_F(DownLoadTest, TheExpectedSizeAndDigestGuardTheInstallation) {
    const std::string good = Body(2500);
    struct Case {
        std::optional<std::int64_t> size;
        std::string sha;
        std::string outcome;
    };
    for (const Case& c : {
             Case{2500, Sha256Of(good), "DownLoadOver"},
             Case{std::nullopt, Upper(Sha256Of(good)), "DownLoadOver"},
             Case{2500, Sha256Of("something else"), "Err " + ChecksumMismatchMessage()},
             Case{2600, "", "Err " + SizeMismatchMessage(2500, 2600)},
             Case{-1, "", "Err " + SizeMismatchMessage(2500, -1)},
         }) {
        events.clear();
        targets.files[kTarget] = "old program";
        Serve(good);
        tg.Expect({c.size, c.sha});
        Run();
        EXPECT_EQ(events.back(), c.outcome) << c.sha;
        EXPECT_EQ(targets.files.at(kTarget), c.outcome == "DownLoadOver" ? good : "old program");
    }
}

TEST_F(DownLoadTest, AnExpectationServesOneTransferOnly) {
    Serve(Body(10));
    tg.Expect({11, ""});
    Run();
    EXPECT_EQ(events.back(), "Err " + SizeMismatchMessage(10, 11));
    Run();
    EXPECT_EQ(events.back(), "DownLoadOver");
}

TEST_F(DownLoadTest, AnEmptySaveFileIsRefused) {
    tg.SaveFile("");
    Serve(Body(10));
    Run();
    EXPECT_EQ(events, (std::vector<std::string>{"Err 文件正在使用,无法进行操作"}));
    EXPECT_TRUE(targets.files.empty());
}

TEST_F(DownLoadTest, ASecondStartDuringATransferIsIgnored) {
    Serve(Body(1500));
    bool nested = false;
    tg.Yield = [&] {
        if (!nested && tg.State() == DownLoadState::Transferring) {
            nested = true;
            tg.StartDownLoad();
        }
    };
    Run();
    EXPECT_EQ(events, (std::vector<std::string>{"GetData 1024", "GetData 1500", "DownLoadOver"}));
}

TEST_F(DownLoadTest, ANewExecuteDuringATransferEndsTheOldOneSilently) {
    targets.files[kTarget] = "old program";
    Serve(Body(3000));
    bool restarted = false;
    tg.Yield = [&] {
        if (!restarted && tg.State() == DownLoadState::Transferring) {
            restarted = true;
            tg.Execute();
        }
    };
    Run();
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(targets.files.at(kTarget), "old program");
    EXPECT_EQ(tg.State(), DownLoadState::Connected);
}

TEST(Sha256Test, KnownDigests) {
    struct Case {
        std::string input;
        const char* digest;
    };
    for (const Case& c : {
             Case{"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
             Case{"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
             Case{"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
                  "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
             Case{std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
         })
        EXPECT_EQ(Sha256Of(c.input), c.digest) << c.input.size();
}

TEST(Sha256Test, PiecesGiveTheSameDigestAsTheWhole) {
    const std::string text = Body(3000);
    PortableSha256 pieces;
    for (std::size_t i = 0; i < text.size(); i += 63) pieces.Add(text.data() + i, std::min<std::size_t>(63, text.size() - i));
    EXPECT_EQ(pieces.HexDigest(), Sha256Of(text));
}

}  // namespace
}  // namespace varnic
