// Modal message boxes with an OK button, owned by a window of the program when one is set,
// else modal to every window of the calling thread.
#pragma once

#include <windows.h>

#include "base/ports.h"

namespace varnic::win32 {

class Win32MessageBoxes final : public MessageBoxes {
public:
    explicit Win32MessageBoxes(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    void Show(const std::string& text, const std::string& caption, MessageIcon icon) override;

    // The MessageBoxW style for an icon: MB_OK plus the icon's flag.
    static UINT Style(MessageIcon icon);

private:
    HWND owner_;
};

}  // namespace varnic::win32
