// The hotkey on a real window under Wine: registered under the atom "NewMacro", hooked in front
// of the window's own procedure, cleaning on its WM_HOTKEY, and gone again after removal.
#include "cleaner/win32/hotkey_system.h"

#include <gtest/gtest.h>

#include "cleaner/cleaning_actions.h"
#include "platform/win32/clipboard.h"
#include "platform/win32/handles.h"
#include "platform/win32/message_boxes.h"
#include "platform/win32/process_launcher.h"
#include "platform/win32/wide.h"
#include "scratch_folder.h"

namespace varnic::win32 {
namespace {

class CountingBeeper final : public Beeper {
public:
    int beeps = 0;
    void Beep() override { ++beeps; }
};

// The real launcher, counting the starts it was asked for (the recorder logs them later).
class CountingLauncher final : public ProcessLauncher {
public:
    int starts = 0;
    bool Start(const std::string& program, const std::string& commandLine, ShowWindow show) override {
        ++starts;
        return real_.Start(program, commandLine, show);
    }

private:
    Win32ProcessLauncher real_;
};

class RecordingMessages final : public MessageBoxes {
public:
    std::vector<std::string> texts;
    void Show(const std::string& text, const std::string&, MessageIcon) override { texts.push_back(text); }
};

// The window's own procedure counts what reaches it.
struct OwnProcedure {
    static inline int hotkeys = 0;
    static inline int ncDestroys = 0;
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_HOTKEY) ++hotkeys;
        if (message == WM_NCDESTROY) ++ncDestroys;
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

std::string ReadAll(const std::string& path) {
    UniqueFile file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (!file) return "";
    char buffer[4096];
    DWORD read = 0;
    ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr);
    return std::string(buffer, read);
}

bool PutTextOnClipboard(HWND owner) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 8);
    memcpy(GlobalLock(memory), L"abc", 8);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    return CloseClipboard() != FALSE;
}

class HotkeySystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = OwnProcedure::Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VarnicHotkeyTest";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, L"VarnicHotkeyTest", L"hotkey test", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(window_);
        CopyFileW(Wide(ApplicationDirectory() + "\\command_recorder.exe").c_str(), Wide(folder_ / "empty.exe").c_str(),
                  FALSE);
        system_.Attach(window_, &hotkey_);
        OwnProcedure::hotkeys = 0;
        OwnProcedure::ncDestroys = 0;
    }
    void TearDown() override {
        hotkey_.RemoveHotkey();
        if (IsWindow(window_)) DestroyWindow(window_);
    }

    // The starts of "empty.exe  *" the recorder logged; waits for the first when one was made.
    int Cleans() {
        if (launcher_.starts == 0) return 0;
        for (int i = 0; i < 100; ++i) {
            std::string log = ReadAll(folder_ / "calls.log");
            int lines = 0;
            for (std::size_t at = log.find("empty.exe  *"); at != std::string::npos; at = log.find("empty.exe  *", at + 1))
                ++lines;
            if (lines > 0 || i == 99) return lines;
            Sleep(100);
        }
        return 0;
    }

    testing::ScratchFolder folder_{"hotkey"};
    HWND window_ = nullptr;
    CountingLauncher launcher_;
    Win32Clipboard clipboard_;
    CountingBeeper beeper_;
    RecordingMessages messages_;
    CleaningActions cleaning_{{launcher_, clipboard_, beeper_, messages_}, folder_.Path()};
    Win32HotkeySystem system_;
    Hotkey hotkey_{system_, [this] { cleaning_.CleanMemory(); }};
};

TEST_F(HotkeySystemTest, RegistersCtrlLetterUnderTheGlobalAtomAndHooksTheWindow) {
    const auto own = GetWindowLongPtrW(window_, GWLP_WNDPROC);
    hotkey_.SetHotkey("E");
    EXPECT_NE(GlobalFindAtomW(L"NewMacro"), 0);
    EXPECT_EQ(static_cast<std::uint16_t>(hotkey_.Identifier()), GlobalFindAtomW(L"NewMacro"));
    EXPECT_LT(hotkey_.Identifier(), 0);  // an atom of 0xC000 or more, widened with its sign
    EXPECT_NE(GetWindowLongPtrW(window_, GWLP_WNDPROC), own);
    // Ctrl+E is taken now: a second registration of the same keys fails.
    EXPECT_FALSE(RegisterHotKey(window_, 1, MOD_CONTROL, 'E'));
    hotkey_.RemoveHotkey();
    EXPECT_EQ(GetWindowLongPtrW(window_, GWLP_WNDPROC), own);
    EXPECT_TRUE(RegisterHotKey(window_, 1, MOD_CONTROL, 'E'));  // free again
    UnregisterHotKey(window_, 1);
}

TEST_F(HotkeySystemTest, ItsHotkeyMessageCleansEmptiesTheClipboardAndBeeps) {
    ASSERT_TRUE(PutTextOnClipboard(window_));
    hotkey_.SetHotkey("E");
    PostMessageW(window_, WM_HOTKEY, static_cast<WPARAM>(static_cast<INT_PTR>(hotkey_.Identifier())),
                 MAKELPARAM(MOD_CONTROL, 'E'));
    PumpMessages();
    EXPECT_EQ(Cleans(), 1);
    EXPECT_EQ(CountClipboardFormats(), 0);
    EXPECT_EQ(beeper_.beeps, 1);
    EXPECT_TRUE(messages_.texts.empty());
    EXPECT_EQ(OwnProcedure::hotkeys, 0);  // never handed on
}

TEST_F(HotkeySystemTest, AnotherIdentifierNeitherCleansNorReachesTheWindow) {
    hotkey_.SetHotkey("E");
    PostMessageW(window_, WM_HOTKEY, 7, 0);
    PumpMessages();
    EXPECT_EQ(Cleans(), 0);
    EXPECT_EQ(OwnProcedure::hotkeys, 0);
}

TEST_F(HotkeySystemTest, AfterRemovalTheKeyNoLongerCleans) {
    hotkey_.SetHotkey("E");
    const INT_PTR id = hotkey_.Identifier();
    hotkey_.RemoveHotkey();
    PostMessageW(window_, WM_HOTKEY, static_cast<WPARAM>(id), 0);
    PumpMessages();
    EXPECT_EQ(Cleans(), 0);
    EXPECT_EQ(OwnProcedure::hotkeys, 1);  // the window's own procedure has it again
}

TEST_F(HotkeySystemTest, AMissingToolIsReportedAndTheClipboardKept) {
    DeleteFileW(Wide(folder_ / "empty.exe").c_str());
    ASSERT_TRUE(PutTextOnClipboard(window_));
    hotkey_.SetHotkey("E");
    PostMessageW(window_, WM_HOTKEY, static_cast<WPARAM>(static_cast<INT_PTR>(hotkey_.Identifier())), 0);
    PumpMessages();
    EXPECT_EQ(messages_.texts, (std::vector<std::string>{"内存清理组件错误！"}));
    EXPECT_GT(CountClipboardFormats(), 0);
    EXPECT_EQ(beeper_.beeps, 0);
}

TEST_F(HotkeySystemTest, DestroyingTheWindowRemovesTheHotkeyAndTheWindowSeesItsLastMessage) {
    hotkey_.SetHotkey("Q");
    DestroyWindow(window_);
    EXPECT_FALSE(hotkey_.Installed());
    EXPECT_EQ(OwnProcedure::ncDestroys, 1);
    HWND other = CreateWindowExW(0, L"VarnicHotkeyTest", L"other", 0, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    EXPECT_TRUE(RegisterHotKey(other, 1, MOD_CONTROL, 'Q'));  // released with the window
    UnregisterHotKey(other, 1);
    DestroyWindow(other);
}

}  // namespace
}  // namespace varnic::win32
