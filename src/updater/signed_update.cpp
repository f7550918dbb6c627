#include "updater/signed_update.h"

#include <cctype>

#include "updater/ini_reader.h"
#include "updater/updater_texts.h"
#include "updater/version_files.h"

namespace varnic {
namespace {

constexpr char kSection[] = "Ver";
constexpr std::size_t kSignatureLimit = 1024;  // bytes: an RSA key of 8192 bits

bool AllOf(const std::string& text, const char* allowed) {
    return !text.empty() && text.find_first_not_of(allowed) == std::string::npos;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

std::optional<std::string> DecodeBase64(const std::string& text) {
    if (text.empty() || text.size() % 4 != 0) return std::nullopt;
    std::size_t padding = 0;
    while (padding < 2 && text[text.size() - 1 - padding] == '=') ++padding;
    std::string bytes;
    std::uint32_t bits = 0;
    int bitCount = 0;
    for (std::size_t i = 0; i < text.size() - padding; ++i) {
        int value = Base64Value(text[i]);
        if (value < 0) return std::nullopt;
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            bytes += static_cast<char>((bits >> bitCount) & 0xff);
        }
    }
    if ((bits & ((1u << bitCount) - 1)) != 0) return std::nullopt;  // one text per byte string
    return bytes;
}

std::string SignedUpdateMessage(const std::string& version, std::int64_t size, const std::string& sha256) {
    return "Varnic update\nVer=" + version + "\nSize=" + std::to_string(size) + "\nSha256=" + Lower(sha256) + "\n";
}

UpdateVerdict VerifyVersionFile(const std::string& fileBytes, SignatureVerifier& verifier) {
    UpdateVerdict verdict;
    auto value = [&](const char* key) { return ReadIniValue(fileBytes, kSection, key).value_or(""); };
    const std::string signatureText = value("Signature");
    if (signatureText.empty()) {
        verdict.refusal = UpdateRefusal::Unsigned;
        return verdict;
    }
    const std::string version = value("Ver"), size = value("Size"), sha256 = value("Sha256");
    std::optional<std::string> signature = DecodeBase64(signatureText);
    const bool complete = !version.empty() && version.size() <= kVersionTextLimit && AllOf(size, "0123456789") &&
                          size.size() <= 18 && sha256.size() == 64 && AllOf(sha256, "0123456789abcdefABCDEF") &&
                          signature && signature->size() <= kSignatureLimit;
    if (!complete) {
        verdict.refusal = UpdateRefusal::Incomplete;
        return verdict;
    }
    SignedUpdate update{version, std::stoll(size), Lower(sha256), fileBytes};
    switch (verifier.Verify(SignedUpdateMessage(update.version, update.size, update.sha256), *signature)) {
        case SignatureCheck::Valid:
            verdict.update = std::move(update);
            break;
        case SignatureCheck::Invalid:
            verdict.refusal = UpdateRefusal::BadSignature;
            break;
        case SignatureCheck::Unavailable:
            verdict.refusal = UpdateRefusal::NoVerifier;
            break;
    }
    return verdict;
}

std::string RefusalMessage(UpdateRefusal refusal, Language language) {
    switch (refusal) {
        case UpdateRefusal::Unsigned:
            return std::string(Text(UpdaterText::kUnsignedVersionFile, language));
        case UpdateRefusal::Incomplete:
            return std::string(Text(UpdaterText::kIncompleteVersionFile, language));
        case UpdateRefusal::BadSignature:
            break;
        case UpdateRefusal::NoVerifier:
            return std::string(Text(UpdaterText::kNoSignatureCheck, language));
    }
    return std::string(Text(UpdaterText::kBadSignature, language));
}

}  // namespace varnic
