// The updater window loading an arbitrary "\Upsetting.ini": a local path it keeps always
// names a file inside the installation folder, every refused one is reported, and a check
// for a new version with no usable local path starts no transfer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/line_file.h"
#include "fuzz_support.h"
#include "updater/update_settings.h"
#include "updater/updater_form.h"

namespace varnic::fuzz {
namespace {

class CountingSession final : public HttpSession {
public:
    int requests = 0;
    bool Open(const std::string&) override { return true; }
    bool OpenUrl(const std::string&) override {
        ++requests;
        return false;  // the server is never reached
    }
    RawHeaderAnswer QueryRawHeaders(std::size_t) override { return {}; }
    std::optional<int> StatusCode() override { return std::nullopt; }
    ReadAnswer Read(char*, std::size_t) override { return {0, false}; }
    void Close() override {}
};

class NoTargets final : public DownloadFiles {
public:
    std::unique_ptr<PendingFile> Begin(const std::string&) override { return nullptr; }
};

class RefusingVerifier final : public SignatureVerifier {
public:
    SignatureCheck Verify(const std::string&, const std::string&) override { return SignatureCheck::Invalid; }
};

// Independently of the checker: no part that could climb out or name another place.
bool StaysInside(const std::string& relative) {
    if (relative.size() < 2 || relative[0] != '\\') return false;
    if (relative.find_first_of("/:") != std::string::npos) return false;
    std::size_t start = 1;
    for (;;) {
        const std::size_t end = relative.find('\\', start);
        const std::string part = relative.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.find_first_not_of(". ") == std::string::npos) return false;  // "", ".", "..", "...", ". ."
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

void CheckKept(const std::string& kept, const std::string& line) {
    if (kept.empty()) return;
    FUZZ_CHECK(kept == kDir + line);
    FUZZ_CHECK(StaysInside(line));
}

}  // namespace
}  // namespace varnic::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnic;
    using namespace varnic::fuzz;
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    FakeFileSystem files;
    IdentityCodec codec;
    NoLauncher launcher;
    QuietMessages messages;
    CountingSession session;
    NoTargets targets;
    PortableSha256Factory sha256;
    RefusingVerifier verifier;
    files.files[kDir + kUpdateSettingsFile] = bytes;
    UpdaterForm form({files, codec, launcher, messages, session, targets, sha256, verifier}, kDir);
    form.Form_Load();

    std::vector<std::string> lines = SplitLines(bytes, 4);
    lines.resize(4);
    FUZZ_CHECK(form.T1.caption == lines[0]);
    FUZZ_CHECK(form.ProgramUrl == lines[2]);
    CheckKept(form.T2.caption, lines[1]);
    CheckKept(form.ProgramFile, lines[3]);
    const int refused = (form.T2.caption.empty() ? 1 : 0) + (form.ProgramFile.empty() ? 1 : 0);
    FUZZ_CHECK(messages.shown == refused);
    FUZZ_CHECK(IsInsideInstallFolder(lines[1]) == !form.T2.caption.empty());

    const int shownBefore = messages.shown;
    form.Command2_Click();
    if (form.T2.caption.empty()) {
        FUZZ_CHECK(session.requests == 0);
        FUZZ_CHECK(messages.shown == shownBefore + 1 && messages.last == kNoLocalPath);
    } else {
        FUZZ_CHECK(session.requests == 1);
    }
    form.Form_Unload();
    FUZZ_CHECK(launcher.starts == 1);
    return 0;
}
