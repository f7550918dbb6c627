// One download as tarnel makes it: DownLoad over the real WinINet session into a file of a
// folder, checked against the signed size and SHA-256 (the system's), with a message pump at
// every yield, timed from Execute to DownLoadOver. Every port is wrapped by a stopwatch, so the
// report can say where the time goes (reads, writes, digest, yields) and how many calls each
// part made.
//   download_bench.exe URL TARGET_FILE SIZE SHA256
// Prints one JSON object; the exit code is 0 only when the download completed.
// Two further modes take the parts apart:
//   download_bench.exe --raw URL PIECE       the body read into memory as DownLoad reads it
//   download_bench.exe --blocking URL PIECE  the same with reads that wait for a whole PIECE
//   download_bench.exe --peek N              N PeekMessage calls on an empty queue
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/win32/wide.h"
#include "updater/download.h"
#include "updater/win32/cryptoapi_sha256.h"
#include "updater/win32/performance_clock.h"
#include "updater/win32/win32_download_files.h"
#include "updater/win32/wininet_session.h"

namespace {

using namespace varnic;
using namespace varnic::win32;

double Now() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Stopwatch {
    double seconds = 0;
    long long calls = 0;
};

class Timed {
public:
    explicit Timed(Stopwatch& watch) : watch_(watch), start_(Now()) {}
    ~Timed() {
        watch_.seconds += Now() - start_;
        ++watch_.calls;
    }

private:
    Stopwatch& watch_;
    double start_;
};

class TimedSession final : public HttpSession {
public:
    Stopwatch connect, reads, internetReads;
    bool Open(const std::string& agent) override {
        Timed t(connect);
        return inner_.Open(agent);
    }
    bool OpenUrl(const std::string& url) override {
        Timed t(connect);
        return inner_.OpenUrl(url);
    }
    RawHeaderAnswer QueryRawHeaders(std::size_t capacity) override { return inner_.QueryRawHeaders(capacity); }
    std::optional<int> StatusCode() override { return inner_.StatusCode(); }
    ReadAnswer Read(char* buffer, std::size_t size) override {
        Timed t(reads);
        return inner_.Read(buffer, size);
    }
    void Close() override { inner_.Close(); }

private:
    WinInetSession inner_;
};

class TimedPendingFile final : public PendingFile {
public:
    TimedPendingFile(std::unique_ptr<PendingFile> inner, Stopwatch& writes, Stopwatch& commit)
        : inner_(std::move(inner)), writes_(writes), commit_(commit) {}
    bool Write(const char* bytes, std::size_t count) override {
        Timed t(writes_);
        return inner_->Write(bytes, count);
    }
    bool Commit() override {
        Timed t(commit_);
        return inner_->Commit();
    }

private:
    std::unique_ptr<PendingFile> inner_;
    Stopwatch& writes_;
    Stopwatch& commit_;
};

class TimedFiles final : public DownloadFiles {
public:
    Stopwatch writes, commit;
    std::unique_ptr<PendingFile> Begin(const std::string& target) override {
        auto pending = inner_.Begin(target);
        if (!pending) return nullptr;
        return std::make_unique<TimedPendingFile>(std::move(pending), writes, commit);
    }

private:
    Win32DownloadFiles inner_;
};

class TimedDigest final : public Sha256 {
public:
    TimedDigest(std::unique_ptr<Sha256> inner, Stopwatch& watch) : inner_(std::move(inner)), watch_(watch) {}
    void Add(const char* bytes, std::size_t count) override {
        Timed t(watch_);
        inner_->Add(bytes, count);
    }
    std::string HexDigest() override { return inner_->HexDigest(); }

private:
    std::unique_ptr<Sha256> inner_;
    Stopwatch& watch_;
};

class TimedDigests final : public Sha256Factory {
public:
    Stopwatch adds;
    std::unique_ptr<Sha256> Create() override { return std::make_unique<TimedDigest>(inner_.Create(), adds); }
    bool System() const { return inner_.UsesSystemProvider(); }

private:
    CryptoApiSha256Factory inner_;
};

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void PrintWatch(const char* name, const Stopwatch& w) {
    std::printf("  \"%s_seconds\": %.6f,\n  \"%s_calls\": %lld,\n", name, w.seconds, name, w.calls);
}

// The body read through WinINet alone: no file, no digest, no yields. Blocking reads wait for a
// whole piece (what a read of more than has arrived does).
int RawRead(const std::string& url, std::size_t piece, bool blocking) {
    WinInetSession session;
    UniqueInternet internet, request;
    const double start = Now();
    if (blocking) {
        internet.Reset(InternetOpenW(L"Pelmor", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
        request.Reset(InternetOpenUrlW(internet.Get(), Wide(url).c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0));
        if (!request) return 1;
    } else if (!session.Open("Pelmor") || !session.OpenUrl(url)) {
        return 1;
    }
    std::string buffer(piece, '\0');
    long long bytes = 0, calls = 0;
    for (;;) {
        DWORD got = 0;
        ReadAnswer read = blocking ? ReadAnswer{InternetReadFile(request.Get(), buffer.data(), static_cast<DWORD>(piece), &got)
                                                    ? got : 0, true}
                                   : session.Read(buffer.data(), piece);
        ++calls;
        if (!read.ok) return 1;
        if (read.count == 0) break;
        bytes += static_cast<long long>(read.count);
    }
    const double seconds = Now() - start;
    session.Close();
    std::printf("{\n  \"piece\": %zu,\n  \"seconds\": %.6f,\n  \"bytes\": %lld,\n  \"read_calls\": %lld\n}\n", piece,
                seconds, bytes, calls);
    return 0;
}

int Peek(long long count) {
    MSG message;
    const double start = Now();
    for (long long i = 0; i < count; ++i) PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
    const double seconds = Now() - start;
    std::printf("{\n  \"calls\": %lld,\n  \"seconds\": %.6f\n}\n", count, seconds);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && (std::wstring(argv[1]) == L"--raw" || std::wstring(argv[1]) == L"--blocking")) {
        const int piece = _wtoi(argv[3]);
        return piece > 0 ? RawRead(Utf8(argv[2]), static_cast<std::size_t>(piece), argv[1][2] == L'b') : 2;
    }
    if (argc == 3 && std::wstring(argv[1]) == L"--peek") return Peek(_wtoi(argv[2]));
    if (argc != 5) {
        std::fprintf(stderr, "usage: download_bench URL TARGET_FILE SIZE SHA256\n");
        return 2;
    }
    TimedSession session;
    TimedFiles files;
    TimedDigests digests;
    Stopwatch yields, progress;
    PerformanceClock clock;
    DownLoad download(session, files, digests, clock);
    std::int64_t received = 0;
    bool over = false;
    std::string error;
    download.GetData = [&](std::int64_t bytes) {
        Timed t(progress);
        received = bytes;
    };
    download.DownLoadOver = [&] { over = true; };
    download.ErrMassage = [&](const std::string& message) { error = message; };
    download.Yield = [&] {
        Timed t(yields);
        PumpMessages();
    };
    download.URL(Utf8(argv[1]));
    download.SaveFile(Utf8(argv[2]));
    download.Expect({std::stoll(Utf8(argv[3])), Utf8(argv[4]), {}});

    const double start = Now();
    download.Execute();
    download.StartDownLoad();
    const double seconds = Now() - start;

    std::printf("{\n  \"ok\": %s,\n  \"seconds\": %.6f,\n  \"bytes\": %lld,\n  \"system_sha256\": %s,\n",
                over ? "true" : "false", seconds, static_cast<long long>(received), digests.System() ? "true" : "false");
    PrintWatch("connect", session.connect);
    PrintWatch("read", session.reads);
    PrintWatch("write", files.writes);
    PrintWatch("commit", files.commit);
    PrintWatch("digest", digests.adds);
    PrintWatch("yield", yields);
    PrintWatch("progress", progress);
    std::printf("  \"error\": \"%s\"\n}\n", error.empty() ? "" : "see stderr");
    if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
    return over ? 0 : 1;
}
