// Physical memory figures of the machine.
#pragma once

#include "base/ports.h"

namespace varnic::win32 {

class Win32MemoryProbe final : public MemoryProbe {
public:
    MemoryStatus Read() override;
};

}  // namespace varnic::win32
