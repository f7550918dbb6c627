#include "updater/download.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include <vector>

#include "updater/updater_texts.h"

namespace varnic {
namespace {

constexpr char kAgent[] = "Pelmor";

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

DownLoad::DownLoad(HttpSession& session, DownloadFiles& files, Sha256Factory& sha256, Clock& clock,
                   Language language)
    : session_(session), files_(files), sha256_(sha256), clock_(clock), language_(language) {}

DownLoad::~DownLoad() { session_.Close(); }

void DownLoad::Raise(const std::string& message) {
    if (ErrMassage) ErrMassage(message);
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
        Raise(std::string(Text(UpdaterText::kNoSession, language_)));
        return;
    }
    if (!session_.OpenUrl(url_)) {
        Cancel();
        Raise(std::string(Text(UpdaterText::kNoConnection, language_)));
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
        Raise(HttpStatusMessage(*status, language_));
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

std::optional<DownLoad::Bound> DownLoad::TightestBound(std::optional<std::int64_t> announced,
                                                       const ContentCheck& expected) const {
    std::optional<Bound> tightest;
    auto consider = [&](std::optional<std::int64_t> bytes, auto message) {
        if (bytes && (!tightest || *bytes < tightest->bytes)) tightest = Bound{*bytes, message(*bytes)};
    };
    const Language language = language_;
    consider(announced, [language](std::int64_t bytes) { return LongerThanAnnouncedMessage(bytes, language); });
    consider(expected.size, [language](std::int64_t bytes) { return SizeMismatchMessage(bytes + 1, bytes, language); });
    consider(expected.limit, [language](std::int64_t bytes) { return OverLimitMessage(bytes, language); });
    return tightest;
}

std::optional<std::string> DownLoad::BodyProblem(std::int64_t received, std::optional<std::int64_t> announced,
                                                 const ContentCheck& expected, Sha256& digest) const {
    if (announced && *announced != received) return LengthMismatchMessage(received, *announced, language_);
    if (expected.size && *expected.size != received) return SizeMismatchMessage(received, *expected.size, language_);
    if (!expected.sha256.empty() && Upper(digest.HexDigest()) != Upper(expected.sha256))
        return ChecksumMismatchMessage(language_);
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
    if (!pending) return fail(FileInUseMessage(target, language_));
    // The count and a turn for the window's messages; false when a listener ended the transfer.
    auto report = [&](std::int64_t received) {
        if (GetData) GetData(received);
        if (stillMine() && Yield) Yield();
        return stillMine();
    };

    const std::optional<std::int64_t> announced = ContentLengthOf(rawHeaders_);
    const std::optional<Bound> bound = TightestBound(announced, expected);
    std::unique_ptr<Sha256> digest = sha256_.Create();
    std::vector<char> piece(kPieceSize);
    std::int64_t received = 0;
    std::int64_t reportedAt = clock_.Milliseconds();
    for (bool ended = false; !ended;) {
        // A piece fills with what arrives until it is full, the body ends or the count is due.
        // Past a bound one byte is enough to know: nothing more is read.
        const std::size_t room = bound ? static_cast<std::size_t>(std::min<std::int64_t>(
                                             kPieceSize, bound->bytes + 1 - received))
                                       : kPieceSize;
        std::size_t filled = 0;
        bool due = false;
        while (filled < room && !ended && !due) {
            const ReadAnswer read = session_.Read(piece.data() + filled, room - filled);
            if (!read.ok) return fail(TransferBrokenMessage(language_));
            filled += std::min(read.count, room - filled);
            ended = read.count == 0;
            due = clock_.Milliseconds() - reportedAt >= kProgressInterval;
        }
        if (filled > 0 && !pending->Write(piece.data(), filled)) return fail(FileInUseMessage(target, language_));
        digest->Add(piece.data(), filled);
        received += static_cast<std::int64_t>(filled);
        if (bound && received > bound->bytes) return fail(bound->message);
        if (due && !ended) {
            if (!report(received)) return false;
            reportedAt = clock_.Milliseconds();
        }
    }
    if (!report(received)) return false;
    if (auto problem = BodyProblem(received, announced, expected, *digest)) return fail(*problem);
    if (!pending->Commit()) return fail(FileInUseMessage(target, language_));
    pending.reset();
    if (DownLoadOver) DownLoadOver();
    return false;
}

}  // namespace varnic
