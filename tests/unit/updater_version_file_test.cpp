// The version files: the INI lookup, the version text shown, and the signed version file read
// on its own (what reaches the verifier, what is refused before it, the signature's base64).
#include <gtest/gtest.h>

#include "memory_ports.h"
#include "updater/ini_reader.h"
#include "updater/signed_update.h"
#include "updater/version_files.h"
#include "updater_fakes.h"

namespace varnic {
namespace {

using namespace fakes;
using std::nullopt;
using Found = std::optional<std::string>;

TEST(VersionFileTest, ValuesAreFoundAsThePrivateProfileReaderFindsThem) {
    for (auto [file, value] : {
             std::pair<const char*, Found>{"[Ver]\r\nVer=1.9\r\n", "1.9"}, {"[ver]\r\nVER=1.9", "1.9"},
             {"  [ Ver ]  \r\n  Ver  =   1.9 beta  \r\n", "1.9 beta"}, {"[Ver]\nVer=2.0\n", "2.0"}, {"[Ver]\rVer=2.0", "2.0"},
             {"[Ver]\r\nVer=\"1.9\"\r\n", "1.9"}, {"[Ver]\r\nVer=\"1.9\r\n", "\"1.9"}, {"[Ver]\r\nVer=\r\n", ""},
             {"[Ver]\r\n;Ver=3.0\r\nVer=1.9\r\n", "1.9"}, {"[Ver]\r\nVer=1.9\r\nVer=2.0\r\n", "1.9"},
             {"[Other]\r\nVer=3.0\r\n[Ver]\r\nVersion=4\r\nVer=1.9\r\n", "1.9"}, {"[Ver]\r\nSize=1\r\n[Ver]\r\nVer=1.9", nullopt},
             {"[Ver]\r\nVersion=1.9\r\n", nullopt}, {"[Other]\r\nVer=1.9\r\n", nullopt}, {"Ver=1.9\r\n", nullopt}, {"", nullopt}})
        EXPECT_EQ(ReadIniValue(file, "Ver", "Ver"), value) << file;
    struct MarkingCodec final : IdentityCodec {
        std::string ToUtf8(const std::string& ansi) override { return "<" + ansi + ">"; }
    } codec;
    FakeFileSystem files;
    files.files = {{"a", "[Ver]\r\nVer=1.9\r\n"}, {"long", "[Ver]\r\nVer=" + std::string(60, '7')}, {"no key", "[Ver]\r\n"}};
    for (auto [name, shown] : {std::pair{"a", "<1.9>"s}, {"long", "<" + std::string(49, '7') + ">"}, {"no key", "0"s}, {"none", "0"s}})
        EXPECT_EQ(ReadVersionText(files, codec, name), shown) << name;
}

TEST(VersionFileTest, TheVerifierJudgesTheCanonicalMessageOfAWellFormedFileOnly) {
    struct Recording final : SignatureVerifier {
        SignatureCheck answer = SignatureCheck::Valid;
        std::string message, signature;
        SignatureCheck Verify(const std::string& m, const std::string& s) override {
            message = m, signature = s;
            return answer;
        }
    } verifier;
    const std::string sha = Sha256Of("program"), upper = "[ver]\r\nver = 2.0 beta\r\nSIZE=196608\r\nsha256=" +
                                                         sha.substr(0, 60) + "ABCD\r\nsignature=AQL/\r\n";
    const UpdateVerdict verdict = VerifyVersionFile(upper, verifier);
    ASSERT_TRUE(verdict.update);
    EXPECT_EQ(verdict.update->version + " " + std::to_string(verdict.update->size) + " " + verdict.update->fileBytes,
              "2.0 beta 196608 " + upper);
    EXPECT_EQ(verifier.message, "Varnic update\nVer=2.0 beta\nSize=196608\nSha256=" + sha.substr(0, 60) + "abcd\n");
    EXPECT_EQ(verifier.signature, "\x01\x02\xff");
    for (auto [answer, refusal] : {std::pair{SignatureCheck::Invalid, UpdateRefusal::BadSignature},
                                   {SignatureCheck::Unavailable, UpdateRefusal::NoVerifier}}) {
        verifier.answer = answer;
        EXPECT_EQ(VerifyVersionFile(upper, verifier).refusal, refusal);
    }
    verifier.answer = SignatureCheck::Valid;
    for (auto [bytes, refusal] : std::initializer_list<std::pair<std::string, UpdateRefusal>>{
             {"", UpdateRefusal::Unsigned}, {VersionFile("2.0", "1", sha, ""), UpdateRefusal::Unsigned},
             {"[Ver]\r\nVer=2.0\r\n[Other]\r\nSignature=AQL/", UpdateRefusal::Unsigned},
             {VersionFile("", "1", sha), UpdateRefusal::Incomplete}, {VersionFile(std::string(50, '9'), "1", sha), UpdateRefusal::Incomplete},
             {VersionFile("2.0", "12k", sha), UpdateRefusal::Incomplete}, {VersionFile("2.0", "1234567890123456789", sha), UpdateRefusal::Incomplete},
             {VersionFile("2.0", "1", sha.substr(1)), UpdateRefusal::Incomplete}, {VersionFile("2.0", "1", "g" + sha.substr(1)), UpdateRefusal::Incomplete},
             {VersionFile("2.0", "1", sha, "abc"), UpdateRefusal::Incomplete},
             {VersionFile("2.0", "1", sha, std::string(1367, 'A') + "="), UpdateRefusal::Incomplete}}) {  // 1025 bytes
        verifier.message = "not asked";
        EXPECT_EQ(VerifyVersionFile(bytes, verifier).refusal, refusal) << bytes;
        EXPECT_EQ(verifier.message, "not asked") << bytes;
    }
    EXPECT_TRUE(VerifyVersionFile(VersionFile(std::string(49, '9'), "0", sha), verifier).update) << "49 bytes are shown whole";
}

TEST(VersionFileTest, TheSignatureIsCanonicalPaddedBase64) {
    for (auto [text, bytes] : {std::pair<const char*, Found>{"TWFu", "Man"}, {"TWE=", "Ma"}, {"TQ==", "M"}, {"+/+/", "\xfb\xff\xbf"},
                               {"AAAAAA==", std::string(4, '\0')}, {"9999", "\xf7\xdf\x7d"}, {"", nullopt}, {"TWF", nullopt}, {"TW E=", nullopt},
                               {"TWE*", nullopt}, {"T===", nullopt}, {"TR==", nullopt}, {"TW=u", nullopt}, {"TWFu\r\n", nullopt}})
        EXPECT_EQ(DecodeBase64(text), bytes) << text;
}

}  // namespace
}  // namespace varnic
