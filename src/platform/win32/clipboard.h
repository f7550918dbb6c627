// Empties the system clipboard.
#pragma once

#include "base/ports.h"

namespace varnic::win32 {

class Win32Clipboard final : public Clipboard {
public:
    bool Clear() override;
};

}  // namespace varnic::win32
