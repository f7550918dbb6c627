// HttpSession over WinINet: http:// and https:// addresses, direct connection, always from
// the server. A read takes what has arrived (InternetQueryDataAvailable), so a server that
// sends a byte a second holds the caller for one packet, never for a whole buffer.
#pragma once

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

private:
    UniqueInternet session_;
    UniqueInternet request_;
};

}  // namespace varnic::win32
