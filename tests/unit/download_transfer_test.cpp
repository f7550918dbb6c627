// DownLoad against a fake update server and an in-memory folder.
#include "updater/download.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>

#include "memory_ports.h"
#include "updater/updater_texts.h"
#include "updater_fakes.h"

namespace varnic {
namespace {

using namespace fakes;
using Events = std::vector<std::string>;

constexpr char kUrl[] = "http://update.varnic.example/update/kelvo.exe";
constexpr char kTarget[] = "C:\\Varnic\\kelvo.exe";

class DownLoadTest : public ::testing::Test {
protected:
    FakeServer server;
    MemoryFolder folder;
    PortableSha256Factory sha;
    DownLoad tg{server, folder, sha, server};
    Events events;

    DownLoadTest() {
        tg.GetData = [this](std::int64_t received) { events.push_back("GetData " + std::to_string(received)); };
        tg.DownLoadOver = [this] { events.push_back("DownLoadOver"); };
        tg.ErrMassage = [this](const std::string& message) { events.push_back("Err " + message); };
        tg.URL(kUrl);
        tg.SaveFile(kTarget);
    }
    void Run(std::size_t size, Resource resource = {}) {
        events.clear();
        folder.files[kTarget] = "old program";
        resource.body = Pattern(size);
        server.resources[kUrl] = resource;
        tg.Execute();
        tg.StartDownLoad();
    }
};

TEST_F(DownLoadTest, ATransferReplacesTheTargetOnlyWhenCompleteAndChecked) {
    const std::string digest = Sha256Of(Pattern(2500));
    std::string upper = digest;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    struct Row {
        std::size_t body;
        Resource served;
        ContentCheck check;
        std::string outcome = "DownLoadOver";
        std::size_t readAtMost = SIZE_MAX;
        std::function<void()> fault = nullptr;
    };
    for (const Row& row : std::initializer_list<Row>{
             {0, {}, {}},
             {1500, {.announced = -1}, {}},
             {10, {.status = 299}, {}},
             {10, {.status = 404}, {}, "Err " + HttpStatusMessage(404), 0},
             {10, {.status = 199}, {}, "Err 服务器返回错误：HTTP 199", 0},
             {1500, {.announced = 3000}, {}, "Err " + LengthMismatchMessage(1500, 3000)},
             {500, {.headers = "content-length:  900 \0"s, .announced = -1}, {},
              "Err 下载不完整：收到 500 字节，服务器声明 900 字节，原文件保持不变"},
             {300000, {.announced = 1500}, {}, "Err " + LongerThanAnnouncedMessage(1500), 1501},
             {5000, {.announced = -1, .piece = 1024, .breakAt = 2048}, {}, "Err " + TransferBrokenMessage()},
             {2500, {}, {2500, digest, {}}},
             {2500, {}, {{}, upper, {}}},
             {2500, {}, {2500, Sha256Of("another"), {}}, "Err " + ChecksumMismatchMessage()},
             {2500, {}, {2600, "", {}}, "Err " + SizeMismatchMessage(2500, 2600)},
             {300000, {}, {2000, "", {}}, "Err " + SizeMismatchMessage(2001, 2000), 2001},
             {300000, {.announced = -1}, {{}, "", 1000}, "Err " + OverLimitMessage(1000), 1001},
             {10, {}, {}, "Err 文件C:\\Varnic\\kelvo.exe正在使用,无法进行操作", 0, [&] { folder.readOnly.insert(kTarget); }},
             {1500, {}, {}, "Err " + FileInUseMessage(kTarget), SIZE_MAX, [&] { folder.failWriteAt = 1100; }},
             {15, {}, {}, "Err " + FileInUseMessage(kTarget), SIZE_MAX, [&] { folder.folderReadOnly = true; }},
             {10, {.status = 0}, {}, "Err 无法连接服务器", 0},  // cannot be reached
             {10, {}, {}, "Err 无法创建连接", 0, [&] { server.sessionWorks = false; }},
         }) {
        folder = MemoryFolder{}, server.sessionWorks = true;
        if (row.fault) row.fault();
        tg.Expect(row.check);
        Run(row.body, row.served);
        const bool installed = row.outcome == "DownLoadOver";
        const std::string what = std::to_string(row.body) + " bytes, " + row.outcome;
        EXPECT_EQ(events.end()[installed ? -2 : -1], installed ? "GetData " + std::to_string(row.body) : row.outcome) << what;
        EXPECT_EQ(events.back(), row.outcome) << what;
        EXPECT_EQ(folder.files[kTarget], installed ? Pattern(row.body) : "old program") << what;
        EXPECT_LE(server.offset, row.readAtMost) << what;
        EXPECT_EQ(folder.pendingAlive, 0) << what << ": no temporary file stays";
        EXPECT_FALSE(server.open) << what;
    }
    EXPECT_EQ(Events(server.calls.begin(), server.calls.begin() + 2), Events({"Open Pelmor", "OpenUrl "s + kUrl}));
}

// About 30 times a second and once at the end; written and hashed in pieces of up to 64 KB.
TEST_F(DownLoadTest, ProgressIsReportedOnTimeNotPerPiece) {
    for (auto [readMs, step, pieces] : {std::tuple{0, 0, 4}, {10, 65536, 4}, {1000, 16384, 16}}) {
        Events expected;  // a count every `step` bytes, and the last one
        for (int n = step; step && n <= 262144; n += step) expected.push_back("GetData " + std::to_string(n));
        expected.insert(expected.end(), {"GetData 262144", "DownLoadOver"});
        folder.writeSizes.clear();
        server.readMs = readMs;  // each read of 16 KB takes this long
        int yields = 0;
        tg.Yield = [&] { ++yields; };
        Run(262144, {.piece = 16384});
        EXPECT_EQ(events, expected) << readMs;
        EXPECT_EQ(yields + 1u, events.size()) << readMs;
        EXPECT_EQ(folder.writeSizes, std::vector<std::size_t>(pieces, 262144 / pieces)) << readMs;
    }
}

TEST_F(DownLoadTest, GetHeaderAnswersFiveHeadersByTheirExactNameAndFixedOffsets) {
    auto connect = [&](Resource resource) {
        server.resources[kUrl] = resource;
        tg.Execute();
    };
    connect({.body = "0123456789", .headers = "Date: Sun, 06 Dec 2026\0Server: Simple/0.6\0Content-Type: text/plain\0"
                                              "X-Other: here\0server: lower\0Last-Modified: Sat, 05 Dec 2026\0Date\0"s +
                                              "X-Padding: " + std::string(1500, 'p') + "\0"s});  // past the first query
    for (auto [asked, answer] : {std::pair{"Content-Length", "10"}, {"content-length", "10"}, {"CONTENT-LENGTH", "10"},
                                 {"Content-Type", "text/plain"}, {"date", "Sun, 06 Dec 2026"}, {"Server", "Simple/0.6"},
                                 {"Last-Modified", "Sat, 05 Dec 2026"}, {"X-Other", "0"}, {"Content", "0"}})
        EXPECT_EQ(tg.GetHeader(asked), answer) << asked;
    EXPECT_EQ(tg.GetHeader(""), server.Headers());
    connect({.headers = "content-length: 42\0Date"s, .announced = -1});  // the exact capitalisation only
    EXPECT_EQ(tg.GetHeader("Content-Length") + "|" + tg.GetHeader("Date"), "0|") << "a name at the very end has no value";
    connect({.headerBlock = false});
    EXPECT_EQ(tg.GetHeader("") + "|" + tg.GetHeader("Content-Length"), "0|0") << "no header block at all";
}

TEST(Sha256Test, KnownDigestsWholeAndInPieces) {
    for (auto [input, digest] : {
             std::pair{"abc"s, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
             {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
             {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"}}) {
        PortableSha256 pieces;
        for (std::size_t i = 0; i < input.size(); i += 63) pieces.Add(input.data() + i, std::min<std::size_t>(63, input.size() - i));
        EXPECT_EQ(Sha256Of(input) + " " + pieces.HexDigest(), std::string(digest) + " " + digest) << input.size();
    }
}

}  // namespace
}  // namespace varnic
