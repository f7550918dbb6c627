// Clock over the performance counter, which every Windows from XP on has.
#pragma once

#include <windows.h>

#include "updater/clock.h"

namespace varnic::win32 {

class PerformanceClock final : public Clock {
public:
    std::int64_t Milliseconds() override {
        LARGE_INTEGER now{}, frequency{};
        if (!QueryPerformanceCounter(&now) || !QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0)
            return GetTickCount();
        return now.QuadPart / frequency.QuadPart * 1000 + now.QuadPart % frequency.QuadPart * 1000 / frequency.QuadPart;
    }
};

}  // namespace varnic::win32
