// DownLoad over a server that answers an arbitrary raw header block, status and body length:
// GetHeader answers "0", nothing or a piece of one header line, whatever the block holds;
// the announced length is read the same way by the transfer, which replaces the target only
// when the body matches it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "fuzz_support.h"
#include "updater/download.h"
#include "updater/updater_form.h"

namespace varnic::fuzz {
namespace {

class AnsweringSession final : public HttpSession {
public:
    RawHeaderAnswer firstAnswer;
    std::string block;
    std::optional<int> status;
    std::size_t bodyLeft = 0;
    std::size_t lastCapacity = 0;
    int queries = 0;

    bool Open(const std::string&) override { return true; }
    bool OpenUrl(const std::string&) override { return true; }
    RawHeaderAnswer QueryRawHeaders(std::size_t capacity) override {
        lastCapacity = capacity;
        if (++queries == 1) return firstAnswer;
        return {RawHeaderAnswer::Result::Ok, block, 0};
    }
    std::optional<int> StatusCode() override { return status; }
    ReadAnswer Read(char* buffer, std::size_t size) override {
        const std::size_t count = std::min(size, bodyLeft);
        std::memset(buffer, 'x', count);
        bodyLeft -= count;
        return {count, true};
    }
    void Close() override {}
};

// A header's answer: "0", nothing, or text of the block that does not cross a line end.
void CheckAnswer(const std::string& answer, const std::string& block) {
    if (answer == "0" || answer.empty()) return;
    FUZZ_CHECK(answer.find('\0') == std::string::npos);
    FUZZ_CHECK(block.find(answer) != std::string::npos);
}

}  // namespace
}  // namespace varnic::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnic;
    using namespace varnic::fuzz;
    FuzzedDataProvider input(data, size);
    AnsweringSession session;
    const auto mode = input.ConsumeIntegral<std::uint8_t>();
    session.status = mode & 0x80 ? std::optional<int>() : std::optional<int>(input.ConsumeIntegralInRange(100, 599));
    if (mode & 0x40) session.status = 200;
    session.bodyLeft = input.ConsumeIntegralInRange<std::size_t>(0, 5000);
    const std::string asked = input.ConsumeRandomLengthString(32);
    session.block = input.ConsumeRemainingBytesAsString();
    switch (mode & 3) {
        case 0: session.firstAnswer = {RawHeaderAnswer::Result::Ok, session.block, 0}; break;
        case 1: session.firstAnswer = {RawHeaderAnswer::Result::TooSmall, "", session.block.size() + 1}; break;
        case 2: session.firstAnswer = {RawHeaderAnswer::Result::TooSmall, "", 0}; break;
        default: session.firstAnswer = {RawHeaderAnswer::Result::Failed, "", 0}; break;
    }
    const std::size_t body = session.bodyLeft;

    MemoryFolder targets;
    PortableSha256Factory sha256;
    DownLoad download(session, targets, sha256);
    int over = 0, errors = 0;
    download.DownLoadOver = [&] { ++over; };
    download.ErrMassage = [&](const std::string&) { ++errors; };
    download.URL("http://127.0.0.1/update/kelvo.exe");
    download.SaveFile(kDir + "\\kelvo.exe");
    download.Execute();

    const bool answered = (mode & 3) == 0 || ((mode & 3) == 1 && session.block.size() + 1 > DownLoad::kHeaderCapacity);
    if ((mode & 3) == 1 && answered) FUZZ_CHECK(session.lastCapacity == session.block.size() + 1);
    const bool refused = session.status && (*session.status < 200 || *session.status > 299);
    FUZZ_CHECK(errors == (refused ? 1 : 0));
    FUZZ_CHECK(download.State() == (refused ? DownLoadState::Idle : DownLoadState::Connected));

    const std::string held = answered ? session.block : "";
    for (const char* name : {"Content-Length", "CONTENT-TYPE", "date", "Last-Modified", "Server", "Age"}) {
        const std::string value = download.GetHeader(name);
        CheckAnswer(value, held);
    }
    FUZZ_CHECK(download.GetHeader("content-length") == download.GetHeader("CONTENT-LENGTH"));
    if (!asked.empty()) CheckAnswer(download.GetHeader(asked), held);  // no name asks for the whole block
    if (!refused && !held.empty()) FUZZ_CHECK(download.GetHeader("") == held);
    if (refused || held.empty()) FUZZ_CHECK(download.GetHeader("Content-Length") == "0");
    const std::int64_t announcedSize = AnnouncedSize(download.GetHeader("Content-Length"));
    FUZZ_CHECK(announcedSize >= 0);

    const auto announced = ContentLengthOf(held);
    if (announced) FUZZ_CHECK(*announced >= 0);
    if (refused) return 0;

    download.StartDownLoad();
    FUZZ_CHECK(over + errors == 1);
    FUZZ_CHECK(download.State() == DownLoadState::Idle);
    const bool complete = !announced || *announced == static_cast<std::int64_t>(body);
    FUZZ_CHECK(over == (complete ? 1 : 0));
    FUZZ_CHECK(targets.files.count(kDir + "\\kelvo.exe") == (complete ? 1u : 0u));
    if (complete) FUZZ_CHECK(targets.files[kDir + "\\kelvo.exe"].size() == body);
    return 0;
}
