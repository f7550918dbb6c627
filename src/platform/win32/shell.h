// Opens an address or a document with the shell's "Open" verb.
#pragma once

#include <windows.h>

#include "base/ports.h"

namespace varnic::win32 {

class Win32Shell final : public Shell {
public:
    explicit Win32Shell(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    void Open(const std::string& target, const std::string& workingDirectory) override;

private:
    HWND owner_;
};

}  // namespace varnic::win32
