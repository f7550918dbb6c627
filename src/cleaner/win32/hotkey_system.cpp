#include "cleaner/win32/hotkey_system.h"

#include "platform/win32/ansi_codec.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {
namespace {

// The hook finds the module it answers for through a property of the window it sits on.
constexpr const wchar_t* kHotkeyProperty = L"Varnic.Hotkey";

}  // namespace

void Win32HotkeySystem::Attach(HWND window, Hotkey* hotkey) {
    window_ = window;
    SetPropW(window, kHotkeyProperty, hotkey);
}

std::uint16_t Win32HotkeySystem::AddAtom(const std::string& name) { return GlobalAddAtomW(Wide(name).c_str()); }

void Win32HotkeySystem::DeleteAtom(std::uint16_t atom) { GlobalDeleteAtom(atom); }

bool Win32HotkeySystem::Register(std::int32_t id, std::uint32_t modifiers, std::int32_t keyCode) {
    return RegisterHotKey(window_, id, modifiers, static_cast<UINT>(keyCode)) != FALSE;
}

bool Win32HotkeySystem::Unregister(std::int32_t id) { return UnregisterHotKey(window_, id) != FALSE; }

std::uintptr_t Win32HotkeySystem::CurrentWindowProcedure() {
    return static_cast<std::uintptr_t>(GetWindowLongPtrW(window_, GWLP_WNDPROC));
}

void Win32HotkeySystem::SetWindowProcedure(std::uintptr_t procedure) {
    SetWindowLongPtrW(window_, GWLP_WNDPROC, static_cast<LONG_PTR>(procedure));
}

std::uintptr_t Win32HotkeySystem::HotkeyWindowProcedure() { return reinterpret_cast<std::uintptr_t>(&HotkeyWndProc); }

std::intptr_t Win32HotkeySystem::CallWindowProcedure(std::uintptr_t procedure, std::uint32_t message,
                                                     std::uintptr_t wParam, std::intptr_t lParam) {
    return CallWindowProcW(reinterpret_cast<WNDPROC>(procedure), window_, message, wParam, lParam);
}

std::optional<std::int16_t> Win32HotkeySystem::AnsiCode(const std::string& text) { return win32::AnsiCode(text); }

LRESULT CALLBACK Win32HotkeySystem::HotkeyWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* hotkey = static_cast<Hotkey*>(GetPropW(window, kHotkeyProperty));
    if (message == WM_NCDESTROY) RemovePropW(window, kHotkeyProperty);
    if (!hotkey) return DefWindowProcW(window, message, wParam, lParam);
    try {
        return hotkey->HotkeyWndProc(message, wParam, lParam);
    } catch (...) {
        return 0;  // nothing may cross into the system
    }
}

}  // namespace varnic::win32
