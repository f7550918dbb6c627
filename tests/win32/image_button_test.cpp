// ImageButton and ImageButtonGroup as a window uses them: presses, the enabled state, the
// caption for screen readers, tooltips and what the owner-drawn face paints.
#include "controls/win32/image_button.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "controls/win32/image_button_group.h"
#include "platform/win32/dib_section.h"

namespace varnic::win32 {
namespace {

constexpr COLORREF kPictureColour = RGB(220, 20, 30);

// A top-level window that counts the presses of its buttons and lets the group draw them.
class Parent {
public:
    Parent() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Parent::Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"VarnicImageButtonTestParent";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, wc.lpszClassName, L"buttons", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 500, 300,
                                  nullptr, nullptr, wc.hInstance, this);
        group = std::make_unique<ImageButtonGroup>(window_);
    }
    ~Parent() { DestroyWindow(window_); }
    HWND Get() const { return window_; }

    std::unique_ptr<ImageButtonGroup> group;
    std::vector<std::pair<int, int>> commands;  // id, notification

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<Parent*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == WM_COMMAND) self->commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
        if (self && message == WM_DRAWITEM && self->group &&
            self->group->Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    HWND window_;
};

UniqueIcon SolidIcon(int side, COLORREF colour) {
    std::vector<DWORD> pixels(side * side, 0xFF000000 | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) |
                                               GetBValue(colour));
    std::vector<BYTE> mask((side + 15) / 16 * 2 * side, 0);
    HBITMAP colourBitmap = CreateBitmap(side, side, 1, 32, pixels.data());
    HBITMAP maskBitmap = CreateBitmap(side, side, 1, 1, mask.data());
    ICONINFO info{TRUE, 0, 0, maskBitmap, colourBitmap};
    UniqueIcon icon(CreateIconIndirect(&info));
    DeleteObject(colourBitmap);
    DeleteObject(maskBitmap);
    return icon;
}

// What the button paints, through WM_PRINTCLIENT into a bitmap of its size.
class Snapshot {
public:
    explicit Snapshot(HWND button) {
        RECT area{};
        GetClientRect(button, &area);
        width_ = area.right;
        height_ = area.bottom;
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateTopDownDib(width_, height_, &bits);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        const RECT all{0, 0, width_, height_};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        GdiFlush();
        const auto* bytes = static_cast<const std::uint8_t*>(bits);
        for (int i = 0; i < width_ * height_; ++i) pixels_.push_back(RGB(bytes[i * 4 + 2], bytes[i * 4 + 1], bytes[i * 4]));
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return pixels_[y * width_ + x]; }
    // Pixels of the rectangle [x0, x1) x [y0, y1) that satisfy `test`.
    template <typename Test>
    int Count(int x0, int y0, int x1, int y1, Test test) const {
        int count = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) count += test(At(x, y)) ? 1 : 0;
        return count;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_ = 0, height_ = 0;
    std::vector<COLORREF> pixels_;
};

bool IsPictureRed(COLORREF c) { return GetRValue(c) > 180 && GetGValue(c) < 80 && GetBValue(c) < 80; }
bool IsDark(COLORREF c) { return GetRValue(c) < 90 && GetGValue(c) < 90 && GetBValue(c) < 90; }
bool IsLightFace(COLORREF c) { return GetRValue(c) > 190 && GetGValue(c) > 190 && GetBValue(c) > 190; }

std::wstring TextOf(HWND window) {
    wchar_t text[128] = L"";
    SendMessageW(window, WM_GETTEXT, 128, reinterpret_cast<LPARAM>(text));
    return text;
}

class ImageButtonTest : public ::testing::Test {
protected:
    Parent parent;
};

TEST_F(ImageButtonTest, APressReachesTheParentOnceAsAClick) {
    ImageButton& button = parent.group->Add(21, RECT{10, 10, 148, 38}, L"现在立即清理", SolidIcon(16, kPictureColour));
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(parent.commands[0], std::make_pair(21, static_cast<int>(BN_CLICKED)));
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(parent.commands.size(), 2u);
}

TEST_F(ImageButtonTest, ADisabledButtonRaisesNothingUntilEnabledAgain) {
    ImageButton& update = parent.group->Add(31, RECT{10, 10, 148, 38}, L"更新", UniqueIcon{});
    update.Enable(false);
    EXPECT_FALSE(update.IsEnabled());
    EXPECT_FALSE(IsWindowEnabled(update.Handle()));
    SendMessageW(update.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(parent.commands.empty());

    update.Enable(true);
    EXPECT_TRUE(update.IsEnabled());
    SendMessageW(update.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(parent.commands.size(), 1u);
}

TEST_F(ImageButtonTest, IsARealButtonThatReadersCanName) {
    ImageButton& clean = parent.group->Add(21, RECT{10, 10, 148, 38}, L"现在立即清理", UniqueIcon{});
    ImageButton& help = parent.group->Add(22, RECT{10, 50, 51, 91}, L"", SolidIcon(32, kPictureColour));
    wchar_t className[32] = L"";
    GetClassNameW(clean.Handle(), className, 32);
    EXPECT_STREQ(className, L"Button");
    EXPECT_EQ(GetWindowLongPtrW(clean.Handle(), GWL_STYLE) & (BS_TYPEMASK | WS_TABSTOP),
              static_cast<LONG_PTR>(BS_OWNERDRAW | WS_TABSTOP));
    EXPECT_EQ(GetDlgCtrlID(help.Handle()), 22);
    EXPECT_EQ(TextOf(clean.Handle()), L"现在立即清理");
    EXPECT_EQ(TextOf(help.Handle()), L"");
    clean.SetCaption(L"后台全自动运行");
    EXPECT_EQ(TextOf(clean.Handle()), L"后台全自动运行");
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(clean.Handle(), WM_GETFONT, 0, 0)), parent.group->Font());
    EXPECT_NE(parent.group->Font(), nullptr);
}

TEST_F(ImageButtonTest, TooltipsShareOneControlPerWindow) {
    parent.group->Add(41, RECT{10, 10, 51, 51}, L"", UniqueIcon{}, L"点击打开帮助和支持中心");
    parent.group->Add(42, RECT{60, 10, 101, 51}, L"", UniqueIcon{}, L"打开或关闭高级设置");
    parent.group->Add(43, RECT{110, 10, 248, 38}, L"现在立即清理", UniqueIcon{});
    HWND tips = parent.group->Tooltips();
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 2);

    wchar_t text[80] = L"";
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = parent.Get();
    tool.uId = reinterpret_cast<UINT_PTR>(parent.group->Find(42)->Handle());
    tool.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, L"打开或关闭高级设置");

    parent.group->SetTooltip(42, L"");
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 1) << "an empty tooltip removes the tool";
    parent.group->SetTooltip(43, L"立即清理");
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 2);
    parent.group->SetTooltip(99, L"no such button");
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 2);
}

TEST_F(ImageButtonTest, PaintsThePictureAndTheCaptionOnALightFace) {
    ImageButton& clean = parent.group->Add(21, RECT{10, 10, 148, 38}, L"现在立即清理", SolidIcon(16, kPictureColour));
    const Snapshot shot(clean.Handle());
    ASSERT_EQ(shot.Width(), 138);
    // The picture sits at the left, vertically centred; the caption to its right.
    EXPECT_GT(shot.Count(0, 0, 30, shot.Height(), IsPictureRed), 150);
    EXPECT_EQ(shot.Count(30, 0, shot.Width(), shot.Height(), IsPictureRed), 0);
    EXPECT_GT(shot.Count(30, 4, shot.Width() - 4, shot.Height() - 4, IsDark), 20) << "the caption";
    EXPECT_TRUE(IsLightFace(shot.At(shot.Width() - 8, shot.Height() / 2)));
}

TEST_F(ImageButtonTest, APictureOnlyButtonCentresAPictureThatFitsIt) {
    ImageButton& help = parent.group->Add(22, RECT{10, 50, 51, 91}, L"", SolidIcon(64, kPictureColour));
    const Snapshot shot(help.Handle());
    const int side = ImageButton::PictureSide(41, 64);
    EXPECT_EQ(side, 33);
    const int red = shot.Count(0, 0, shot.Width(), shot.Height(), IsPictureRed);
    EXPECT_GE(red, (side - 2) * (side - 2)) << "scaled down to fit, not clipped";
    EXPECT_LE(red, (side + 1) * (side + 1));
    EXPECT_TRUE(IsPictureRed(shot.At(20, 20)));
    EXPECT_FALSE(IsPictureRed(shot.At(2, 20)));
}

TEST_F(ImageButtonTest, ADisabledButtonGreysItsPictureAndCaption) {
    ImageButton& clean = parent.group->Add(21, RECT{10, 10, 148, 38}, L"现在立即清理", SolidIcon(16, kPictureColour));
    clean.Enable(false);
    const Snapshot shot(clean.Handle());
    EXPECT_EQ(shot.Count(0, 0, shot.Width(), shot.Height(), IsPictureRed), 0);
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    EXPECT_GT(shot.Count(30, 4, shot.Width() - 4, shot.Height() - 4, [&](COLORREF c) { return c == grey; }), 10);
}

TEST_F(ImageButtonTest, APressedButtonLooksPressed) {
    ImageButton& clean = parent.group->Add(21, RECT{10, 10, 148, 38}, L"现在立即清理", SolidIcon(16, kPictureColour));
    const Snapshot up(clean.Handle());
    SendMessageW(clean.Handle(), BM_SETSTATE, TRUE, 0);
    const Snapshot down(clean.Handle());
    SendMessageW(clean.Handle(), BM_SETSTATE, FALSE, 0);
    int changed = 0;
    for (int y = 0; y < up.Height(); ++y)
        for (int x = 0; x < up.Width(); ++x) changed += up.At(x, y) != down.At(x, y);
    EXPECT_GT(changed, up.Width() * up.Height() / 2);
    // The picture moves one pixel right and down.
    int firstRedUp = -1, firstRedDown = -1;
    for (int x = 0; x < up.Width() && firstRedUp < 0; ++x)
        if (IsPictureRed(up.At(x, up.Height() / 2))) firstRedUp = x;
    for (int x = 0; x < down.Width() && firstRedDown < 0; ++x)
        if (IsPictureRed(down.At(x, down.Height() / 2))) firstRedDown = x;
    ASSERT_GE(firstRedUp, 0);
    EXPECT_EQ(firstRedDown, firstRedUp + 1);
}

TEST_F(ImageButtonTest, TheGroupDrawsOnlyItsOwnButtons) {
    parent.group->Add(21, RECT{10, 10, 148, 38}, L"现在立即清理", UniqueIcon{});
    HWND stranger = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | BS_OWNERDRAW, 0, 0, 10, 10, parent.Get(),
                                    reinterpret_cast<HMENU>(77), GetModuleHandleW(nullptr), nullptr);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = stranger;
    EXPECT_FALSE(parent.group->Draw(item));
    EXPECT_EQ(parent.group->Find(77), nullptr);
    ASSERT_NE(parent.group->Find(21), nullptr);
    EXPECT_EQ(parent.group->Find(21)->Id(), 21);
}

TEST_F(ImageButtonTest, AMissingPictureResourceStillMakesAWorkingButton) {
    ImageButton& button = parent.group->Add(51, RECT{10, 10, 51, 51}, L"", 4321, L"下载软件新版");
    EXPECT_EQ(button.Picture(), nullptr);
    SendMessageW(button.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(parent.commands.size(), 1u);
    const Snapshot shot(button.Handle());
    EXPECT_GT(shot.Count(0, 0, shot.Width(), shot.Height(), IsLightFace), shot.Width() * shot.Height() / 2);
}

TEST_F(ImageButtonTest, ForgetsItsWindowWhenTheParentGoesFirst) {
    ImageButton& button = parent.group->Add(21, RECT{10, 10, 148, 38}, L"现在立即清理", UniqueIcon{});
    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, parent.Get(), nullptr, nullptr, nullptr);
    ImageButtonGroup second(child);
    ImageButton& inner = second.Add(61, RECT{0, 0, 50, 20}, L"关闭", UniqueIcon{});
    ASSERT_TRUE(IsWindow(inner.Handle()));
    DestroyWindow(child);
    EXPECT_EQ(inner.Handle(), nullptr);
    inner.Enable(false);  // harmless on a button whose window is gone
    EXPECT_FALSE(inner.IsEnabled());
    EXPECT_TRUE(IsWindow(button.Handle()));
}

TEST(ImageButtonPicture, FitsTheButtonHeightLessItsMargins) {
    struct Case {
        int buttonHeight, pictureSize, expected;
    };
    const Case cases[] = {
        {41, 32, 32}, {41, 64, 33}, {28, 16, 16}, {28, 32, 22}, {82, 64, 64}, {82, 0, 66}, {4, 16, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ImageButton::PictureSide(c.buttonHeight, c.pictureSize), c.expected)
            << c.buttonHeight << " high, picture of " << c.pictureSize;
}

}  // namespace
}  // namespace varnic::win32
