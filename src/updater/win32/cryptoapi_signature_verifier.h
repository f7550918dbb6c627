// SignatureVerifier over CryptoAPI, which every supported Windows has, the 32-bit build on XP
// SP3 included: the AES provider (PROV_RSA_AES) imports the trusted key as a PUBLICKEYBLOB,
// hashes the message with SHA-256 and checks the PKCS#1 v1.5 signature.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <string>

#include "updater/signature_verifier.h"

namespace varnic::win32 {

class CryptoApiSignatureVerifier final : public SignatureVerifier {
public:
    // `publicKeyBlob`: the key's PUBLICKEYBLOB bytes (release_key.h, or a test's own key).
    CryptoApiSignatureVerifier(const unsigned char* publicKeyBlob, std::size_t size);
    ~CryptoApiSignatureVerifier() override;
    CryptoApiSignatureVerifier(const CryptoApiSignatureVerifier&) = delete;
    CryptoApiSignatureVerifier& operator=(const CryptoApiSignatureVerifier&) = delete;

    SignatureCheck Verify(const std::string& message, const std::string& signature) override;
    bool HasKey() const { return key_ != 0; }

private:
    HCRYPTPROV provider_ = 0;
    HCRYPTKEY key_ = 0;
};

}  // namespace varnic::win32
