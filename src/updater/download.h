// DownLoad: fetches one HTTP resource into one local file on the window thread and reports
// through three events. Set URL and SaveFile, call Execute (connects and captures the
// response headers), ask GetHeader if needed, then StartDownLoad, which copies the body and
// raises GetData with the running count on time (about 30 times a second, and once more at
// the end), then DownLoadOver, or ErrMassage on failure.
//
// The body is read as it arrives, in pieces of up to 64 KB, and goes to a temporary file
// beside SaveFile that replaces it only when the transfer is complete: the HTTP status was
// 2xx, the byte count matches the announced Content-Length and the expected size and SHA-256,
// when given. A body that grows past the announced length, the expected size or the limit is
// stopped at once. Anything less than complete leaves SaveFile as it was.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/language.h"
#include "updater/clock.h"
#include "updater/download_files.h"
#include "updater/http_session.h"
#include "updater/sha256.h"

namespace varnic {

enum class DownLoadState { Idle, Connected, Transferring };

// What a body must be before it may replace its target; empty members are not checked.
struct ContentCheck {
    std::optional<std::int64_t> size;   // exactly this many bytes
    std::string sha256;                 // 64 hex digits, either case
    std::optional<std::int64_t> limit;  // at most this many bytes
};

class DownLoad {
public:
    static constexpr std::size_t kPieceSize = 64 * 1024;
    static constexpr std::size_t kHeaderCapacity = 1024;
    static constexpr std::int64_t kProgressInterval = 33;  // milliseconds: about 30 times a second

    // The failures are said in `language`.
    DownLoad(HttpSession& session, DownloadFiles& files, Sha256Factory& sha256, Clock& clock,
             Language language = Language::kChinese);
    DownLoad(const DownLoad&) = delete;
    DownLoad& operator=(const DownLoad&) = delete;
    ~DownLoad();

    void URL(const std::string& url) { url_ = url; }
    void SaveFile(const std::string& path) { saveFile_ = path; }
    // The checks of the next transfer's body; every StartDownLoad uses and then forgets them.
    void Expect(ContentCheck check) { expected_ = std::move(check); }

    void Execute();
    // Always false; the events tell how the transfer went.
    bool StartDownLoad();
    void Cancel();
    std::string GetHeader(const std::string& headerName);

    DownLoadState State() const { return state_; }

    std::function<void(std::int64_t received)> GetData;
    std::function<void()> DownLoadOver;
    std::function<void(const std::string& message)> ErrMassage;
    // Lets the window handle its pending messages; a listener may call Cancel from here.
    std::function<void()> Yield;

private:
    // The most bytes a body may have, and what is said when it has more.
    struct Bound {
        std::int64_t bytes;
        std::string message;
    };

    void Raise(const std::string& message);
    bool Active() const { return state_ != DownLoadState::Idle; }
    std::optional<Bound> TightestBound(std::optional<std::int64_t> announced, const ContentCheck& expected) const;
    std::optional<std::string> BodyProblem(std::int64_t received, std::optional<std::int64_t> announced,
                                           const ContentCheck& expected, Sha256& digest) const;

    HttpSession& session_;
    DownloadFiles& files_;
    Sha256Factory& sha256_;
    Clock& clock_;
    Language language_;
    std::string url_;
    std::string saveFile_;
    ContentCheck expected_;
    DownLoadState state_ = DownLoadState::Idle;
    std::uint64_t generation_ = 0;  // counts connections; a transfer notices it was replaced
    std::string rawHeaders_;
};

// The value of Content-Length in a raw header block, the name matched in any case; nullopt
// when absent or not a whole non-negative number.
std::optional<std::int64_t> ContentLengthOf(const std::string& rawHeaders);

}  // namespace varnic
