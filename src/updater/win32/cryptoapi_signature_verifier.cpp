#include "updater/win32/cryptoapi_signature_verifier.h"

#include <vector>

namespace varnic::win32 {
namespace {

// The headers show CALG_SHA_256 only to programs built for XP SP3 and later; the program is
// built for XP and the AES provider of XP SP3 knows it.
constexpr ALG_ID kSha256Algorithm = ALG_CLASS_HASH | ALG_TYPE_ANY | 12;  // ALG_SID_SHA_256

struct HashOwner {
    HCRYPTHASH hash = 0;
    ~HashOwner() {
        if (hash) CryptDestroyHash(hash);
    }
};

}  // namespace

CryptoApiSignatureVerifier::CryptoApiSignatureVerifier(const unsigned char* publicKeyBlob, std::size_t size) {
    if (!CryptAcquireContextW(&provider_, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) {
        provider_ = 0;
        return;
    }
    if (!CryptImportKey(provider_, publicKeyBlob, static_cast<DWORD>(size), 0, 0, &key_)) key_ = 0;
}

CryptoApiSignatureVerifier::~CryptoApiSignatureVerifier() {
    if (key_) CryptDestroyKey(key_);
    if (provider_) CryptReleaseContext(provider_, 0);
}

SignatureCheck CryptoApiSignatureVerifier::Verify(const std::string& message, const std::string& signature) {
    if (!key_) return SignatureCheck::Unavailable;
    HashOwner owner;
    if (!CryptCreateHash(provider_, kSha256Algorithm, 0, 0, &owner.hash)) return SignatureCheck::Unavailable;
    if (!message.empty() &&
        !CryptHashData(owner.hash, reinterpret_cast<const BYTE*>(message.data()), static_cast<DWORD>(message.size()), 0))
        return SignatureCheck::Unavailable;
    if (signature.empty()) return SignatureCheck::Invalid;
    // CryptoAPI takes the signature as a little-endian number: the bytes of the usual
    // big-endian PKCS#1 signature in reverse order.
    std::vector<BYTE> reversed(signature.rbegin(), signature.rend());
    if (CryptVerifySignatureW(owner.hash, reversed.data(), static_cast<DWORD>(reversed.size()), key_, nullptr, 0))
        return SignatureCheck::Valid;
    return SignatureCheck::Invalid;
}

}  // namespace varnic::win32
