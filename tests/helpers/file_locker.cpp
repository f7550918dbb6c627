// file_locker.exe: holds a file open without sharing, as a running program or another
// application does on Windows, for the fault tests (Wine locks no running executable).
//
//   file_locker PATH [--ready FILE] [--until FILE] [--seconds N]
//
// Opens PATH (which must exist) for reading and writing (reading only when the file is
// read-only) with share mode 0, so every other open of it (for reading too), and any move
// or delete over it, fails with a sharing violation. Then creates the --ready file, and
// holds the file until the --until file exists or N seconds (default 120) have passed,
// whichever comes first. Exit codes: 0 the lock was held and released, 2 PATH could not be
// opened (the error code is printed), 3 wrong arguments.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "platform/win32/handles.h"

namespace {

using varnic::win32::UniqueFile;

struct Options {
    std::wstring path;
    std::wstring ready;
    std::wstring until;
    DWORD seconds = 120;
};

bool Parse(int argc, wchar_t** argv, Options& options) {
    if (argc < 2) return false;
    options.path = argv[1];
    for (int i = 2; i < argc; i += 2) {
        if (i + 1 >= argc) return false;
        const std::wstring name = argv[i];
        const std::wstring value = argv[i + 1];
        if (name == L"--ready") {
            options.ready = value;
        } else if (name == L"--until") {
            options.until = value;
        } else if (name == L"--seconds") {
            options.seconds = static_cast<DWORD>(std::wcstoul(value.c_str(), nullptr, 10));
        } else {
            return false;
        }
    }
    return true;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The waiting is a poll on purpose: the release file is made from the Linux side, which no
// Windows event or change notification of Wine reliably reports.
void HoldUntilReleased(const Options& options) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < options.seconds * 1000) {
        if (!options.until.empty() && Exists(options.until)) return;
        Sleep(50);
    }
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    Options options;
    const bool parsed = argv && Parse(argc, argv, options);
    LocalFree(argv);
    if (!parsed) {
        std::fprintf(stderr, "usage: file_locker PATH [--ready FILE] [--until FILE] [--seconds N]\n");
        return 3;
    }
    UniqueFile held(CreateFileW(options.path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    // A read-only file can still be held against every other open, for reading.
    if (!held && GetLastError() == ERROR_ACCESS_DENIED)
        held.Reset(CreateFileW(options.path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
    if (!held) {
        std::printf("ERR open %lu\n", GetLastError());
        return 2;
    }
    if (!options.ready.empty()) {
        UniqueFile ready(CreateFileW(options.ready.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!ready) {
            std::printf("ERR ready %lu\n", GetLastError());
            return 2;
        }
    }
    std::printf("OK locked\n");
    std::fflush(stdout);
    HoldUntilReleased(options);
    return 0;
}
