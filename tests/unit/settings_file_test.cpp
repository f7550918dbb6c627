#include "kelvo_fixture.h"

namespace varnic::fakes {
namespace {

using SettingsFile = KelvoTest;

struct ReadCase {
    const char* name;
    std::string file;
    std::string text1;
    int check1, check2;
    bool op2;
    int rule;
};

TEST_F(SettingsFile, ReadsOddFilesAsTheProgramAlwaysHas) {
    const ReadCase cases[] = {
        {"defaults", "E\r\n0\r\n0\r\n0\r\n0\r\n", "E", 1, 1, true, 0},
        {"all off", "K\r\n1\r\n1\r\n1\r\n3\r\n", "K", 0, 0, false, 3},
        {"one line", "Z\r\n", "Z", 1, 1, true, 0},
        {"empty file", "", "", 1, 1, true, 0},
        {"LF only is one line", "A\n1\n1\n1\n2\n", "A\n1\n1\n1\n2\n", 1, 1, true, 0},
        {"blanks before numbers", "E\r\n   0\r\n  1\r\n 1\r\n 2\r\n", "E", 1, 0, false, 2},
        {"leading zero", "E\r\n05\r\n00\r\n0\r\n01\r\n", "E", 0, 1, true, 1},
        {"fraction selects nothing", "E\r\n0\r\n0\r\n0\r\n2.5\r\n", "E", 1, 1, true, -1},
        {"1.0 selects entry 1", "E\r\n0\r\n0\r\n0\r\n1.0\r\n", "E", 1, 1, true, 1},
        {"letters count as 0", "E\r\nabc\r\n3abc\r\nxyz\r\n\r\n", "E", 1, 0, true, 0},
        {"line 5 of 7", "E\r\n0\r\n0\r\n0\r\n7\r\n", "E", 1, 1, true, -1},
        {"binary junk", std::string("\x01\xff\x00\r\x80\r\n\x7f", 9), std::string("\x01\xff\x00", 3), 1, 1, true, 0},
        {"more than five lines", "B\r\n1\r\n1\r\n1\r\n2\r\n0\r\n0\r\n", "B", 0, 0, false, 2},
    };
    for (const auto& c : cases) {
        FakeFileSystem fs;
        FakeHotkeySystem hk;
        fs.files[At("\\Setting.ini")] = c.file;
        kelvo::Form1 f({fs, codec, launcher, memory, processes, clipboard, beeper, messages, shell, tray, gauge, hk},
                       host, kDir);
        f.cb1.items = {"a", "b", "c", "d"};
        f.ReadSettings();
        EXPECT_EQ(f.Text1.text, c.text1) << c.name;
        EXPECT_EQ(f.Check1.value, c.check1) << c.name;
        EXPECT_EQ(f.Check2.value, c.check2) << c.name;
        EXPECT_EQ(f.op2.value, c.op2) << c.name;
        EXPECT_EQ(f.op1.value, !c.op2) << c.name;
        EXPECT_EQ(f.cb1.listIndex, c.rule) << c.name;
        f.HotkeyModule().RemoveHotkey();
    }
}

TEST_F(SettingsFile, ALowerCaseLetterEndsUpperCaseInTheFileThroughTheCascade) {
    files.files[At("\\Setting.ini")] = "q\r\n0\r\n0\r\n0\r\n0\r\n";
    Load();
    EXPECT_EQ(form.Text1.text, "Q");
    EXPECT_EQ(Settings(), "Q\r\n0\r\n0\r\n0\r\n0\r\n");
    ASSERT_EQ(hotkeys.registered.size(), 1u);
    EXPECT_EQ(hotkeys.registered.begin()->second.second, 'Q');
}

TEST_F(SettingsFile, WritesTheInvertedSenseAndFWhenTheLetterIsEmpty) {
    Load();
    form.UserEditedText1("");
    EXPECT_EQ(form.Text1.text, "");
    EXPECT_EQ(Settings(), "F\r\n0\r\n0\r\n0\r\n0\r\n");
    form.UserClickedCheck1();  // no handler: reaches the file with the next write
    EXPECT_EQ(Settings(), "F\r\n0\r\n0\r\n0\r\n0\r\n");
    form.UserClickedOp1();
    EXPECT_EQ(Settings(), "F\r\n1\r\n0\r\n1\r\n0\r\n");
    form.UserClickedCheck2();
    EXPECT_EQ(Settings(), "F\r\n1\r\n1\r\n1\r\n0\r\n");
    form.UserSelectedCb1(3);
    EXPECT_EQ(Settings(), "F\r\n1\r\n1\r\n1\r\n3\r\n");
    form.cb1.listIndex = -1;
    form.WriteSettings();
    EXPECT_EQ(Settings(), "F\r\n1\r\n1\r\n1\r\n\r\n");
}

TEST_F(SettingsFile, TheWholeLetterTextIsWrittenUncut) {
    Load();
    form.UserEditedText1("ab");
    EXPECT_EQ(Settings(), "AB\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST_F(SettingsFile, AnEmptyLineFiveReadsBackAsTheFirstRule) {
    files.files[At("\\Setting.ini")] = "E\r\n0\r\n0\r\n0\r\n\r\n";
    Load();
    EXPECT_EQ(form.cb1.listIndex, 0);
}

TEST_F(SettingsFile, ARuleNumberOutsideTheListKeepsTheSelectionItHad) {
    files.files[At("\\Setting.ini")] = "E\r\n0\r\n0\r\n0\r\n7\r\n";
    form.cb1.items = {"a", "b", "c", "d"};
    form.cb1.listIndex = 2;
    form.ReadSettings();
    EXPECT_EQ(form.cb1.listIndex, 2);
}

TEST_F(SettingsFile, AReadOnlyFileKeepsItsBytesAndTheProgramGoesOn) {
    files.files[At("\\Setting.ini")] = "K\r\n1\r\n1\r\n1\r\n3\r\n";
    files.readOnly.insert(At("\\Setting.ini"));
    Load();
    form.UserClickedCheck1();
    form.Form_Unload();
    EXPECT_EQ(Settings(), "K\r\n1\r\n1\r\n1\r\n3\r\n");
    EXPECT_EQ(form.Text1.text, "K");
    EXPECT_EQ(form.cb1.listIndex, 3);
}

TEST_F(SettingsFile, AHiddenOrSystemFileIsReadAsItStandsAndNeverReplacedByDefaults) {
    files.files[At("\\Setting.ini")] = "K\r\n1\r\n1\r\n1\r\n3\r\n";
    files.hidden.insert(At("\\Setting.ini"));
    files.files[At("\\BTRule.ini")] = "0\r\n1\r\n7\r\n9\r\n";
    files.hidden.insert(At("\\BTRule.ini"));
    Load();
    EXPECT_EQ(Settings(), "K\r\n1\r\n1\r\n1\r\n3\r\n");
    EXPECT_EQ(form.Text1.text, "K");
    EXPECT_EQ(form.cb1.listIndex, 3);
    EXPECT_EQ(files.files[At("\\BTRule.ini")], "0\r\n1\r\n7\r\n9\r\n");
    EXPECT_EQ(form.engine.RuleMinutes, 7);
}

TEST_F(SettingsFile, AFolderInItsPlaceOrAReadOnlyFolderLeavesTheControlsAsDesigned) {
    files.folders.insert(At("\\Setting.ini"));
    files.folderReadOnly = true;
    Load();
    EXPECT_EQ(form.Text1.text, "E");
    EXPECT_EQ(form.Check1.value, 0);
    EXPECT_EQ(form.Check2.value, 0);
    EXPECT_TRUE(form.op2.value);
    EXPECT_EQ(form.cb1.listIndex, -1);
    EXPECT_EQ(form.HideOnClose, 1);  // start-up went on
}

TEST_F(SettingsFile, AnUnreadableFileLeavesTheControlsAsDesigned) {
    files.files[At("\\Setting.ini")] = "K\r\n1\r\n1\r\n1\r\n3\r\n";
    files.unreadable.insert(At("\\Setting.ini"));
    Load();
    EXPECT_EQ(form.Text1.text, "E");
    EXPECT_EQ(form.cb1.listIndex, -1);
}

TEST_F(SettingsFile, ATenMegabyteFileIsReadForItsFirstLinesOnly) {
    files.files[At("\\Setting.ini")] = "R\r\n1\r\n0\r\n1\r\n1\r\n" + std::string(10 << 20, 'x');
    Load();
    EXPECT_EQ(form.Text1.text, "R");
    EXPECT_EQ(form.Check1.value, 0);
    EXPECT_EQ(form.Check2.value, 1);
    EXPECT_EQ(form.cb1.listIndex, 1);
}

TEST_F(SettingsFile, UserChoicesSurviveARestart) {
    Load();
    form.UserEditedText1("w");
    form.UserClickedCheck1();
    form.UserClickedOp1();
    form.UserSelectedCb1(2);
    form.Form_Unload();
    form.HotkeyModule().RemoveHotkey();

    FakeHotkeySystem hk;
    FakeTray otherTray;
    kelvo::Form1 again({files, codec, launcher, memory, processes, clipboard, beeper, messages, shell, otherTray,
                        gauge, hk},
                       host, kDir);
    again.Form_Load("");
    EXPECT_EQ(again.Text1.text, "W");
    EXPECT_EQ(again.Check1.value, 0);
    EXPECT_EQ(again.Check2.value, 1);
    EXPECT_TRUE(again.op1.value);
    EXPECT_EQ(again.cb1.listIndex, 2);
    EXPECT_EQ(again.Label15.caption, "当前清理规则：大型游戏清理规则");
    again.HotkeyModule().RemoveHotkey();
}

}  // namespace
}  // namespace varnic::fakes
