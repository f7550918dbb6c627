#include "updater/download.h"

#include <cctype>
#include <utility>

#include "base/numbers.h"

namespace varnic {
namespace {

constexpr char kAgent[] = "Pelmor";
constexpr char kKept[] = "，原文件保持不变";

std::string Count(std::int64_t bytes) { return bytes == 0 ? "0" : FormatGrouped(bytes); }

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text) {
    std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return "";
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

// The five headers GetHeader answers: the name as asked (upper case), as searched (exact
// case), and where the value starts after the start of the match (name, colon, blank).
struct SupportedHeader {
    const char* requested;
    const char* searched;
    std::size_t valueOffset;
};
constexpr SupportedHeader kSupportedHeaders[] = {
    {"CONTENT-LENGTH", "Content-Length", 16}, {"CONTENT-TYPE", "Content-Type", 14},
    {"DATE", "Date", 6},                      {"LAST-MODIFIED", "Last-Modified", 15},
    {"SERVER", "Server", 8},
};

}  // namespace

std::string FileInUseMessage(const std::string& path) { return "文件" + path + "正在使用,无法进行操作"; }
std::string HttpStatusMessage(int status) { return "服务器返回错误：HTTP " + Decimal(status); }
std::string TransferBrokenMessage() { return std::string("下载中断：与服务器的连接已断开") + kKept; }
std::string LengthMismatchMessage(std::int64_t received, std::int64_t announced) {
    return "下载不完整：收到 " + Count(received) + " 字节，服务器声明 " + Count(announced) + " 字节" + kKept;
}
std::string SizeMismatchMessage(std::int64_t received, std::int64_t expected) {
    return "下载的文件大小不符：收到 " + Count(received) + " 字节，版本文件要求 " + Count(expected) + " 字节" + kKept;
}
std::string ChecksumMismatchMessage() { return std::string("下载的文件校验失败（SHA-256 不符）") + kKept; }

std::optional<std::int64_t> ContentLengthOf(const std::string& rawHeaders) {
    std::size_t start = rawHeaders.find('\0');  // the status line comes first
    while (start != std::string::npos && start < rawHeaders.size()) {
        std::size_t end = rawHeaders.find('\0', start + 1);
        std::string line = rawHeaders.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
        start = end;
        std::size_t colon = line.find(':');
        if (colon == std::string::npos || Upper(Trim(line.substr(0, colon))) != "CONTENT-LENGTH") continue;
        std::string value = Trim(line.substr(colon + 1));
        if (value.empty() || value.size() > 18) return std::nullopt;
        std::int64_t length = 0;
        for (char c : value) {
            if (c < '0' || c > '9') return std::nullopt;
            length = length * 10 + (c - '0');
        }
        return length;
    }
    return std::nullopt;
}

DownLoad::DownLoad(HttpSession& session, DownloadFiles& files, Sha256Factory& sha256)
    : session_(session), files_(files), sha256_(sha256) {}

DownLoad::~DownLoad() { session_.Close(); }

void DownLoad::Raise(const std::string& message) {
    if (ErrMassage) ErrMassage(message);
}

void DownLoad::YieldNow() {
    if (Yield) Yield();
}

void DownLoad::Cancel() {
    state_ = DownLoadState::Idle;
    ++generation_;
    session_.Close();
}

void DownLoad::Execute() {
    Cancel();  // a fresh connection every time
    state_ = DownLoadState::Connected;
    rawHeaders_.clear();
    if (!session_.Open(kAgent)) {
        Cancel();
        Raise(kNoSession);
        return;
    }
    if (!session_.OpenUrl(url_)) {
        Cancel();
        Raise(kNoConnection);
        return;
    }
    RawHeaderAnswer headers = session_.QueryRawHeaders(kHeaderCapacity);
    if (headers.result == RawHeaderAnswer::Result::TooSmall && headers.needed > kHeaderCapacity)
        headers = session_.QueryRawHeaders(headers.needed);
    if (headers.result == RawHeaderAnswer::Result::Ok) rawHeaders_ = headers.block;

    // An error page is not the file asked for.
    std::optional<int> status = session_.StatusCode();
    if (status && (*status < 200 || *status > 299)) {
        Cancel();
        Raise(HttpStatusMessage(*status));
    }
}

std::string DownLoad::GetHeader(const std::string& headerName) {
    if (!Active()) {
        Cancel();
        return "0";
    }
    if (rawHeaders_.empty()) return "0";
    const std::string requested = Upper(headerName);
    for (const SupportedHeader& header : kSupportedHeaders) {
        if (requested != header.requested) continue;
        std::size_t found = rawHeaders_.find(header.searched);
        if (found == std::string::npos) return "0";
        std::size_t start = found + header.valueOffset;
        if (start > rawHeaders_.size()) return "";
        std::size_t end = rawHeaders_.find('\0', start);
        return rawHeaders_.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    if (headerName.empty()) return rawHeaders_;
    return "0";
}

std::optional<std::string> DownLoad::BodyProblem(std::int64_t received, const ContentCheck& expected,
                                                 Sha256& digest) const {
    if (auto announced = ContentLengthOf(rawHeaders_); announced && *announced != received)
        return LengthMismatchMessage(received, *announced);
    if (expected.size && *expected.size != received) return SizeMismatchMessage(received, *expected.size);
    if (!expected.sha256.empty() && Upper(digest.HexDigest()) != Upper(expected.sha256))
        return ChecksumMismatchMessage();
    return std::nullopt;
}

bool DownLoad::StartDownLoad() {
    if (state_ == DownLoadState::Transferring) return false;  // one transfer at a time
    if (!Active()) {
        Cancel();
        return false;
    }
    const ContentCheck expected = std::exchange(expected_, ContentCheck{});
    const std::string target = saveFile_;
    state_ = DownLoadState::Transferring;
    const std::uint64_t mine = generation_;
    // A Cancel, or a new Execute, from a listener or a yield ends this transfer silently.
    auto stillMine = [&] { return generation_ == mine && state_ == DownLoadState::Transferring; };
    // Ends in Idle on every path, a listener's exception included.
    struct EndInIdle {
        DownLoad& self;
        std::uint64_t mine;
        ~EndInIdle() {
            if (self.generation_ == mine) self.Cancel();
        }
    } endInIdle{*this, mine};

    std::unique_ptr<PendingFile> pending = target.empty() ? nullptr : files_.Begin(target);
    auto fail = [&](const std::string& message) {
        Cancel();
        pending.reset();  // deletes the temporary file
        Raise(message);
        return false;
    };
    if (!pending) return fail(FileInUseMessage(target));

    std::unique_ptr<Sha256> digest = sha256_.Create();
    std::int64_t received = 0;
    char buffer[kPieceSize];
    for (;;) {
        ReadAnswer read = session_.Read(buffer, kPieceSize);
        if (read.count > kPieceSize) read.count = kPieceSize;
        YieldNow();
        if (!stillMine()) return false;
        if (!read.ok) return fail(TransferBrokenMessage());
        if (read.count == kPieceSize) {
            if (!pending->Write(buffer, kPieceSize)) return fail(FileInUseMessage(target));
        } else {
            for (std::size_t i = 0; i < read.count; ++i) {
                if (!pending->Write(buffer + i, 1)) return fail(FileInUseMessage(target));
                YieldNow();
                if (!stillMine()) return false;
            }
        }
        digest->Add(buffer, read.count);
        received += static_cast<std::int64_t>(read.count);
        if (GetData) GetData(received);
        if (!stillMine()) return false;
        YieldNow();
        if (!stillMine()) return false;
        if (read.count < kPieceSize) break;
    }
    if (auto problem = BodyProblem(received, expected, *digest)) return fail(*problem);
    if (!pending->Commit()) return fail(FileInUseMessage(target));
    pending.reset();
    if (DownLoadOver) DownLoadOver();
    return false;
}

}  // namespace varnic
