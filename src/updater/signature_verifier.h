// What tarnel asks of the system to trust an update: an RSA signature (PKCS#1 v1.5 with
// SHA-256, the bytes in the usual big-endian order) over a message, checked against the one
// public key the verifier was made with. The shipped program makes its verifier with the
// project's release key (release_key.h); tests make theirs with keys of their own.
#pragma once

#include <string>

namespace varnic {

enum class SignatureCheck {
    Valid,
    Invalid,      // not made by the key over this message
    Unavailable,  // the system could not check it (no provider, unusable key)
};

class SignatureVerifier {
public:
    virtual ~SignatureVerifier() = default;
    virtual SignatureCheck Verify(const std::string& message, const std::string& signature) = 0;
};

}  // namespace varnic
