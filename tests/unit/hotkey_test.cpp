#include "cleaner/hotkey.h"

#include "fakes.h"

namespace varnic::fakes {
namespace {

class HotkeyTest : public ::testing::Test {
protected:
    FakeHotkeySystem system;
    int cleans = 0;
    Hotkey hotkey{system, [this] { ++cleans; }};
};

TEST_F(HotkeyTest, RegistersCtrlAndTheLetterUnderTheAtomWidenedWithItsSign) {
    hotkey.SetHotkey("E");
    ASSERT_EQ(system.registered.size(), 1u);
    EXPECT_EQ(system.registered.begin()->first, -16383);  // atom 0xC001
    EXPECT_EQ(system.registered.begin()->second, std::make_pair(kModControl, std::int32_t{'E'}));
    EXPECT_EQ(system.atomReferences, 1);
    EXPECT_EQ(system.windowProcedure, FakeHotkeySystem::kHookProcedure);
    EXPECT_TRUE(hotkey.Installed());
}

struct KeyCase {
    const char* text;
    std::int32_t key;
};

TEST_F(HotkeyTest, TakesTheKeyFromTheFirstCharactersCode) {
    const KeyCase cases[] = {{"E", 'E'}, {"e", 0x65}, {"EX", 'E'}, {"7", '7'}, {"", 0x44}};
    for (const auto& c : cases) {
        hotkey.SetHotkey(c.text);
        ASSERT_EQ(system.registered.size(), 1u) << c.text;
        EXPECT_EQ(system.registered.begin()->second.second, c.key) << c.text;
    }
    EXPECT_EQ(system.atomReferences, 1);
}

TEST_F(HotkeyTest, ANewLetterReplacesTheOldOne) {
    hotkey.SetHotkey("A");
    hotkey.SetHotkey("B");
    ASSERT_EQ(system.registered.size(), 1u);
    EXPECT_EQ(system.registered.begin()->second.second, 'B');
    EXPECT_EQ(system.windowProcedure, FakeHotkeySystem::kHookProcedure);
    hotkey.RemoveHotkey();
    EXPECT_EQ(system.windowProcedure, FakeHotkeySystem::kOwnProcedure);  // not the hook saved over itself
}

TEST_F(HotkeyTest, RemovingTwiceDoesNothingTheSecondTime) {
    hotkey.SetHotkey("E");
    hotkey.RemoveHotkey();
    hotkey.RemoveHotkey();
    EXPECT_TRUE(system.registered.empty());
    EXPECT_EQ(system.atomReferences, 0);
    EXPECT_EQ(system.windowProcedure, FakeHotkeySystem::kOwnProcedure);
    EXPECT_FALSE(hotkey.Installed());
}

TEST_F(HotkeyTest, AKeyTakenByAnotherProgramStillHooksTheWindowButNeverArrives) {
    system.takenByOthers.insert({kModControl, 'E'});
    hotkey.SetHotkey("E");
    EXPECT_TRUE(system.registered.empty());
    EXPECT_TRUE(hotkey.Installed());
}

TEST_F(HotkeyTest, OnlyItsOwnHotkeyMessageCleans) {
    hotkey.SetHotkey("E");
    EXPECT_EQ(hotkey.HotkeyWndProc(kWmHotkey, static_cast<std::uintptr_t>(std::intptr_t{-16383}), 0), 0);
    EXPECT_EQ(cleans, 1);
    EXPECT_EQ(hotkey.HotkeyWndProc(kWmHotkey, 5, 0), 0);
    EXPECT_EQ(cleans, 1);
    EXPECT_TRUE(system.forwarded.empty());  // hotkey messages are never handed on
}

TEST_F(HotkeyTest, OtherMessagesReachTheWindowsOwnProcedure) {
    hotkey.SetHotkey("E");
    EXPECT_EQ(hotkey.HotkeyWndProc(0x000F, 0, 0), 77);
    EXPECT_EQ(system.forwarded, (std::vector<std::uint32_t>{0x000F}));
}

TEST_F(HotkeyTest, TheWindowsLastMessageRemovesTheHotkey) {
    hotkey.SetHotkey("E");
    EXPECT_EQ(hotkey.HotkeyWndProc(kWmNcDestroy, 0, 0), 0);
    EXPECT_FALSE(hotkey.Installed());
    EXPECT_TRUE(system.registered.empty());
    EXPECT_EQ(system.atomReferences, 0);
    EXPECT_EQ(system.windowProcedure, FakeHotkeySystem::kOwnProcedure);
    EXPECT_EQ(system.forwarded, (std::vector<std::uint32_t>{kWmNcDestroy}));
}

}  // namespace
}  // namespace varnic::fakes
