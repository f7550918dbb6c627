// Milliseconds from a steady clock. A download shows its progress and lets the window handle
// its messages on time (about 30 times a second), not after every piece it reads.
#pragma once

#include <cstdint>

namespace varnic {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t Milliseconds() = 0;
};

}  // namespace varnic
