// Signing for the updater's native tests: a stand-in for the release key that accepts a
// signature only for the very message it was made over, and version files signed with it.
// The real RSA verification is tested under Wine with keys made by openssl.
#pragma once

#include <cctype>
#include <string>

#include "updater/sha256.h"
#include "updater/signed_update.h"

namespace varnic::signing {

inline std::string Base64(const std::string& bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned value = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) value |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) value |= static_cast<unsigned char>(bytes[i + 2]);
        text += kAlphabet[(value >> 18) & 63];
        text += kAlphabet[(value >> 12) & 63];
        text += i + 1 < bytes.size() ? kAlphabet[(value >> 6) & 63] : '=';
        text += i + 2 < bytes.size() ? kAlphabet[value & 63] : '=';
    }
    return text;
}

inline std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

inline std::string FakeSignature(const std::string& keyName, const std::string& message) {
    return "signed by " + keyName + ": " + message;
}

struct FakeKey final : SignatureVerifier {
    std::string name = "release";
    bool available = true;
    std::string lastMessage;
    SignatureCheck Verify(const std::string& message, const std::string& signature) override {
        lastMessage = message;
        if (!available) return SignatureCheck::Unavailable;
        return signature == FakeSignature(name, message) ? SignatureCheck::Valid : SignatureCheck::Invalid;
    }
};

inline std::string Sha256Of(const std::string& bytes) {
    PortableSha256 digest;
    digest.Add(bytes.data(), bytes.size());
    return digest.HexDigest();
}

// The values a version file states and the ones its signature covers; they differ only
// where a test alters the file after signing.
struct Offer {
    std::string version;
    std::string size;
    std::string sha256;
};

inline std::string SignedFile(const Offer& stated, const Offer& signedOver, const std::string& keyName = "release") {
    const std::string signature =
        FakeSignature(keyName, SignedUpdateMessage(signedOver.version, std::stoll(signedOver.size), signedOver.sha256));
    return "[Ver]\r\nVer=" + stated.version + "\r\nSize=" + stated.size + "\r\nSha256=" + stated.sha256 +
           "\r\nSignature=" + Base64(signature) + "\r\n";
}

inline Offer OfferFor(const std::string& version, const std::string& program) {
    return {version, std::to_string(program.size()), Sha256Of(program)};
}

inline std::string SignedFile(const std::string& version, const std::string& program) {
    return SignedFile(OfferFor(version, program), OfferFor(version, program));
}

}  // namespace varnic::signing
