#include "updater/win32/wininet_session.h"

#include <algorithm>

#include "platform/win32/wide.h"

namespace varnic::win32 {

bool WinInetSession::Open(const std::string& agent) {
    Close();
    session_.Reset(InternetOpenW(Wide(agent).c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    return static_cast<bool>(session_);
}

bool WinInetSession::OpenUrl(const std::string& url) {
    request_.Reset();
    if (!session_) return false;
    request_.Reset(InternetOpenUrlW(session_.Get(), Wide(url).c_str(), nullptr, 0,
                                    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI, 0));
    return static_cast<bool>(request_);
}

RawHeaderAnswer WinInetSession::QueryRawHeaders(std::size_t capacity) {
    if (!request_ || capacity == 0) return {};
    std::wstring buffer(capacity, L' ');
    DWORD length = static_cast<DWORD>(capacity * sizeof(wchar_t));
    DWORD index = 0;
    if (!HttpQueryInfoW(request_.Get(), HTTP_QUERY_RAW_HEADERS, buffer.data(), &length, &index)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return {};
        // The length asked for is in bytes and may leave out the final NUL.
        return {RawHeaderAnswer::Result::TooSmall, "", length / sizeof(wchar_t) + 1};
    }
    buffer.resize(std::min<std::size_t>(length / sizeof(wchar_t), capacity));
    // Header texts are ASCII; the NUL separators survive the conversion.
    return {RawHeaderAnswer::Result::Ok, Utf8(buffer), 0};
}

std::optional<int> WinInetSession::StatusCode() {
    if (!request_) return std::nullopt;
    DWORD status = 0, size = sizeof status;
    if (!HttpQueryInfoW(request_.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return std::nullopt;  // ftp:// and the like have no status
    return static_cast<int>(status);
}

ReadAnswer WinInetSession::Read(char* buffer, std::size_t size) {
    if (!request_) return {0, false};
    // Waits until something has arrived or the body has ended, then reads no more than has
    // arrived: a read of more would wait for all of it.
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request_.Get(), &available, 0, 0)) return {0, false};
    if (available == 0) return {0, true};  // the end of the body
    DWORD got = 0;
    if (!InternetReadFile(request_.Get(), buffer, static_cast<DWORD>(std::min<std::size_t>(size, available)), &got))
        return {0, false};
    return {got, true};
}

void WinInetSession::Close() {
    request_.Reset();
    session_.Reset();
}

}  // namespace varnic::win32
