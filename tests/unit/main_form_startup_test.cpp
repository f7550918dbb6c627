#include "kelvo_fixture.h"

namespace varnic::fakes {
namespace {

using StartUp = KelvoTest;

TEST_F(StartUp, InAnEmptyFolderCreatesTheDefaultSettingsAndOnlyTheCurrentRuleFile) {
    Load();
    EXPECT_EQ(Settings(), "E\r\n0\r\n0\r\n0\r\n0\r\n");
    EXPECT_EQ(files.files[At("\\AllRule.ini")], "1\r\n1\r\n1\r\n2\r\n");
    EXPECT_EQ(files.files.size(), 2u);
    EXPECT_EQ(form.Text1.text, "E");
    EXPECT_EQ(form.Check1.value, 1);
    EXPECT_EQ(form.Check2.value, 1);
    EXPECT_TRUE(form.op2.value);
    EXPECT_FALSE(form.op1.value);
    EXPECT_EQ(form.cb1.listIndex, 0);
    EXPECT_EQ(form.cb1.items, (std::vector<std::string>{"全部清理规则", "小型游戏清理规则", "大型游戏清理规则", "BT下载清理规则"}));
    EXPECT_EQ(form.Label15.caption, "当前清理规则：全部清理规则");
    EXPECT_EQ(form.MenuEntry("dangqianrule").caption, "当前清理规则：全部清理规则");
    EXPECT_EQ(form.HideOnClose, 1);
}

TEST_F(StartUp, RunsItsStepsInOrder) {
    processes.count = 42;
    std::vector<std::string> order;
    launcher.onStart = [&] { order.push_back("start " + launcher.starts.back().commandLine); };
    Load("-sendme");
    // The rule is loaded, the minute timer started, the window sent to the tray, the processes
    // counted and kelvo's own working set emptied, before the hotkey and the tray menu.
    EXPECT_EQ(host.calls, (std::vector<std::string>{"StartMinuteTimer", "HideWindow"}));
    EXPECT_EQ(tray.calls, (std::vector<std::string>{"SendToTray", "SetMenuEnabled"}));
    EXPECT_EQ(form.engine.ProcNum, 42);
    EXPECT_EQ(order, (std::vector<std::string>{"start empty.exe kelvo.exe"}));
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launcher.starts[0].program, empty);
    EXPECT_EQ(launcher.starts[0].show, ShowWindow::Hidden);
    EXPECT_TRUE(form.HotkeyModule().Installed());
    EXPECT_EQ(form.engine.RuleProcChanges, 2);
}

TEST_F(StartUp, SendsItselfToTheTrayOnlyForExactlyMinusSendme) {
    for (const char* arguments : {"-SENDME", "-sendme x", "", " -sendme"}) {
        FakeTray otherTray;
        FakeHost otherHost;
        kelvo::Form1 other({files, codec, launcher, memory, processes, clipboard, beeper, messages, shell, otherTray,
                            gauge, hotkeys},
                           otherHost, kDir);
        other.Form_Load(arguments);
        EXPECT_EQ(std::count(otherHost.calls.begin(), otherHost.calls.end(), "HideWindow"), 0) << arguments;
        other.HotkeyModule().RemoveHotkey();
    }
    Load("-sendme");
    EXPECT_EQ(std::count(host.calls.begin(), host.calls.end(), "HideWindow"), 1);
}

TEST_F(StartUp, LoadsTheBackgroundPicturesGifFirstSoTheJpegWins) {
    files.files[At("\\back.gif")] = "GIF89a";
    files.files[At("\\back.jpg")] = "\xFF\xD8";
    Load();
    EXPECT_EQ(host.calls[0], "LoadBackground C:\\Varnic/back.gif");
    EXPECT_EQ(host.calls[1], "LoadBackground C:\\Varnic/back.jpg");
}

TEST_F(StartUp, APictureThatCannotBeLoadedIsSkippedSilently) {
    files.files[At("\\back.jpg")] = "not a picture";
    host.unloadablePictures.insert("C:\\Varnic/back.jpg");
    Load();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(form.HideOnClose, 1);
}

TEST_F(StartUp, RemovesTheUpdatersLeftoverVersionFile) {
    files.files[At("\\temp\\vr.ini")] = "[Ver]\r\nVer=2.0\r\n";
    Load();
    EXPECT_FALSE(files.Exists(At("\\temp\\vr.ini")));
}

TEST_F(StartUp, FinishesAPendingReplacementOfTheProgram) {
    files.files[At("\\1.txt")] = "";
    files.files[At("\\tmp.exe")] = "new program";
    files.files[At("\\kelvo.exe")] = "old program";
    Load();
    EXPECT_EQ(files.files[At("\\kelvo.exe")], "new program");
    EXPECT_FALSE(files.Exists(At("\\1.txt")));
}

TEST_F(StartUp, RemovesThePendingMarkEvenWhenTheCopyFails) {
    files.files[At("\\1.txt")] = "";
    files.files[At("\\kelvo.exe")] = "old program";  // no tmp.exe to copy
    Load();
    EXPECT_EQ(files.files[At("\\kelvo.exe")], "old program");
    EXPECT_FALSE(files.Exists(At("\\1.txt")));
}

TEST_F(StartUp, ShowsTheOneShotMessageOnceAndRemovesIt) {
    files.files[At("\\2.txt")] = "欢迎使用新版本！";
    Load();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "欢迎使用新版本！");
    EXPECT_EQ(messages.shown[0].caption, "Varnic");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);
    EXPECT_FALSE(files.Exists(At("\\2.txt")));
}

TEST_F(StartUp, TheOneShotMessageHoldsAtMost65400Bytes) {
    files.files[At("\\2.txt")] = std::string(70000, 'x');
    Load();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.size(), 65400u);
}

TEST_F(StartUp, AnUnreadableOneShotMessageStillShowsAnEmptyBoxAndIsRemoved) {
    files.files[At("\\2.txt")] = "secret";
    files.unreadable.insert(At("\\2.txt"));
    Load();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "");
    EXPECT_FALSE(files.Exists(At("\\2.txt")));
}

TEST_F(StartUp, AMissingCleaningToolIsIgnored) {
    launcher.missing.insert(empty);
    Load();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(form.HideOnClose, 1);
}

TEST_F(StartUp, RegistersTheHotkeyOnlyWhenItWasStoredAsOn) {
    files.files[At("\\Setting.ini")] = "Q\r\n0\r\n1\r\n0\r\n0\r\n";
    Load();
    EXPECT_FALSE(form.HotkeyModule().Installed());
    EXPECT_TRUE(hotkeys.registered.empty());
}

TEST_F(StartUp, WithTheGearIconChosenTheTrayShowsTheProgramIcon) {
    files.files[At("\\Setting.ini")] = "E\r\n0\r\n0\r\n1\r\n0\r\n";
    Load();
    EXPECT_TRUE(form.op1.value);
    // once when the setting selects op1, once at the end of start-up
    EXPECT_EQ(std::count(tray.calls.begin(), tray.calls.end(), "ShowProgramIcon"), 2);
}

using CloseRequest = KelvoTest;

TEST_F(CloseRequest, WhileRunningHidesToTheTrayAndKeepsTheHotkey) {
    Load();
    files.writes.clear();
    EXPECT_TRUE(form.Form_Unload());
    EXPECT_EQ(tray.calls.back(), "SendToTray");
    EXPECT_EQ(files.WritesOf(At("\\Setting.ini")), 1);
    EXPECT_TRUE(form.HotkeyModule().Installed());
}

TEST_F(CloseRequest, BeforeStartUpHasFinishedLetsTheWindowGo) {
    EXPECT_FALSE(form.Form_Unload());  // HideOnClose is still 0
    EXPECT_EQ(Settings(), "E\r\n1\r\n1\r\n0\r\n\r\n");
}

TEST_F(CloseRequest, TheExitEntryEndsTheProgramRemovingTheHotkeyAndWritingOnce) {
    Load();
    files.writes.clear();
    bool cancelled = true;
    host.onEndProgram = [&] { cancelled = form.Form_Unload(); };
    form.MenuClicked("exitt");
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(form.HideOnClose, 0);
    EXPECT_FALSE(form.HotkeyModule().Installed());
    EXPECT_TRUE(hotkeys.registered.empty());
    EXPECT_EQ(hotkeys.atomReferences, 0);
    EXPECT_EQ(hotkeys.windowProcedure, FakeHotkeySystem::kOwnProcedure);
    EXPECT_EQ(files.WritesOf(At("\\Setting.ini")), 1);
    EXPECT_EQ(std::count(tray.calls.begin(), tray.calls.end(), "SendToTray"), 0);
}

}  // namespace
}  // namespace varnic::fakes
