#include "cleaner/hotkey.h"

namespace varnic {

void Hotkey::SetHotkey(const std::string& keyText) {
    modifiers_ = kModControl;
    keyCode_ = 0x44;  // an empty key text leaves Ctrl+D
    RemoveHotkey();
    if (auto code = system_.AnsiCode(keyText)) keyCode_ = *code;
    identifier_ = static_cast<std::int16_t>(system_.AddAtom("NewMacro"));
    system_.Register(WideIdentifier(), modifiers_, keyCode_);
    savedWindowProcedure_ = system_.CurrentWindowProcedure();
    system_.SetWindowProcedure(system_.HotkeyWindowProcedure());
}

void Hotkey::RemoveHotkey() {
    if (savedWindowProcedure_ == 0) return;
    system_.SetWindowProcedure(savedWindowProcedure_);
    system_.Unregister(WideIdentifier());
    system_.DeleteAtom(static_cast<std::uint16_t>(identifier_));
    savedWindowProcedure_ = 0;
}

std::intptr_t Hotkey::HotkeyWndProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == kWmNcDestroy) {
        // The window is going: undo the hook, then let the window's own procedure see its last
        // message too, so that it can release what it holds.
        const std::uintptr_t own = savedWindowProcedure_;
        RemoveHotkey();
        if (own != 0) system_.CallWindowProcedure(own, message, wParam, lParam);
        return 0;
    }
    if (message == kWmHotkey) {
        if (static_cast<std::int32_t>(wParam) == WideIdentifier()) cleanMemory_();
        return 0;
    }
    return system_.CallWindowProcedure(savedWindowProcedure_, message, wParam, lParam);
}

}  // namespace varnic
