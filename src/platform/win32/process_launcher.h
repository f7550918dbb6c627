// Starts a program with CreateProcessW and does not wait for it.
#pragma once

#include "base/ports.h"

namespace varnic::win32 {

class Win32ProcessLauncher final : public ProcessLauncher {
public:
    bool Start(const std::string& program, const std::string& commandLine, ShowWindow show) override;
};

}  // namespace varnic::win32
