// modHotkey: the system-wide Ctrl+letter hotkey of the main window. SetHotkey registers it
// with the global atom "NewMacro" as its identifier and puts HotkeyWndProc in front of the
// main window's own window procedure; RemoveHotkey undoes all three.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace varnic {

// What the hotkey asks of the system, for the main window.
class HotkeySystem {
public:
    virtual ~HotkeySystem() = default;
    virtual std::uint16_t AddAtom(const std::string& name) = 0;  // raises its reference count
    virtual void DeleteAtom(std::uint16_t atom) = 0;
    virtual bool Register(std::int32_t id, std::uint32_t modifiers, std::int32_t keyCode) = 0;
    virtual bool Unregister(std::int32_t id) = 0;
    virtual std::uintptr_t CurrentWindowProcedure() = 0;
    virtual void SetWindowProcedure(std::uintptr_t procedure) = 0;
    virtual std::uintptr_t HotkeyWindowProcedure() = 0;  // the address of HotkeyWndProc
    // Hands a message on to a saved window procedure and answers its result.
    virtual std::intptr_t CallWindowProcedure(std::uintptr_t procedure, std::uint32_t message, std::uintptr_t wParam,
                                              std::intptr_t lParam) = 0;
    // The first character's code in the ANSI code page, as a signed 16-bit value; nullopt for "".
    virtual std::optional<std::int16_t> AnsiCode(const std::string& text) = 0;
};

inline constexpr std::uint32_t kModControl = 2;
inline constexpr std::uint32_t kWmNcDestroy = 0x0082;
inline constexpr std::uint32_t kWmHotkey = 0x0312;

class Hotkey {
public:
    Hotkey(HotkeySystem& system, std::function<void()> cleanMemory)
        : system_(system), cleanMemory_(std::move(cleanMemory)) {}

    void SetHotkey(const std::string& keyText);
    void RemoveHotkey();
    // The replacement window procedure's behaviour while the hotkey is installed.
    std::intptr_t HotkeyWndProc(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

    bool Installed() const { return savedWindowProcedure_ != 0; }
    std::int16_t Identifier() const { return identifier_; }
    std::int32_t KeyCode() const { return keyCode_; }
    std::uint32_t Modifiers() const { return modifiers_; }

private:
    // The atom is a 16-bit value of 0xC000 or more; wherever it meets a 32-bit value it is
    // widened with its sign (0xC001 becomes -16383), the same way in every place.
    std::int32_t WideIdentifier() const { return identifier_; }

    HotkeySystem& system_;
    std::function<void()> cleanMemory_;
    std::uintptr_t savedWindowProcedure_ = 0;
    std::int16_t identifier_ = 0;
    std::uint32_t modifiers_ = 0;
    std::int32_t keyCode_ = 0;
};

}  // namespace varnic
