// Milliseconds from a steady clock. A download shows its progress and lets the window handle
// its messages on time (about 30 times a second), not after every piece it reads.
#pragma once

#include <chrono>
#include <cstdint>

namespace varnic {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t Milliseconds() = 0;
};

class SteadyClock final : public Clock {
public:
    std::int64_t Milliseconds() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
};

}  // namespace varnic
