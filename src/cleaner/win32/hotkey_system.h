// The hotkey's system side for the main window: the global atom, RegisterHotKey, and the
// window procedure put in front of the window's own while the hotkey is installed.
#pragma once

#include <windows.h>

#include "cleaner/hotkey.h"

namespace varnic::win32 {

class Win32HotkeySystem final : public HotkeySystem {
public:
    // `window` is the main window; `hotkey` answers the messages its hook receives.
    void Attach(HWND window, Hotkey* hotkey);

    std::uint16_t AddAtom(const std::string& name) override;
    void DeleteAtom(std::uint16_t atom) override;
    bool Register(std::int32_t id, std::uint32_t modifiers, std::int32_t keyCode) override;
    bool Unregister(std::int32_t id) override;
    std::uintptr_t CurrentWindowProcedure() override;
    void SetWindowProcedure(std::uintptr_t procedure) override;
    std::uintptr_t HotkeyWindowProcedure() override;
    std::intptr_t CallWindowProcedure(std::uintptr_t procedure, std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam) override;
    std::optional<std::int16_t> AnsiCode(const std::string& text) override;

private:
    static LRESULT CALLBACK HotkeyWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

}  // namespace varnic::win32
