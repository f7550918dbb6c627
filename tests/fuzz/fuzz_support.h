// What every fuzz target shares: a check that stops the run with a message, and small
// in-memory stand-ins for the ports (no test framework, so a broken expectation aborts and
// libFuzzer keeps the input that caused it).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "base/ports.h"

#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition)) {                                                                     \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                       \
        }                                                                                       \
    } while (false)

namespace varnic::fuzz {

inline const std::string kDir = "C:\\Varnic";

class MemoryFiles final : public FileSystem {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> readOnly;

    bool Exists(const std::string& path) override { return files.count(path) > 0; }
    std::optional<std::string> Read(const std::string& path, std::size_t maxBytes) override {
        auto found = files.find(path);
        if (found == files.end()) return std::nullopt;
        return found->second.substr(0, maxBytes);
    }
    bool Write(const std::string& path, const std::string& bytes) override {
        if (readOnly.count(path)) return false;
        files[path] = bytes;
        return true;
    }
    bool Copy(const std::string& from, const std::string& to) override {
        if (!files.count(from) || readOnly.count(to)) return false;
        files[to] = files[from];
        return true;
    }
    bool Delete(const std::string& path) override {
        if (readOnly.count(path)) return false;
        return files.erase(path) > 0;
    }
};

// The bytes are taken as UTF-8 already, as on a system whose code page is UTF-8.
class IdentityCodec final : public AnsiCodec {
public:
    std::string ToUtf8(const std::string& ansi) override { return ansi; }
    std::string FromUtf8(const std::string& utf8) override { return utf8; }
};

class QuietMessages final : public MessageBoxes {
public:
    int shown = 0;
    std::string last;
    void Show(const std::string& text, const std::string&, MessageIcon) override {
        ++shown;
        last = text;
    }
};

class NoLauncher final : public ProcessLauncher {
public:
    int starts = 0;
    bool Start(const std::string&, const std::string&, ShowWindow) override {
        ++starts;
        return true;
    }
};

}  // namespace varnic::fuzz
