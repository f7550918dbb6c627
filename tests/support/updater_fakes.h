// The updater's stand-ins: an update server whose reads take time on its own clock, and a release key
// that accepts the signature "signed" over the messages it signed; the bytes the Wine test shares.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "updater/clock.h"
#include "updater/http_session.h"
#include "updater/sha256.h"
#include "updater/signed_update.h"

namespace varnic::fakes {

using namespace std::string_literals;

struct Resource {
    std::string body = "";
    int status = 200;  // 0: cannot be reached
    std::string headers = "";                               // further header lines, each ended by NUL
    std::optional<std::int64_t> announced = std::nullopt;  // Content-Length if not the body's; -1: none
    std::size_t piece = SIZE_MAX;    // the most one read answers
    std::size_t breakAt = SIZE_MAX;  // reads from this offset on fail
    bool headerBlock = true;         // whether the system answers the header query
};

// Resources by address (any other, or one of status 0, cannot be reached); each read takes readMs.
class FakeServer : public HttpSession, public Clock {
public:
    std::map<std::string, Resource> resources;
    bool sessionWorks = true, open = false;
    std::vector<std::string> calls;  // "Open <agent>", "OpenUrl <url>"
    std::size_t offset = 0;          // read of the current body
    std::int64_t now = 0, readMs = 0;

    std::int64_t Milliseconds() override { return now; }
    bool Open(const std::string& agent) override {
        calls.push_back("Open " + agent);
        return open = sessionWorks;
    }
    bool OpenUrl(const std::string& url) override {
        calls.push_back("OpenUrl " + url);
        current_ = open && resources.count(url) && resources[url].status ? &resources[url] : nullptr;
        offset = 0;
        return current_;
    }
    RawHeaderAnswer QueryRawHeaders(std::size_t capacity) override {
        const std::string block = Headers();
        if (!current_->headerBlock) return {};
        return block.size() > capacity ? RawHeaderAnswer{RawHeaderAnswer::Result::TooSmall, "", block.size() + 1}
                                       : RawHeaderAnswer{RawHeaderAnswer::Result::Ok, block, 0};
    }
    std::optional<int> StatusCode() override { return current_->status; }
    ReadAnswer Read(char* buffer, std::size_t size) override {
        now += readMs;
        if (!current_ || offset >= current_->breakAt) return {0, false};
        const std::size_t count = std::min({size, current_->body.size() - offset, current_->piece});
        offset += current_->body.copy(buffer, count, offset);
        return {count, true};
    }
    void Close() override { open = false, current_ = nullptr; }
    std::string Headers() const {
        const auto length = current_->announced.value_or(static_cast<std::int64_t>(current_->body.size()));
        return "HTTP/1.1 " + std::to_string(current_->status) + " X\0"s +
               (length >= 0 ? "Content-Length: " + std::to_string(length) + "\0"s : "") + current_->headers;
    }

private:
    Resource* current_ = nullptr;
};

// Bytes that differ from their neighbours (byte i is i * 7 mod 251), as the test server sends.
inline std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 % 251);
    return bytes;
}

inline std::string Sha256Of(const std::string& bytes) {
    PortableSha256 digest;
    digest.Add(bytes.data(), bytes.size());
    return digest.HexDigest();
}

inline std::string VersionFile(const std::string& version, const std::string& size, const std::string& sha256,
                               const std::string& signature = "c2lnbmVk") {  // base64 of "signed"
    return "[Ver]\r\nVer=" + version + "\r\nSize=" + size + "\r\nSha256=" + sha256 + "\r\nSignature=" + signature + "\r\n";
}

struct FakeKey final : SignatureVerifier {
    std::set<std::string> signedMessages;
    bool available = true;
    std::string lastMessage;
    SignatureCheck Verify(const std::string& message, const std::string& signature) override {
        lastMessage = message;
        if (!available) return SignatureCheck::Unavailable;
        return signature == "signed" && signedMessages.count(message) ? SignatureCheck::Valid : SignatureCheck::Invalid;
    }
    std::string Signed(const std::string& version, const std::string& program) {
        signedMessages.insert(SignedUpdateMessage(version, static_cast<std::int64_t>(program.size()), Sha256Of(program)));
        return VersionFile(version, std::to_string(program.size()), Sha256Of(program));
    }
};

}  // namespace varnic::fakes
