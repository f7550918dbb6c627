// HttpSession over WinINet: http:// and https:// addresses, direct connection, always from
// the server. A read fills the buffer unless the body ends, as DownLoad expects: a slow
// server that delivers a piece in several packets does not end the transfer early. Between
// those packets the read runs the waiting hook, so a server that sends a byte a second does
// not freeze the caller's window for the whole piece.
#pragma once

#include <functional>

#include "updater/http_session.h"
#include "updater/win32/internet_handle.h"

namespace varnic::win32 {

class WinInetSession final : public HttpSession {
public:
    bool Open(const std::string& agent) override;
    bool OpenUrl(const std::string& url) override;
    RawHeaderAnswer QueryRawHeaders(std::size_t capacity) override;
    std::optional<int> StatusCode() override;
    ReadAnswer Read(char* buffer, std::size_t size) override;
    void Close() override;

    // Run between the packets of one read; it may Close the session (or open another
    // address), which ends the read as failed: the caller's cancel has made it moot.
    void WhileWaiting(std::function<void()> hook) { whileWaiting_ = std::move(hook); }

private:
    std::function<void()> whileWaiting_;
    UniqueInternet session_;
    UniqueInternet request_;
};

}  // namespace varnic::win32
