// modHotkey: Ctrl+letter under the atom "NewMacro", and the window procedure put in front of
// the main window's own while the hotkey is there.
#include <gtest/gtest.h>

#include "fakes.h"

namespace varnic::fakes {
namespace {

TEST(Hotkey, RegistersCtrlAndTheFirstCharactersCodeCleansOnItAndLeavesWithTheWindow) {
    CallLog log;
    FakeSystem system{log};
    Hotkey hotkey{system, [&] { log.Add("clean"); }};
    // atom 0xC001 as -16383, MOD_CONTROL, the code of the text's first character (D for none)
    for (const auto& [text, key] : {std::pair{"e", "101"}, {"7", "55"}, {"", "68"}, {"E", "69"}}) {
        hotkey.SetHotkey(text);  // each replaces the one before
        EXPECT_EQ(system.Hotkeys(), "-16383:2+" + std::string(key) + " atoms=1 hooked") << text;
    }
    const struct {
        std::uint32_t message;
        std::intptr_t wParam, result;
        std::vector<std::string> calls;
    } messages[] = {{0x0312, -16383, 0, {"clean"}}, {0x0312, 5, 0, {}},  // WM_HOTKEY, its own or another's
                    {0x000F, 0, 77, {"pass 15 to own"}},
                    {0x0082, 0, 0, {"pass 130 to own"}}};  // WM_NCDESTROY removes the hotkey first
    for (const auto& m : messages) {
        log.calls.clear();
        EXPECT_EQ(hotkey.HotkeyWndProc(m.message, static_cast<std::uintptr_t>(m.wParam), 0), m.result) << m.message;
        EXPECT_EQ(log.calls, m.calls) << m.message;
    }
    hotkey.RemoveHotkey();  // a second time
    EXPECT_EQ(system.Hotkeys(), "atoms=0 own");
    system.takenByOthers.insert("2+69");
    hotkey.SetHotkey("E");  // taken by another program: the window is hooked all the same
    EXPECT_EQ(system.Hotkeys(), "atoms=1 hooked");
}

}  // namespace
}  // namespace varnic::fakes
