#include "kelvo_fixture.h"

namespace varnic::fakes {
namespace {

using Commands = KelvoTest;

struct ToggleCase {
    int heightBefore;
    int heightAfter;
    bool panelVisible;
    int label4Top, f1Top;
};

TEST_F(Commands, ThePanelToggleOpensBelowAThousandTwipsFoldsAboveAndStaysAtExactlyAThousand) {
    const ToggleCase cases[] = {
        {4750, 7050, true, 6360, 4080},  // folded: opens
        {4000, 7050, true, 6360, 4080},  // smaller than folded: opens
        {5500, 7050, true, 6360, 4080},  // less than 1000 over: opens
        {7050, 4750, false, 4080, 9000}, // open: folds
        {5751, 4750, false, 4080, 9000}, // just over 1000: folds
        {5750, 5750, false, 4080, 9000}, // exactly 1000 over: nothing changes
    };
    for (const auto& c : cases) {
        form.height = c.heightBefore;
        form.f1.visible = false;
        form.Label4.place.top = 4080;
        form.f1.place.top = 9000;
        form.Command3_Click();
        EXPECT_EQ(form.height, c.heightAfter) << c.heightBefore;
        EXPECT_EQ(form.f1.visible, c.panelVisible) << c.heightBefore;
        EXPECT_EQ(form.Label4.place.top, c.label4Top) << c.heightBefore;
        EXPECT_EQ(form.f1.place.top, c.f1Top) << c.heightBefore;
    }
}

TEST_F(Commands, TheRuleLabelAndTheBackgroundToggleThePanelToo) {
    form.Label15_Click();
    EXPECT_EQ(form.height, kelvo::kOpenHeight);
    form.Background_Click();
    EXPECT_EQ(form.height, kelvo::kFoldedHeight);
}

TEST_F(Commands, TheCleanButtonStartsTheToolHiddenAndLeavesTheClipboard) {
    form.Command1_Click();
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launcher.starts[0].program, empty);
    EXPECT_EQ(launcher.starts[0].commandLine, "empty.exe  *");
    EXPECT_EQ(launcher.starts[0].show, ShowWindow::Hidden);
    EXPECT_EQ(clipboard.clears, 0);
    EXPECT_EQ(beeper.beeps, 0);
}

TEST_F(Commands, TheTrayCleanEntryCleansClearsAndBeepsEvenWhenTheToolIsMissing) {
    launcher.missing.insert(empty);
    form.MenuClicked("nowyouhua");
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"内存优化组件错误！"}));
    EXPECT_EQ(clipboard.clears, 1);
    EXPECT_EQ(beeper.beeps, 1);
}

TEST_F(Commands, TheClipboardEntryOnlyClearsTheClipboard) {
    form.MenuClicked("cleanchip");
    EXPECT_EQ(clipboard.clears, 1);
    EXPECT_TRUE(launcher.starts.empty());
}

TEST_F(Commands, TheUpdateCommandStartsTheUpdaterByItsFullPathAndEndsTheProgram) {
    Load();
    bool cancelled = true;
    host.onEndProgram = [&] { cancelled = form.Form_Unload(); };
    form.Label7_Click();
    const auto& start = launcher.starts.back();
    EXPECT_EQ(start.program, At("\\tarnel.exe"));
    EXPECT_EQ(start.commandLine, "tarnel.exe");
    EXPECT_EQ(start.show, ShowWindow::Normal);
    EXPECT_FALSE(cancelled);
    EXPECT_FALSE(form.HotkeyModule().Installed());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Commands, TheUpdateCommandWithoutTheUpdaterSaysSoAndStillEnds) {
    Load();
    launcher.missing.insert(At("\\tarnel.exe"));
    int ends = 0;
    host.onEndProgram = [&] {
        ++ends;
        form.Form_Unload();
    };
    form.MenuClicked("updatemenu");
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"在线更新组件错误！"}));
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(form.HideOnClose, 0);
}

TEST_F(Commands, TheBackgroundRunButtonSendsTheWindowToTheTrayAndSaves) {
    Load();
    files.writes.clear();
    form.Command2_Click();
    EXPECT_EQ(tray.calls.back(), "SendToTray");
    EXPECT_EQ(files.WritesOf(At("\\Setting.ini")), 1);
    form.MenuClicked("show");
    EXPECT_EQ(tray.calls.back(), "ShowFromTray");
}

TEST_F(Commands, LinksOpenTheirPagesInTheInstallationFolder) {
    form.Label9_Click();
    form.Label4_Click();
    ASSERT_EQ(shell.opened.size(), 2u);
    EXPECT_NE(shell.opened[0].first.find("/soft/22033.html"), std::string::npos);
    EXPECT_NE(shell.opened[1].first.find("/blog"), std::string::npos);
    EXPECT_EQ(shell.opened[0].second, kDir);
    for (const auto& [target, folder] : shell.opened) EXPECT_NE(target.find(".example"), std::string::npos);
}

TEST_F(Commands, AboutAndTheRuleEditorAreShownByTheHost) {
    form.Label8_Click();
    form.Label16_Click();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"ShowAbout", "ShowRuleEditor"}));
}

TEST_F(Commands, TheGearIconShowsTheProgramIconAtOnceAndSaves) {
    Load();
    tray.calls.clear();
    form.UserClickedOp1();
    EXPECT_EQ(tray.calls, (std::vector<std::string>{"ShowProgramIcon"}));
    EXPECT_EQ(Settings(), "E\r\n0\r\n0\r\n1\r\n0\r\n");
    form.UserClickedOp2();
    EXPECT_EQ(Settings(), "E\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST_F(Commands, UncheckingTheHotkeyRemovesItAndCheckingRegistersTheCurrentLetter) {
    Load();
    form.UserClickedCheck2();
    EXPECT_TRUE(hotkeys.registered.empty());
    EXPECT_EQ(hotkeys.windowProcedure, FakeHotkeySystem::kOwnProcedure);
    form.UserEditedText1("k");
    EXPECT_TRUE(hotkeys.registered.empty());  // off: the letter alone registers nothing
    form.UserClickedCheck2();
    ASSERT_EQ(hotkeys.registered.size(), 1u);
    EXPECT_EQ(hotkeys.registered.begin()->second.second, 'K');
    EXPECT_EQ(Settings(), "K\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST_F(Commands, EmptyingTheLetterWithTheHotkeyOnLeavesTheRegistrationAndStillSaves) {
    Load();
    files.writes.clear();
    form.UserEditedText1("");
    ASSERT_EQ(hotkeys.registered.size(), 1u);
    EXPECT_EQ(hotkeys.registered.begin()->second.second, 'E');
    EXPECT_EQ(files.WritesOf(At("\\Setting.ini")), 1);
    EXPECT_EQ(Settings(), "F\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST_F(Commands, ChoosingARuleSavesItAndReloadsTheEngine) {
    Load();
    form.UserSelectedCb1(3);
    EXPECT_EQ(Settings(), "E\r\n0\r\n0\r\n0\r\n3\r\n");
    EXPECT_EQ(form.engine.RuleProcOn, 0);
    EXPECT_EQ(form.engine.RuleProcChanges, 9);
    EXPECT_EQ(form.Label15.caption, "当前清理规则：BT下载清理规则");
}

}  // namespace
}  // namespace varnic::fakes
