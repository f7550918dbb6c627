// The CryptoAPI signature verifier with real RSA keys: the build tree's test key pair made by
// openssl (its public half compiled in through updater/release_key.h, a version file signed
// by tools/x-release-sign at build time) and key pairs that CryptoAPI makes here.
#include <windows.h>
#include <wincrypt.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "updater/release_key.h"
#include "updater/signed_update.h"
#include "updater/win32/cryptoapi_sha256.h"
#include "updater/win32/cryptoapi_signature_verifier.h"

namespace varnic::win32 {
namespace {

constexpr ALG_ID kSha256Algorithm = ALG_CLASS_HASH | ALG_TYPE_ANY | 12;

std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string SignedFile() { return ReadFileBytes(VARNIC_TEST_SIGNED_DIR "/vr.ini"); }

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// A key pair that CryptoAPI makes now: signs like openssl (big-endian signature bytes) and
// hands out its public half.
class FreshKeyPair {
public:
    FreshKeyPair() {
        EXPECT_TRUE(CryptAcquireContextW(&provider_, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT));
        EXPECT_TRUE(CryptGenKey(provider_, AT_SIGNATURE, (2048u << 16) | CRYPT_EXPORTABLE, &key_));
    }
    ~FreshKeyPair() {
        if (key_) CryptDestroyKey(key_);
        if (provider_) CryptReleaseContext(provider_, 0);
    }
    std::vector<BYTE> PublicBlob() const {
        DWORD size = 0;
        EXPECT_TRUE(CryptExportKey(key_, 0, PUBLICKEYBLOB, 0, nullptr, &size));
        std::vector<BYTE> blob(size);
        EXPECT_TRUE(CryptExportKey(key_, 0, PUBLICKEYBLOB, 0, blob.data(), &size));
        blob.resize(size);
        return blob;
    }
    std::string Sign(const std::string& message) const {
        HCRYPTHASH hash = 0;
        EXPECT_TRUE(CryptCreateHash(provider_, kSha256Algorithm, 0, 0, &hash));
        CryptHashData(hash, reinterpret_cast<const BYTE*>(message.data()), static_cast<DWORD>(message.size()), 0);
        DWORD size = 0;
        CryptSignHashW(hash, AT_SIGNATURE, nullptr, 0, nullptr, &size);
        std::vector<BYTE> signature(size);
        EXPECT_TRUE(CryptSignHashW(hash, AT_SIGNATURE, nullptr, 0, signature.data(), &size));
        CryptDestroyHash(hash);
        return std::string(signature.rbegin(), signature.rend());
    }

private:
    HCRYPTPROV provider_ = 0;
    HCRYPTKEY key_ = 0;
};


TEST(CryptoApiSignatureVerifierTest, AcceptsTheVersionFileThatReleaseSignMadeWithTheKey) {
    CryptoApiSignatureVerifier verifier(kReleasePublicKey, sizeof kReleasePublicKey);
    ASSERT_TRUE(verifier.HasKey());
    const std::string file = SignedFile();
    ASSERT_FALSE(file.empty()) << "no " VARNIC_TEST_SIGNED_DIR "/vr.ini";
    UpdateVerdict verdict = VerifyVersionFile(file, verifier);
    ASSERT_TRUE(verdict.update) << static_cast<int>(verdict.refusal);
    EXPECT_EQ(verdict.update->version, "2.0");

    // The stated size and digest are those of the program published beside it.
    const std::string program = ReadFileBytes(VARNIC_TEST_SIGNED_DIR "/kelvo.exe");
    CryptoApiSha256Factory sha;
    auto digest = sha.Create();
    digest->Add(program.data(), program.size());
    EXPECT_EQ(verdict.update->size, static_cast<std::int64_t>(program.size()));
    EXPECT_EQ(verdict.update->sha256, digest->HexDigest());
}

TEST(CryptoApiSignatureVerifierTest, RefusesEveryAlterationOfTheSignedFile) {
    CryptoApiSignatureVerifier verifier(kReleasePublicKey, sizeof kReleasePublicKey);
    const std::string file = SignedFile();
    UpdateVerdict good = VerifyVersionFile(file, verifier);
    ASSERT_TRUE(good.update);
    const std::string size = std::to_string(good.update->size), sha = good.update->sha256;
    std::string otherSha = sha;
    otherSha[0] = otherSha[0] == '0' ? '1' : '0';
    for (const std::string& altered : {
             Replace(file, "Ver=2.0", "Ver=2.1"),
             Replace(file, "Ver=2.0", "Ver=9"),
             Replace(file, "Size=" + size, "Size=" + std::to_string(good.update->size + 1)),
             Replace(file, "Sha256=" + sha, "Sha256=" + otherSha),
         }) {
        UpdateVerdict verdict = VerifyVersionFile(altered, verifier);
        EXPECT_FALSE(verdict.update) << altered;
        EXPECT_EQ(verdict.refusal, UpdateRefusal::BadSignature) << altered;
    }

    // Every single flipped bit of the signature.
    const std::string message = SignedUpdateMessage("2.0", good.update->size, sha);
    const std::size_t at = file.find("Signature=") + 10;
    const std::string signature = *DecodeBase64(file.substr(at, file.find('\r', at) - at));
    ASSERT_EQ(verifier.Verify(message, signature), SignatureCheck::Valid);
    for (std::size_t bit = 0; bit < signature.size() * 8; bit += 61) {
        std::string flipped = signature;
        flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
        EXPECT_EQ(verifier.Verify(message, flipped), SignatureCheck::Invalid) << "bit " << bit;
    }
    EXPECT_EQ(verifier.Verify(message, signature.substr(1)), SignatureCheck::Invalid);
    EXPECT_EQ(verifier.Verify(message, signature + '\0'), SignatureCheck::Invalid);
    EXPECT_EQ(verifier.Verify(message, ""), SignatureCheck::Invalid);
    EXPECT_EQ(verifier.Verify(message, std::string(signature.rbegin(), signature.rend())), SignatureCheck::Invalid);
}

TEST(CryptoApiSignatureVerifierTest, AnotherKeysSignatureIsRefused) {
    FreshKeyPair other;
    const std::string file = SignedFile();
    const std::vector<BYTE> otherBlob = other.PublicBlob();
    CryptoApiSignatureVerifier otherVerifier(otherBlob.data(), otherBlob.size());
    ASSERT_TRUE(otherVerifier.HasKey());
    UpdateVerdict verdict = VerifyVersionFile(file, otherVerifier);
    EXPECT_FALSE(verdict.update);
    EXPECT_EQ(verdict.refusal, UpdateRefusal::BadSignature);

    // ...and the test key refuses what the other key signed over the very same message.
    CryptoApiSignatureVerifier testKey(kReleasePublicKey, sizeof kReleasePublicKey);
    const std::string message = "Varnic update\nVer=2.0\nSize=1\nSha256=" + std::string(64, 'a') + "\n";
    EXPECT_EQ(testKey.Verify(message, other.Sign(message)), SignatureCheck::Invalid);
}

TEST(CryptoApiSignatureVerifierTest, AKeyPairMadeNowVerifiesItsOwnSignaturesOnly) {
    FreshKeyPair pair;
    const std::vector<BYTE> blob = pair.PublicBlob();
    CryptoApiSignatureVerifier verifier(blob.data(), blob.size());
    const std::string message = SignedUpdateMessage("3.0", 12345, std::string(64, 'b'));
    const std::string signature = pair.Sign(message);
    EXPECT_EQ(verifier.Verify(message, signature), SignatureCheck::Valid);
    EXPECT_EQ(verifier.Verify(SignedUpdateMessage("3.0", 12346, std::string(64, 'b')), signature),
              SignatureCheck::Invalid);
}

TEST(CryptoApiSignatureVerifierTest, AnUnusableKeyChecksNothing) {
    const unsigned char garbage[] = {1, 2, 3, 4, 5, 6, 7, 8};
    CryptoApiSignatureVerifier verifier(garbage, sizeof garbage);
    EXPECT_FALSE(verifier.HasKey());
    EXPECT_EQ(verifier.Verify("message", "signature"), SignatureCheck::Unavailable);
    UpdateVerdict verdict = VerifyVersionFile(SignedFile(), verifier);
    EXPECT_FALSE(verdict.update);
    EXPECT_EQ(verdict.refusal, UpdateRefusal::NoVerifier);
}

}  // namespace
}  // namespace varnic::win32
