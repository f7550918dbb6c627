// What every fuzz target shares: a check that stops the run with a message (no test framework,
// so a broken expectation aborts and libFuzzer keeps the input), and quiet stand-ins.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "memory_ports.h"

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)

namespace varnic::fuzz {

inline const std::string kDir = "C:\\Varnic";

using fakes::FakeFileSystem;
using fakes::IdentityCodec;
using fakes::MemoryFolder;

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
    bool Start(const std::string&, const std::string&, ShowWindow) override { return ++starts > 0; }
};

}  // namespace varnic::fuzz
