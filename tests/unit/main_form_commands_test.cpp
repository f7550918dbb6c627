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

// The clean routes a user or the program takes, and whether the user asked for the clean.
const std::tuple<const char*, void (*)(Kelvo&), bool> kRoutes[] = {
    {"button", [](Kelvo& k) { k.form.Command1_Click(); }, true},
    {"tray entry", [](Kelvo& k) { k.form.MenuClicked("nowyouhua"); }, true},
    {"hotkey", [](Kelvo& k) { k.form.HotkeyModule().HotkeyWndProc(0x0312, std::uintptr_t(-16383), 0); }, true},
    {"low memory", [](Kelvo& k) { k.memory.status.memoryLoad = 85, k.form.Timer1_Tick(); }, false},
    {"minute rule", [](Kelvo& k) { k.form.Timer2_Tick(); }, false},
};

TEST(Areas, EveryCleanPassesTheChosenAreasInTheirOrderAndAnOddOrMissingFileMeansWorkingSetsOnly) {
    const std::pair<const char*, std::string> areaFiles[] = {
        {nullptr, "empty.exe  *"},
        {"standby\r\nfilecache\r\n", "empty.exe  * -filecache -standby"},
        {" Combine \r\n\r\nMODIFIED\r\nlowstandby", "empty.exe  * -modified -lowstandby -combine"},
        {"standby\r\ntrim\r\n", "empty.exe  *"},
        {"-standby\r\n", "empty.exe  *"},
    };
    for (const auto& [file, line] : areaFiles)
        for (const auto& [route, clean, asked] : kRoutes) {
            Kelvo k;
            if (file) k.files.files[At("\\Areas.ini")] = file;
            k.Load();
            k.launcher.starts.clear();
            clean(k);
            ASSERT_EQ(k.launcher.starts.size(), 1u) << route;
            EXPECT_EQ(k.launcher.starts[0].commandLine, line) << route << " with " << (file ? file : "no file");
            k.form.HotkeyModule().RemoveHotkey();
        }
}

TEST(Areas, TheSubmenuChoiceSurvivesARestartAndOnlyItsLastEntryAsksForTheAdministrator) {
    Kelvo k;
    k.Load();
    for (std::size_t entry : {0, 4, 1, 5, 5}) k.form.AreaMenuClicked(entry);  // identical pages on and off again
    EXPECT_EQ(k.files.files[At("\\Areas.ini")], "filecache\r\nstandby\r\n");
    EXPECT_EQ(k.Settings(), "E\r\n0\r\n0\r\n0\r\n0\r\n");
    k.host.restartAccepted = false;
    k.form.AreaMenuClicked(6);
    EXPECT_TRUE(k.form.HotkeyModule().Installed());  // refused: kelvo stays, with its hotkey
    k.form.HotkeyModule().RemoveHotkey();
    for (bool elevated : {false, true}) {
        Kelvo again;
        again.files = k.files;
        again.host.elevated = elevated;
        again.Load();
        const auto menu = again.form.AreaMenu();
        ASSERT_EQ(menu.size(), elevated ? 6u : 7u);
        EXPECT_TRUE(menu[0].checked && !menu[0].enabled);
        for (std::size_t i = 1; i < 6; ++i) EXPECT_EQ(menu[i].checked, i == 1 || i == 4) << i;
        EXPECT_EQ(menu[4].caption, elevated ? "备用列表" : "备用列表（需要管理员）");
        again.form.AreaMenuClicked(6);
        EXPECT_EQ(again.host.calls.back(), elevated ? "StartMinuteTimer" : "EndProgram");
        EXPECT_FALSE(again.form.HotkeyModule().Installed() && !elevated);
        again.form.HotkeyModule().RemoveHotkey();
    }
}

TEST(Areas, AnAskedCleanEndsInABalloonEveryCleanInTheTipLineWithTheFreedMegabytesAndTime) {
    const std::tuple<Language, std::uint64_t, std::uint64_t, const char*, const char*> cases[] = {
        {Language::kChinese, 200ull << 20, (300ull << 20) + (1 << 19), "Varnic: 已释放 100M 内存", "上次清理 09:05：释放 100M"},
        {Language::kEnglish, 200ull << 20, (201ull << 20) - 1, "Varnic: Freed 0 MB", "Last clean 09:05: freed 0 MB"},
        {Language::kEnglish, 300ull << 20, 200ull << 20, "Varnic: Freed 0 MB", "Last clean 09:05: freed 0 MB"},
    };
    for (const auto& [language, before, after, balloon, tipLine] : cases)
        for (const auto& [route, clean, asked] : kRoutes) {
            Kelvo k(language);
            k.Load();
            k.memory.status.availPhys = before;
            clean(k);
            k.memory.status = {45, 512ull << 20, after};
            ASSERT_EQ(k.launcher.followed.size(), 1u) << route;
            k.launcher.followed[0]();
            k.form.Timer1_Tick();
            EXPECT_EQ(k.tray.balloons, asked ? std::vector<std::string>{balloon} : std::vector<std::string>{}) << route;
            EXPECT_TRUE(k.tray.tip.ends_with(std::string("\r\n") + tipLine)) << route << ": " << k.tray.tip;
            k.form.HotkeyModule().RemoveHotkey();
        }
}

}  // namespace
}  // namespace varnic::fakes
