// The system's default sound.
#pragma once

#include "base/ports.h"

namespace varnic::win32 {

class Win32Beeper final : public Beeper {
public:
    void Beep() override;
};

}  // namespace varnic::win32
