// The about window under Wine: no title bar, centred, kept out of the taskbar, its labels'
// fonts and colours, links that open through the shell, the drawn logo, one instance, closing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "about/release_notes.h"
#include "about/win32/about_window.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {
namespace {

using Id = AboutWindow::ControlId;
const std::string kFolder = "C:\\Varnic";

class RecordedShell final : public Shell {
public:
    std::vector<std::pair<std::string, std::string>> opened;
    void Open(const std::string& target, const std::string& workingDirectory) override {
        opened.emplace_back(target, workingDirectory);
    }
};

int Px(int twips) {
    WindowDc screen(nullptr);
    return MulDiv(twips, GetDeviceCaps(screen.Get(), LOGPIXELSY), 1440);
}

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

class AboutWindowTest : public ::testing::Test {
protected:
    RecordedShell shell;
    HWND window = nullptr;

    void SetUp() override { window = AboutWindow::Show(GetModuleHandleW(nullptr), kFolder, &shell); }
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
    }
    HWND Item(int id) const { return GetDlgItem(window, id); }
    void ClickLabel(int id) const {
        SendMessageW(Item(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(Item(id), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
    COLORREF TextColourOf(int id) const {
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(Item(id)));
        return GetTextColor(dc.Get());
    }
};

TEST_F(AboutWindowTest, HasNoTitleBarIsCentredAndStaysOutOfTheTaskbar) {
    ASSERT_TRUE(window);
    EXPECT_TRUE(IsWindowVisible(window));
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_NE(style & WS_CAPTION, WS_CAPTION);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);

    RECT r{}, client{};
    GetWindowRect(window, &r);
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, Px(5850));
    EXPECT_EQ(client.bottom, Px(4560));
    EXPECT_LE(std::abs((r.left + r.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2), 1);
    EXPECT_LE(std::abs((r.top + r.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2), 1);
}

TEST_F(AboutWindowTest, ShowsTheProductLabelsInTheirFontsAndColours) {
    EXPECT_EQ(TextOf(Item(Id::kLblProductName)), L"Varnic");
    EXPECT_EQ(TextOf(Item(Id::kLblPlatform)), L"For Windows 2000/XP/2003");
    EXPECT_EQ(TextOf(Item(Id::kLblVersion)), L"版本：1.9（BETA5） ");
    const LOGFONTW product = FontOf(Item(Id::kLblProductName));
    EXPECT_STREQ(product.lfFaceName, L"幼圆");
    EXPECT_GE(product.lfWeight, FW_BOLD);
    EXPECT_EQ(TextColourOf(Id::kLblProductName), RGB(128, 128, 255));
    const LOGFONTW version = FontOf(Item(Id::kLblVersion));
    EXPECT_STREQ(version.lfFaceName, L"宋体");
    EXPECT_GE(version.lfWeight, FW_BOLD);
    EXPECT_FALSE(version.lfUnderline);
}

TEST_F(AboutWindowTest, LinksAreBlueUnderlinedAndShowAHand) {
    for (int id : {Id::kLabel1, Id::kLabel6, Id::kLabel2, Id::kLabel3, Id::kLabel4, Id::kLabel5}) {
        SCOPED_TRACE(id);
        const LOGFONTW font = FontOf(Item(id));
        EXPECT_TRUE(font.lfUnderline);
        EXPECT_GE(font.lfWeight, FW_BOLD);
        EXPECT_EQ(TextColourOf(id), RGB(0, 0, 255));
        EXPECT_TRUE(SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(Item(id)),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    }
    SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(Item(Id::kLblVersion)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(AboutWindowTest, ClickingALinkOpensItsTargetEachTime) {
    const std::pair<int, std::string> links[] = {
        {Id::kLabel1, "http://www.varnic.example"},
        {Id::kLabel2, "http://www.varnic.example/blog"},
        {Id::kLabel5, kFolder + "\\help.txt"},
    };
    for (const auto& [id, target] : links) {
        shell.opened.clear();
        ClickLabel(id);
        ClickLabel(id);
        const std::pair<std::string, std::string> open{target, kFolder};
        EXPECT_EQ(shell.opened, (std::vector<std::pair<std::string, std::string>>{open, open})) << target;
    }
    ClickLabel(Id::kLblVersion);  // not a link
    EXPECT_EQ(shell.opened.size(), 2u);
}

TEST_F(AboutWindowTest, TheNotesAreAReadOnlyScrollingBox) {
    HWND notes = Item(Id::kText1);
    const LONG style = GetWindowLongW(notes, GWL_STYLE);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_EQ(TextOf(notes), Wide(kelvo::ReleaseNotes()));
}

TEST_F(AboutWindowTest, WithoutALogoPictureALogoIsDrawn) {
    const int side = Px(1920);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    WindowDc screen(nullptr);
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), side, side));
    SelectedObject selected(dc.Get(), bitmap.Get());
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_STATIC;
    item.CtlID = Id::kImgLogo;
    item.hwndItem = Item(Id::kImgLogo);
    item.hDC = dc.Get();
    item.rcItem = RECT{0, 0, side, side};
    SendMessageW(window, WM_DRAWITEM, Id::kImgLogo, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(GetPixel(dc.Get(), side / 2, side / 16 + side / 20), RGB(128, 128, 255));  // the disc
    EXPECT_EQ(GetPixel(dc.Get(), 0, 0), GetSysColor(COLOR_BTNFACE));                       // the corner
}

TEST_F(AboutWindowTest, ASecondShowReturnsTheSameWindow) {
    EXPECT_EQ(AboutWindow::Show(GetModuleHandleW(nullptr), kFolder, &shell), window);
}

TEST_F(AboutWindowTest, CloseDestroysIt) {
    SendMessageW(Item(Id::kXpButton1), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(AboutWindow::Find(), nullptr);
    EXPECT_TRUE(shell.opened.empty());
}

}  // namespace
}  // namespace varnic::win32
