// The version files over arbitrary bytes: the INI reader's answers (first section and key
// win, names in any case, values never span lines), the version text shown, and the signed
// offer, whose signed message must read back as exactly the three values it vouches for.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "updater/ini_reader.h"
#include "updater/signed_update.h"
#include "updater/version_files.h"

namespace varnic::fuzz {
namespace {

class AcceptingVerifier final : public SignatureVerifier {
public:
    std::string message;
    int calls = 0;
    SignatureCheck Verify(const std::string& signed_message, const std::string&) override {
        ++calls;
        message = signed_message;
        return SignatureCheck::Valid;
    }
};

void CheckOffer(const std::string& bytes) {
    AcceptingVerifier verifier;
    const UpdateVerdict verdict = VerifyVersionFile(bytes, verifier);
    FUZZ_CHECK(verdict.update.has_value() == (verifier.calls == 1));
    if (!verdict.update) return;
    const SignedUpdate& offer = *verdict.update;
    FUZZ_CHECK(offer.fileBytes == bytes);
    FUZZ_CHECK(!offer.version.empty() && offer.version.size() <= kVersionTextLimit);
    FUZZ_CHECK(offer.version == ReadIniValue(bytes, "Ver", "Ver"));
    FUZZ_CHECK(offer.size >= 0);
    FUZZ_CHECK(offer.sha256.size() == 64 && offer.sha256.find_first_not_of("0123456789abcdef") == std::string::npos);
    // The signed message has its four fixed lines and nothing a value could add.
    FUZZ_CHECK(std::count(verifier.message.begin(), verifier.message.end(), '\n') == 4);
    FUZZ_CHECK(verifier.message == "Varnic update\nVer=" + offer.version + "\nSize=" + std::to_string(offer.size) +
                                       "\nSha256=" + offer.sha256 + "\n");
}

}  // namespace
}  // namespace varnic::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnic;
    using namespace varnic::fuzz;
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const auto value = ReadIniValue(bytes, "Ver", "Ver");
    if (value) FUZZ_CHECK(value->find_first_of("\r\n") == std::string::npos);
    FUZZ_CHECK(ReadIniValue(bytes, "vER", "VER") == value);
    // What was found stays found when more lines follow; a first section of its own wins.
    if (value) FUZZ_CHECK(ReadIniValue(bytes + "\r\n[Ver]\r\nVer=9.9\r\n", "Ver", "Ver") == value);
    FUZZ_CHECK(ReadIniValue("[Ver]\r\nVer=1.5\r\n" + bytes, "Ver", "Ver") == std::string("1.5"));

    FakeFileSystem files;
    IdentityCodec codec;
    files.files[kDir + kLatestVersionFile] = bytes;
    const std::string shown = ReadVersionText(files, codec, kDir + kLatestVersionFile);
    FUZZ_CHECK(shown == (value ? value->substr(0, kVersionTextLimit) : "0"));
    FUZZ_CHECK(ReadVersionText(files, codec, kDir + kInstalledVersionFile) == "0");  // missing file

    CheckOffer(bytes);
    return 0;
}
