#include "updater/win32/cryptoapi_sha256.h"

namespace varnic::win32 {
namespace {

// The headers show CALG_SHA_256 only to programs built for XP SP3 and later; the program is
// built for XP and asks for it at run time, falling back when the provider refuses.
constexpr ALG_ID kSha256Algorithm = ALG_CLASS_HASH | ALG_TYPE_ANY | 12;  // ALG_SID_SHA_256

class CryptoApiSha256 final : public Sha256 {
public:
    explicit CryptoApiSha256(HCRYPTHASH hash) : hash_(hash) {}
    ~CryptoApiSha256() override { CryptDestroyHash(hash_); }
    CryptoApiSha256(const CryptoApiSha256&) = delete;
    CryptoApiSha256& operator=(const CryptoApiSha256&) = delete;

    void Add(const char* bytes, std::size_t count) override {
        if (failed_) return;
        if (count > 0 && !CryptHashData(hash_, reinterpret_cast<const BYTE*>(bytes), static_cast<DWORD>(count), 0))
            failed_ = true;
    }

    std::string HexDigest() override {
        BYTE digest[32];
        DWORD size = sizeof digest;
        if (failed_ || !CryptGetHashParam(hash_, HP_HASHVAL, digest, &size, 0) || size != sizeof digest) return "";
        static constexpr char kHex[] = "0123456789abcdef";
        std::string hex;
        for (BYTE b : digest) {
            hex += kHex[b >> 4];
            hex += kHex[b & 0xf];
        }
        return hex;
    }

private:
    HCRYPTHASH hash_;
    bool failed_ = false;
};

}  // namespace

CryptoApiSha256Factory::CryptoApiSha256Factory() {
    if (!CryptAcquireContextW(&provider_, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) provider_ = 0;
}

CryptoApiSha256Factory::~CryptoApiSha256Factory() {
    if (provider_) CryptReleaseContext(provider_, 0);
}

std::unique_ptr<Sha256> CryptoApiSha256Factory::Create() {
    HCRYPTHASH hash = 0;
    if (provider_ && CryptCreateHash(provider_, kSha256Algorithm, 0, 0, &hash)) return std::make_unique<CryptoApiSha256>(hash);
    return std::make_unique<PortableSha256>();
}

}  // namespace varnic::win32
