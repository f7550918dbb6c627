// SHA-256 through the system's AES cryptographic provider (PROV_RSA_AES, CALG_SHA_256).
// Windows versions whose provider lacks SHA-256 get the portable implementation instead.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include "updater/sha256.h"

namespace varnic::win32 {

class CryptoApiSha256Factory final : public Sha256Factory {
public:
    CryptoApiSha256Factory();
    ~CryptoApiSha256Factory() override;
    CryptoApiSha256Factory(const CryptoApiSha256Factory&) = delete;
    CryptoApiSha256Factory& operator=(const CryptoApiSha256Factory&) = delete;

    std::unique_ptr<Sha256> Create() override;
    bool UsesSystemProvider() const { return provider_ != 0; }

private:
    HCRYPTPROV provider_ = 0;
};

}  // namespace varnic::win32
