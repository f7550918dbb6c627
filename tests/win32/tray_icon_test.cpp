// TrayIcon against the tray of Wine's virtual desktop: adding, changing and removing the
// icon, tips that are too long, Explorer restarts, callbacks and the pop-up menu.
#include "controls/win32/tray_icon.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace varnic::win32 {
namespace {

constexpr UINT kCallback = WM_APP + 7;

// A hidden top-level window that records what reaches it and runs `onTimer` on WM_TIMER.
class Owner {
public:
    Owner() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Owner::Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VarnicTrayTestOwner";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, wc.lpszClassName, L"tray test", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, wc.hInstance, this);
    }
    ~Owner() { DestroyWindow(window_); }
    HWND Get() const { return window_; }

    std::function<void()> onTimer;
    std::vector<UINT> commands;
    std::vector<std::pair<WPARAM, LPARAM>> callbacks;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self) {
            if (message == WM_TIMER && self->onTimer) self->onTimer();
            if (message == WM_COMMAND) self->commands.push_back(LOWORD(wParam));
            if (message == kCallback) self->callbacks.emplace_back(wParam, lParam);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    HWND window_;
};

void PumpFor(DWORD milliseconds, const std::function<bool()>& done) {
    const DWORD start = GetTickCount();
    MSG message;
    for (;;) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        if (done() || GetTickCount() - start >= milliseconds) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

// The desktop's tray is made by another process; wait for it before the first icon.
bool TrayExists() {
    PumpFor(15000, [] { return FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr; });
    return FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr;
}

// Asks the shell directly whether it holds the icon `id` of `window`.
bool ShellHolds(HWND window, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = window;
    data.uID = id;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

UniqueIcon SolidIcon(COLORREF colour) {
    std::vector<DWORD> pixels(16 * 16, 0xFF000000 | RGB(GetBValue(colour), GetGValue(colour), GetRValue(colour)));
    std::vector<BYTE> mask(16 * 16 / 8, 0);
    HBITMAP colourBitmap = CreateBitmap(16, 16, 1, 32, pixels.data());
    HBITMAP maskBitmap = CreateBitmap(16, 16, 1, 1, mask.data());
    ICONINFO info{TRUE, 0, 0, maskBitmap, colourBitmap};
    UniqueIcon icon(CreateIconIndirect(&info));
    DeleteObject(colourBitmap);
    DeleteObject(maskBitmap);
    return icon;
}

bool IconAlive(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(TrayExists()) << "the virtual desktop has no tray"; }
    Owner owner;
};

TEST_F(TrayIconTest, IsAddedChangedAndRemovedInTheShell) {
    TrayIcon tray(owner.Get(), kCallback, 3);
    tray.SetSharedIcon(LoadIconW(nullptr, IDI_APPLICATION));
    tray.SetTip(L"可用内存数：200M\r\n可用内存内存百分比：39%\r\n已用内存数：312M");
    EXPECT_FALSE(ShellHolds(owner.Get(), 3));

    ASSERT_TRUE(tray.Add());
    EXPECT_TRUE(tray.IsShown());
    EXPECT_TRUE(ShellHolds(owner.Get(), 3));
    EXPECT_TRUE(tray.Add()) << "adding twice keeps the one icon";

    tray.SetTip(L"可用内存数：150M");
    tray.SetOwnedIcon(SolidIcon(RGB(250, 250, 250)));
    EXPECT_TRUE(ShellHolds(owner.Get(), 3));

    EXPECT_TRUE(tray.Remove());
    EXPECT_FALSE(tray.IsShown());
    EXPECT_FALSE(ShellHolds(owner.Get(), 3));
    EXPECT_TRUE(tray.Remove()) << "removing an icon that is not shown is harmless";
}

TEST_F(TrayIconTest, OwnedPicturesAreDestroyedOnlyWhenReplacedOrAtTheEnd) {
    HICON first = nullptr, second = nullptr;
    {
        TrayIcon tray(owner.Get(), kCallback, 4);
        ASSERT_TRUE(tray.Add());
        UniqueIcon icon = SolidIcon(RGB(96, 96, 191));
        first = icon.Get();
        tray.SetOwnedIcon(std::move(icon));
        EXPECT_EQ(tray.CurrentIcon(), first);
        EXPECT_TRUE(IconAlive(first));

        icon = SolidIcon(RGB(250, 250, 250));
        second = icon.Get();
        tray.SetOwnedIcon(std::move(icon));
        EXPECT_FALSE(IconAlive(first)) << "the previous picture is destroyed after the switch";
        EXPECT_TRUE(IconAlive(second));

        HICON shared = LoadIconW(nullptr, IDI_APPLICATION);
        tray.SetSharedIcon(shared);
        EXPECT_FALSE(IconAlive(second));
        EXPECT_EQ(tray.CurrentIcon(), shared);
    }
    EXPECT_TRUE(IconAlive(LoadIconW(nullptr, IDI_APPLICATION))) << "a shared picture is never destroyed";
    EXPECT_FALSE(ShellHolds(owner.Get(), 4)) << "the destructor takes the icon out of the tray";
}

TEST_F(TrayIconTest, TheLastOwnedPictureGoesWithTheTrayIcon) {
    HICON icon = nullptr;
    {
        TrayIcon tray(owner.Get(), kCallback, 5);
        UniqueIcon owned = SolidIcon(RGB(0, 0, 0));
        icon = owned.Get();
        tray.SetOwnedIcon(std::move(owned));
        EXPECT_TRUE(IconAlive(icon));
    }
    EXPECT_FALSE(IconAlive(icon));
}

TEST_F(TrayIconTest, ComesBackAfterExplorerRestartsOnlyWhenWanted) {
    TrayIcon tray(owner.Get(), kCallback, 6);
    tray.SetSharedIcon(LoadIconW(nullptr, IDI_APPLICATION));
    ASSERT_TRUE(tray.Add());

    // A restarted Explorer has forgotten every icon.
    NOTIFYICONDATAW forget{};
    forget.cbSize = NOTIFYICONDATAW_V2_SIZE;
    forget.hWnd = owner.Get();
    forget.uID = 6;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &forget));
    EXPECT_FALSE(ShellHolds(owner.Get(), 6));

    EXPECT_TRUE(tray.OnTaskbarCreated());
    EXPECT_TRUE(tray.IsShown());
    EXPECT_TRUE(ShellHolds(owner.Get(), 6));

    tray.Remove();
    EXPECT_FALSE(tray.OnTaskbarCreated()) << "an icon taken out stays out";
    EXPECT_FALSE(ShellHolds(owner.Get(), 6));
}

TEST_F(TrayIconTest, TaskbarCreatedIsOneRegisteredMessage) {
    const UINT message = TrayIcon::TaskbarCreatedMessage();
    EXPECT_GE(message, 0xC000u);
    EXPECT_EQ(message, RegisterWindowMessageW(L"TaskbarCreated"));
}

TEST_F(TrayIconTest, AcceptsATipLongerThanTheShellHolds) {
    TrayIcon tray(owner.Get(), kCallback, 7);
    tray.SetTip(std::wstring(300, L'内'));
    ASSERT_TRUE(tray.Add());
    EXPECT_TRUE(ShellHolds(owner.Get(), 7));
    tray.SetTip(std::wstring(40, L'存') + L"\r\n" + std::wstring(200, L'M'));
    EXPECT_TRUE(ShellHolds(owner.Get(), 7));
}

TEST(TrayTip, IsCutWithoutBreakingCharactersOrLineBreaks) {
    struct Case {
        std::wstring tip;
        std::size_t capacity;
        std::wstring expected;
    };
    const std::wstring line = L"可用内存数：200M";
    const std::wstring pair = L"\xD83D\xDCBE";  // one character in two UTF-16 units
    const Case cases[] = {
        {line, 127, line},
        {std::wstring(127, L'a'), 127, std::wstring(127, L'a')},
        {std::wstring(128, L'a'), 127, std::wstring(127, L'a')},
        {std::wstring(300, L'内'), 127, std::wstring(127, L'内')},
        {std::wstring(126, L'a') + pair + L"b", 127, std::wstring(126, L'a')},
        {std::wstring(126, L'a') + L"\r\nb", 127, std::wstring(126, L'a')},
        {std::wstring(125, L'a') + L"\r\nb", 127, std::wstring(125, L'a')},
        {L"abc", 0, L""},
    };
    for (const Case& c : cases) {
        const std::wstring fitted = TrayIcon::FitTip(c.tip, c.capacity);
        EXPECT_EQ(fitted, c.expected) << "tip of " << c.tip.size() << " units";
        EXPECT_LE(fitted.size(), c.capacity);
    }
}

TEST(TrayTip, CapacityFollowsTheRecordTheShellKnows) {
    EXPECT_EQ(TrayIcon::TipCapacity(NOTIFYICONDATAW_V1_SIZE), 63u);
    EXPECT_EQ(TrayIcon::TipCapacity(NOTIFYICONDATAW_V2_SIZE), 127u);
    EXPECT_EQ(TrayIcon::TipCapacity(sizeof(NOTIFYICONDATAW)), 127u);
}

TEST(TrayCallback, MouseMessageIsDecodedForBothFormats) {
    EXPECT_EQ(TrayIcon::MouseMessage(WM_RBUTTONUP), static_cast<UINT>(WM_RBUTTONUP));
    EXPECT_EQ(TrayIcon::MouseMessage(WM_LBUTTONDBLCLK), static_cast<UINT>(WM_LBUTTONDBLCLK));
    EXPECT_EQ(TrayIcon::MouseMessage(MAKELPARAM(WM_CONTEXTMENU, 1)), static_cast<UINT>(WM_CONTEXTMENU));
    EXPECT_EQ(TrayIcon::MouseMessage(MAKELPARAM(NIN_SELECT, 9)), static_cast<UINT>(NIN_SELECT));
}

// Wine draws its icons inside the taskbar window, from the right end: a right-click posted
// there reaches the icon's owner as the shell's own callback.
TEST_F(TrayIconTest, ARightClickAsksForTheMenuExactlyOnce) {
    TrayIcon tray(owner.Get(), kCallback, 8);
    tray.SetSharedIcon(LoadIconW(nullptr, IDI_APPLICATION));
    ASSERT_TRUE(tray.Add());
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    RECT area{};
    GetClientRect(taskbar, &area);
    PostMessageW(taskbar, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(area.right - 10, area.bottom / 2));
    PostMessageW(taskbar, WM_RBUTTONUP, 0, MAKELPARAM(area.right - 10, area.bottom / 2));
    PumpFor(5000, [&] {
        for (const auto& callback : owner.callbacks)
            if (tray.IsMenuRequest(callback.second)) return true;
        return false;
    });
    PumpFor(0, [] { return false; });

    int requests = 0, rightButtonUps = 0;
    for (const auto& [wParam, lParam] : owner.callbacks) {
        if (tray.IsMenuRequest(lParam)) ++requests;
        if (TrayIcon::MouseMessage(lParam) == WM_RBUTTONUP) ++rightButtonUps;
        if (tray.UsesVersion4()) EXPECT_EQ(HIWORD(lParam), 8) << "version 4 names the icon in lParam";
        else EXPECT_EQ(wParam, 8u) << "older versions name the icon in wParam";
    }
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(rightButtonUps, 1);
}

class TrayMenuTest : public TrayIconTest {
protected:
    void SetUp() override {
        TrayIconTest::SetUp();
        menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, 101, L"显示窗口");
        AppendMenuW(menu, MF_STRING, 102, L"退出");
    }
    void TearDown() override { DestroyMenu(menu); }

    // Runs `act` once the menu window is up (or after a few timer periods without it).
    void WhileMenuIsOpen(std::function<void(HWND)> act) {
        SetTimer(owner.Get(), 1, 100, nullptr);
        owner.onTimer = [this, act, ticks = 0]() mutable {
            HWND popup = FindWindowW(L"#32768", nullptr);
            if (!popup && ++ticks < 50) return;
            KillTimer(owner.Get(), 1);
            sawMenu = popup != nullptr;
            act(popup);
        };
    }

    HMENU menu = nullptr;
    bool sawMenu = false;
};

TEST_F(TrayMenuTest, ChosenEntryReachesTheOwnerAsACommand) {
    WhileMenuIsOpen([](HWND popup) {
        PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_TRUE(TrayIcon::ShowMenu(owner.Get(), menu));
    EXPECT_TRUE(sawMenu);
    PumpFor(2000, [&] { return !owner.commands.empty(); });
    ASSERT_EQ(owner.commands.size(), 1u);
    EXPECT_EQ(owner.commands[0], 102u);
}

TEST_F(TrayMenuTest, ClosesWhenDismissedAndLeavesTheOwnerANullMessage) {
    WhileMenuIsOpen([](HWND) { EndMenu(); });
    EXPECT_TRUE(TrayIcon::ShowMenu(owner.Get(), menu));
    EXPECT_TRUE(sawMenu);
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, owner.Get(), WM_NULL, WM_NULL, PM_REMOVE));
    PumpFor(0, [] { return false; });  // whatever the menu posted is in the queue by now
    EXPECT_TRUE(owner.commands.empty());
}

TEST_F(TrayMenuTest, WithoutAMenuNothingIsShown) { EXPECT_FALSE(TrayIcon::ShowMenu(owner.Get(), nullptr)); }

}  // namespace
}  // namespace varnic::win32
