// The rule editor's window under Wine: caption, controls at their DPI-scaled places, the
// controls driving the model and the model's files, one instance, closing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"
#include "rules/win32/rule_editor_window.h"
#include "scratch_folder.h"

namespace varnic::win32 {
namespace {

using testing::FileBytes;
using testing::PutFile;
using testing::ScratchFolder;
using Id = RuleEditorWindow::ControlId;

// Boxes that record instead of waiting for a user.
class RecordedBoxes final : public MessageBoxes {
public:
    std::vector<std::string> texts;
    void Show(const std::string& text, const std::string&, MessageIcon) override { texts.push_back(text); }
};

int Dpi() {
    WindowDc screen(nullptr);
    return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

int Px(int twips) { return MulDiv(twips, Dpi(), 1440); }

std::wstring TextOf(HWND control) {
    wchar_t text[512] = {};
    GetWindowTextW(control, text, 512);
    return text;
}

class RuleEditorWindowTest : public ::testing::Test {
protected:
    ScratchFolder folder{"rule-editor"};
    RecordedBoxes boxes;
    int checkStates = 0;
    HICON mainIcon = LoadIconW(nullptr, IDI_APPLICATION);
    HWND window = nullptr;

    void SetUp() override { window = Open(); }
    void TearDown() override {
        if (IsWindow(window)) DestroyWindow(window);
    }
    HWND Open() {
        return RuleEditorWindow::Show(GetModuleHandleW(nullptr), mainIcon, folder.Path(), [this] { ++checkStates; },
                                      &boxes);
    }
    HWND Item(int id) const { return GetDlgItem(window, id); }
    bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Click(int id) const { SendMessageW(Item(id), BM_CLICK, 0, 0); }
    void Choose(int index) const {
        HWND combo = Item(Id::kCb1);
        SendMessageW(combo, CB_SETCURSEL, index, 0);  // raises no notification by itself
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(Id::kCb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
};

TEST_F(RuleEditorWindowTest, OpensWithItsCaptionShowingRuleZeroFromNewlyCreatedFiles) {
    ASSERT_TRUE(window);
    EXPECT_EQ(TextOf(window), L"自定义规则");
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(FileBytes(folder / "AllRule.ini"), "1\r\n1\r\n1\r\n2\r\n");
    EXPECT_EQ(FileBytes(folder / "SmallGameRule.ini"), "1\r\n1\r\n5\r\n5\r\n");
    EXPECT_EQ(FileBytes(folder / "LargeGameRule.ini"), "1\r\n0\r\n9\r\n5\r\n");
    EXPECT_EQ(FileBytes(folder / "BTRule.ini"), "0\r\n0\r\n9\r\n9\r\n");
    EXPECT_EQ(SendMessageW(Item(Id::kCb1), CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(Item(Id::kCb1), CB_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(Checked(Id::kCheck1));
    EXPECT_TRUE(Checked(Id::kCheck2));
    EXPECT_EQ(TextOf(Item(Id::kText1)), L"2");
    EXPECT_EQ(TextOf(Item(Id::kText2)), L"1");
    EXPECT_EQ(TextOf(Item(Id::kXpButton3)), L"恢复默认设置");
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(RuleEditorWindowTest, IsAFixedWindowWithoutOwnerThatTakesTheMainWindowsIcon) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0)), mainIcon);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, Px(6525));
    EXPECT_EQ(client.bottom, Px(4035));
}

TEST_F(RuleEditorWindowTest, ControlsSitAtTheirTwipsPlacesScaledToTheScreen) {
    struct Place {
        int id;
        int left, top, width, height;  // twips in the window
    };
    const Place places[] = {
        {Id::kLabel5, 0, 240, 2175, 255},        {Id::kFrame1, 0, 720, 4455, 2535},
        {Id::kCheck1, 240, 1080, 2415, 375},     {Id::kText1, 1560, 1560, 375, 270},
        {Id::kLabel4, 1200, 2640, 1935, 255},    {Id::kText2, 840, 2640, 375, 270},
        {Id::kText3, 4560, 120, 1815, 3135},     {Id::kXpButton1, 240, 3480, 1215, 495},
        {Id::kXpButton2, 2520, 3480, 1215, 495}, {Id::kXpButton3, 4920, 3480, 1215, 495},
    };
    for (const auto& p : places) {
        SCOPED_TRACE(p.id);
        HWND control = Item(p.id);
        ASSERT_TRUE(control);
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, Px(p.left));
        EXPECT_EQ(r.top, Px(p.top));
        EXPECT_EQ(r.right, Px(p.left + p.width));
        EXPECT_EQ(r.bottom, Px(p.top + p.height));
    }
    RECT combo{};
    GetWindowRect(Item(Id::kCb1), &combo);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&combo), 2);
    EXPECT_EQ(combo.left, Px(2160));
    EXPECT_EQ(combo.top, Px(240));
    EXPECT_EQ(combo.right, Px(2160 + 2295));
    EXPECT_EQ(GetWindowLongW(Item(Id::kCb1), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(GetWindowLongW(Item(Id::kCheck1), GWL_STYLE) & BS_TYPEMASK, BS_CHECKBOX);
    EXPECT_EQ(GetWindowLongW(Item(Id::kFrame1), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
}

TEST_F(RuleEditorWindowTest, UncheckingTheTimedTriggerThenSavingWritesItOff) {
    Click(Id::kCheck2);
    EXPECT_FALSE(Checked(Id::kCheck2));
    EXPECT_EQ(TextOf(Item(Id::kText2)), L"9");
    EXPECT_FALSE(IsWindowEnabled(Item(Id::kText2)));
    Click(Id::kXpButton1);
    EXPECT_EQ(FileBytes(folder / "AllRule.ini"), "1\r\n0\r\n9\r\n2\r\n");
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"保存清理规则“全部清理规则”成功！"});
}

TEST_F(RuleEditorWindowTest, ChoosingAnEntryShowsThatRule) {
    Choose(2);
    EXPECT_TRUE(Checked(Id::kCheck1));
    EXPECT_FALSE(Checked(Id::kCheck2));
    EXPECT_EQ(TextOf(Item(Id::kText1)), L"5");
    EXPECT_EQ(TextOf(Item(Id::kText2)), L"9");
    EXPECT_FALSE(IsWindowEnabled(Item(Id::kText2)));
    Choose(3);
    EXPECT_FALSE(Checked(Id::kCheck1));
    EXPECT_FALSE(IsWindowEnabled(Item(Id::kText1)));
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(RuleEditorWindowTest, TypingANumberThatIsNotPositiveIsAnsweredAndReset) {
    SetWindowTextW(Item(Id::kText1), L"0");  // the edit control reports EN_CHANGE as for typing
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"请输入大于0的整数！"});
    EXPECT_EQ(TextOf(Item(Id::kText1)), L"1");
    SetWindowTextW(Item(Id::kText2), L"12");
    Click(Id::kXpButton1);
    EXPECT_EQ(FileBytes(folder / "AllRule.ini"), "1\r\n1\r\n12\r\n1\r\n");
    EXPECT_EQ(boxes.texts.size(), 2u);  // the answer and the success
}

TEST_F(RuleEditorWindowTest, AReadOnlyRuleFileIsNamedAndTheOthersAreWritten) {
    ASSERT_TRUE(SetFileAttributesW(Wide(folder / "BTRule.ini").c_str(), FILE_ATTRIBUTE_READONLY));
    Choose(1);
    SetWindowTextW(Item(Id::kText1), L"7");
    Click(Id::kXpButton1);
    EXPECT_EQ(FileBytes(folder / "SmallGameRule.ini"), "1\r\n1\r\n5\r\n7\r\n");
    EXPECT_EQ(FileBytes(folder / "BTRule.ini"), "0\r\n0\r\n9\r\n9\r\n");
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"无法保存清理规则文件：" + folder.Path() + "\\BTRule.ini"});
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(RuleEditorWindowTest, RestoreRewritesTheDefaultsAndShowsTheChosenRule) {
    ASSERT_TRUE(PutFile(folder / "LargeGameRule.ini", "0\r\n1\r\n4\r\n4\r\n"));
    Choose(2);  // still the copy read when the window opened
    EXPECT_EQ(TextOf(Item(Id::kText1)), L"5");
    Click(Id::kXpButton3);
    EXPECT_EQ(FileBytes(folder / "LargeGameRule.ini"), "1\r\n0\r\n9\r\n5\r\n");
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"恢复默认设置成功！"});
    EXPECT_FALSE(Checked(Id::kCheck2));
}

TEST_F(RuleEditorWindowTest, ASecondShowBringsBackTheSameWindow) {
    SetWindowTextW(Item(Id::kText1), L"6");
    EXPECT_EQ(Open(), window);
    EXPECT_EQ(TextOf(Item(Id::kText1)), L"6");  // not loaded again
    EXPECT_EQ(checkStates, 0);
}

TEST_F(RuleEditorWindowTest, TheCloseButtonDestroysTheWindowAndReloadsTheRuleOnce) {
    Click(Id::kXpButton2);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(checkStates, 1);
    EXPECT_EQ(RuleEditorWindow::Find(), nullptr);
    window = Open();  // a new window, loaded again
    ASSERT_TRUE(window);
    EXPECT_EQ(TextOf(Item(Id::kText1)), L"2");
}

TEST_F(RuleEditorWindowTest, TheCloseBoxReloadsTheRuleOnce) {
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(checkStates, 1);
}

}  // namespace
}  // namespace varnic::win32
