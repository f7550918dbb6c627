// The network side of a download: one HTTP(S) request at a time, opened, its headers read,
// its body read as it arrives, closed. The Win32 implementation speaks WinINet; tests use a
// scripted fake.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace varnic {

// The raw header block of a response: every header line (status line first) followed by one
// NUL byte.
struct RawHeaderAnswer {
    enum class Result { Ok, TooSmall, Failed };
    Result result = Result::Failed;
    std::string block;        // when Ok
    std::size_t needed = 0;   // when TooSmall: the capacity the system asks for
};

struct ReadAnswer {
    std::size_t count = 0;  // bytes placed in the buffer; 0 only at the end of the body
    bool ok = true;         // false when the read itself failed (connection lost)
};

class HttpSession {
public:
    virtual ~HttpSession() = default;
    // Opens the internet session under the given agent name, direct (no proxy).
    virtual bool Open(const std::string& agent) = 0;
    // Sends the request for `url`, always fetched from the server (never from a cache), and
    // waits for the response's headers.
    virtual bool OpenUrl(const std::string& url) = 0;
    // The raw header block, offered `capacity` characters.
    virtual RawHeaderAnswer QueryRawHeaders(std::size_t capacity) = 0;
    // The response's HTTP status; nullopt when the protocol has none or it cannot be read.
    virtual std::optional<int> StatusCode() = 0;
    // Up to `size` bytes of what has arrived of the body, waiting only until something has.
    virtual ReadAnswer Read(char* buffer, std::size_t size) = 0;
    // Releases the request and the session; harmless when nothing is open.
    virtual void Close() = 0;
};

}  // namespace varnic
