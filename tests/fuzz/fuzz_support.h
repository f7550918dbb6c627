// What every fuzz target shares: a check that stops the run with a message (no test framework,
// so a broken expectation aborts and libFuzzer keeps the input) and the stand-ins of the ports.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fakes.h"

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (false)
