// The signed version file of the update server. Section Ver carries
//
//   Ver=2.0
//   Size=196608
//   Sha256=<64 hex digits of kelvo.exe>
//   Signature=<base64 of an RSA PKCS#1 v1.5 SHA-256 signature>
//
// and the signature covers exactly the canonical message
// "Varnic update\nVer=<ver>\nSize=<size>\nSha256=<lower-case hex>\n", so none of the three
// values can be changed, dropped or borrowed from another file without the release key.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/language.h"
#include "updater/signature_verifier.h"

namespace varnic {

// An offer the release key vouches for, with the version file's bytes as they were checked.
struct SignedUpdate {
    std::string version;  // as written after "Ver="
    std::int64_t size = 0;
    std::string sha256;   // 64 lower-case hex digits
    std::string fileBytes;
};

enum class UpdateRefusal {
    Unsigned,      // no Signature value
    Incomplete,    // Ver, Size or Sha256 missing or malformed, or a signature that is no base64
    BadSignature,  // not signed by the release key over these values
    NoVerifier,    // the system could not check the signature
};

struct UpdateVerdict {
    std::optional<SignedUpdate> update;  // set only when the signature verifies
    UpdateRefusal refusal = UpdateRefusal::Unsigned;
};

UpdateVerdict VerifyVersionFile(const std::string& fileBytes, SignatureVerifier& verifier);

std::string SignedUpdateMessage(const std::string& version, std::int64_t size, const std::string& sha256);

// Why an offer was refused, as shown to the user.
std::string RefusalMessage(UpdateRefusal refusal, Language language = Language::kChinese);

// Standard base64 with padding; nullopt for anything else (blanks, a wrong length, other
// characters, non-zero bits after the last byte).
std::optional<std::string> DecodeBase64(const std::string& text);

}  // namespace varnic
