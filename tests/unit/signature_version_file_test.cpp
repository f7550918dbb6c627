// The signed version file read on its own: what reaches the verifier, what is refused before
// any verification, and the base64 of the signature.
#include <gtest/gtest.h>

#include "updater/signed_update.h"
#include "updater_signing.h"

namespace varnic {
namespace {

using namespace signing;

const std::string kDigest = Sha256Of("program");

// Records what it was asked and answers as told.
struct RecordingVerifier final : SignatureVerifier {
    SignatureCheck answer = SignatureCheck::Valid;
    int calls = 0;
    std::string message, signature;
    SignatureCheck Verify(const std::string& m, const std::string& s) override {
        ++calls;
        message = m;
        signature = s;
        return answer;
    }
};

std::string File(const std::string& ver, const std::string& size, const std::string& sha, const std::string& sig) {
    return "[Ver]\r\nVer=" + ver + "\r\nSize=" + size + "\r\nSha256=" + sha + "\r\nSignature=" + sig + "\r\n";
}

TEST(SignedVersionFileTest, AVerifiedFileKeepsItsValuesAndItsBytes) {
    RecordingVerifier verifier;
    const std::string bytes = File("2.0 beta", "196608", Upper(kDigest), Base64("\x01\x02\xff"));
    UpdateVerdict verdict = VerifyVersionFile(bytes, verifier);
    ASSERT_TRUE(verdict.update);
    EXPECT_EQ(verdict.update->version, "2.0 beta");
    EXPECT_EQ(verdict.update->size, 196608);
    EXPECT_EQ(verdict.update->sha256, kDigest);
    EXPECT_EQ(verdict.update->fileBytes, bytes);
    EXPECT_EQ(verifier.message, "Varnic update\nVer=2.0 beta\nSize=196608\nSha256=" + kDigest + "\n");
    EXPECT_EQ(verifier.signature, "\x01\x02\xff");
}

TEST(SignedVersionFileTest, TheVerifiersAnswerDecides) {
    RecordingVerifier verifier;
    const std::string bytes = File("2.0", "1", kDigest, "AAAA");
    verifier.answer = SignatureCheck::Invalid;
    UpdateVerdict bad = VerifyVersionFile(bytes, verifier);
    EXPECT_FALSE(bad.update);
    EXPECT_EQ(bad.refusal, UpdateRefusal::BadSignature);
    verifier.answer = SignatureCheck::Unavailable;
    UpdateVerdict unavailable = VerifyVersionFile(bytes, verifier);
    EXPECT_FALSE(unavailable.update);
    EXPECT_EQ(unavailable.refusal, UpdateRefusal::NoVerifier);
}

TEST(SignedVersionFileTest, MalformedFilesAreRefusedWithoutAskingTheVerifier) {
    struct Case {
        const char* what;
        std::string bytes;
        UpdateRefusal refusal;
    };
    const std::string sig = Base64(std::string(256, 'x'));
    for (const Case& c : {
             Case{"nothing", "", UpdateRefusal::Unsigned},
             Case{"no signature", "[Ver]\r\nVer=2.0\r\nSize=1\r\nSha256=" + kDigest + "\r\n", UpdateRefusal::Unsigned},
             Case{"empty signature", File("2.0", "1", kDigest, ""), UpdateRefusal::Unsigned},
             Case{"no version", File("", "1", kDigest, sig), UpdateRefusal::Incomplete},
             Case{"a version longer than shown", File(std::string(50, '9'), "1", kDigest, sig), UpdateRefusal::Incomplete},
             Case{"size with letters", File("2.0", "12k", kDigest, sig), UpdateRefusal::Incomplete},
             Case{"size too large", File("2.0", "1234567890123456789", kDigest, sig), UpdateRefusal::Incomplete},
             Case{"short digest", File("2.0", "1", kDigest.substr(1), sig), UpdateRefusal::Incomplete},
             Case{"digest not hex", File("2.0", "1", "g" + kDigest.substr(1), sig), UpdateRefusal::Incomplete},
             Case{"signature not base64", File("2.0", "1", kDigest, "abc"), UpdateRefusal::Incomplete},
             Case{"signature too long", File("2.0", "1", kDigest, Base64(std::string(1025, 'x'))),
                  UpdateRefusal::Incomplete},
         }) {
        RecordingVerifier verifier;
        UpdateVerdict verdict = VerifyVersionFile(c.bytes, verifier);
        EXPECT_FALSE(verdict.update) << c.what;
        EXPECT_EQ(verdict.refusal, c.refusal) << c.what;
        EXPECT_EQ(verifier.calls, 0) << c.what;
    }
    RecordingVerifier verifier;
    EXPECT_TRUE(VerifyVersionFile(File(std::string(49, '9'), "0", kDigest, sig), verifier).update);
}

TEST(SignedVersionFileTest, EveryRefusalHasItsOwnMessage) {
    EXPECT_EQ(RefusalMessage(UpdateRefusal::BadSignature), "版本文件签名无效，已拒绝更新。");
    EXPECT_EQ(RefusalMessage(UpdateRefusal::Unsigned), "版本文件没有签名，已拒绝更新。");
    EXPECT_NE(RefusalMessage(UpdateRefusal::Incomplete), RefusalMessage(UpdateRefusal::NoVerifier));
}

TEST(Base64Test, DecodesOnlyCanonicalPaddedText) {
    struct Case {
        const char* text;
        std::optional<std::string> bytes;
    };
    for (const Case& c : {
             Case{"TWFu", "Man"},
             Case{"TWE=", "Ma"},
             Case{"TQ==", "M"},
             Case{"+/+/", "\xfb\xff\xbf"},
             Case{"AAAAAA==", std::string("\0\0\0\0", 4)},
             Case{"", std::nullopt},
             Case{"TWF", std::nullopt},
             Case{"TW E=", std::nullopt},
             Case{"TWE*", std::nullopt},
             Case{"T===", std::nullopt},
             Case{"TR==", std::nullopt},  // bits after the last byte
             Case{"TW=u", std::nullopt},
             Case{"TWFu\r\n", std::nullopt},
         })
        EXPECT_EQ(DecodeBase64(c.text), c.bytes) << c.text;
    for (std::string bytes : {std::string("a"), std::string("ab"), std::string("\x00\xff\x10\x80", 4)})
        EXPECT_EQ(DecodeBase64(Base64(bytes)), bytes);
}

}  // namespace
}  // namespace varnic
