// The rule editor driven as a user would: opening, choosing rules, clicking, typing, saving,
// restoring and closing, against an in-memory installation folder.
#include "rules/rule_editor_form.h"

#include "fakes.h"

namespace varnic::fakes {
namespace {

const std::string kFolder = "E:\\Varnic";
const std::string kAll = kFolder + "\\AllRule.ini";
const std::string kSmall = kFolder + "\\SmallGameRule.ini";
const std::string kLarge = kFolder + "\\LargeGameRule.ini";
const std::string kBt = kFolder + "\\BTRule.ini";
const char* const kNotPositive = "请输入大于0的整数！";

class RuleEditorTest : public ::testing::Test {
protected:
    FakeFileSystem files;
    IdentityCodec codec;
    FakeMessages messages;
    int checkStates = 0;
    int unloads = 0;
    kelvo::Form2 form{{files, codec, messages}, kFolder, {[this] { ++checkStates; }, [this] {
                                                             // The view destroys the window, which unloads it.
                                                             ++unloads;
                                                             form.Form_Unload();
                                                         }}};

    void Shows(int check1, int check2, const std::string& text1, const std::string& text2, bool enabled1,
               bool enabled2) {
        EXPECT_EQ(form.Check1.value, check1);
        EXPECT_EQ(form.Check2.value, check2);
        EXPECT_EQ(form.Text1.text, text1);
        EXPECT_EQ(form.Text2.text, text2);
        EXPECT_EQ(form.Text1.enabled, enabled1);
        EXPECT_EQ(form.Text2.enabled, enabled2);
    }
};

TEST_F(RuleEditorTest, TheFirstOpeningCreatesAllFourFilesAndShowsRuleZero) {
    form.Form_Load();
    EXPECT_EQ(files.files[kAll], "1\r\n1\r\n1\r\n2\r\n");
    EXPECT_EQ(files.files[kSmall], "1\r\n1\r\n5\r\n5\r\n");
    EXPECT_EQ(files.files[kLarge], "1\r\n0\r\n9\r\n5\r\n");
    EXPECT_EQ(files.files[kBt], "0\r\n0\r\n9\r\n9\r\n");
    EXPECT_EQ(form.cb1.items,
              (std::vector<std::string>{"全部清理规则", "小型游戏清理规则", "大型游戏清理规则", "BT下载清理规则"}));
    EXPECT_EQ(form.cb1.listIndex, 0);
    Shows(1, 1, "2", "1", true, true);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(checkStates, 0);
}

TEST_F(RuleEditorTest, OpeningReadsTheFilesWithoutRewritingThem) {
    files.files[kAll] = "1\r\n1\r\n3\r\n4\r\n";
    files.files[kSmall] = "0\r\n1\r\n6\r\n7\r\n";
    files.files[kLarge] = "1\r\n0\r\n9\r\n5\r\n";
    files.files[kBt] = "0\r\n0\r\n9\r\n9\r\n";
    form.Form_Load();
    EXPECT_TRUE(files.writes.empty());
    Shows(1, 1, "4", "3", true, true);
    EXPECT_EQ(form.RuleRecords[1], (RuleRecord{"0", "1", "6", "7"}));
}

struct ShownRule {
    int index;
    int check1, check2;
    const char *text1, *text2;
    bool enabled1, enabled2;
};

TEST_F(RuleEditorTest, ChoosingARuleShowsItsDefaults) {
    form.Form_Load();
    const ShownRule cases[] = {
        {2, 1, 0, "5", "9", true, false}, {3, 0, 0, "9", "9", false, false}, {1, 1, 1, "5", "5", true, true},
        {3, 0, 0, "9", "9", false, false}, {0, 1, 1, "2", "1", true, true},  {2, 1, 0, "5", "9", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        form.UserSelectedCb1(c.index);
        Shows(c.check1, c.check2, c.text1, c.text2, c.enabled1, c.enabled2);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RuleEditorTest, StoredNumbersShowAsTheirLeadingNumber) {
    files.files[kAll] = "1\r\n1\r\n2.50\r\n05\r\n";
    files.files[kSmall] = "7\r\n-1\r\n 4 \r\n3abc\r\n";
    form.Form_Load();
    Shows(1, 1, "5", "2.5", true, true);
    form.UserSelectedCb1(1);  // any non-zero flag is on
    Shows(1, 1, "3", "4", true, true);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RuleEditorTest, UncheckingATriggerPutsNineIntoItsBoxAndSaveWritesItOff) {
    form.Form_Load();
    form.UserClickedCheck2();
    Shows(1, 0, "2", "9", true, false);
    form.xpButton1_Click();
    EXPECT_EQ(files.files[kAll], "1\r\n0\r\n9\r\n2\r\n");
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"保存清理规则“全部清理规则”成功！"});
    EXPECT_EQ(messages.shown[0].caption, "Varnic");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::None);

    form.UserClickedCheck1();
    Shows(0, 0, "9", "9", false, false);
    form.UserClickedCheck1();  // checking again enables the box and keeps the 9
    Shows(1, 0, "9", "9", true, false);
}

TEST_F(RuleEditorTest, ANumberThatIsNotGreaterThanZeroIsRejectedAtOnce) {
    form.Form_Load();
    for (const char* typed : {"0", "-", "abc", "-3", "0.0", " 0", "+"}) {
        SCOPED_TRACE(typed);
        messages.shown.clear();
        form.UserEditedText1(typed);
        EXPECT_EQ(form.Text1.text, "1");
        form.UserEditedText2(typed);
        EXPECT_EQ(form.Text2.text, "1");
        EXPECT_EQ(messages.Texts(), (std::vector<std::string>{kNotPositive, kNotPositive}));
        EXPECT_EQ(messages.shown[0].caption, "Varnic");
    }
}

TEST_F(RuleEditorTest, PositiveNumbersAreKeptAsTyped) {
    form.Form_Load();
    for (const char* typed : {"1.5", "05", "3abc", " 7", "12"}) {
        form.UserEditedText1(typed);
        EXPECT_EQ(form.Text1.text, typed);
        form.UserEditedText2(typed);
        EXPECT_EQ(form.Text2.text, typed);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RuleEditorTest, AnEmptyBoxIsAcceptedWhileTypingButNotBySave) {
    form.Form_Load();
    const std::string before = files.files[kAll];
    const std::size_t writes = files.writes.size();
    form.UserEditedText2("");
    EXPECT_TRUE(messages.shown.empty());
    form.UserEditedText1("4");
    form.xpButton1_Click();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{kNotPositive});
    EXPECT_EQ(form.Text1.text, "1");
    EXPECT_EQ(form.Text2.text, "1");
    EXPECT_EQ(files.writes.size(), writes);
    EXPECT_EQ(files.files[kAll], before);
}

TEST_F(RuleEditorTest, AFractionIsSavedAsTypedAndShownAsItsNumber) {
    form.Form_Load();
    form.UserEditedText1("1.5");
    form.UserEditedText2("2.50");
    form.xpButton1_Click();
    EXPECT_EQ(files.files[kAll], "1\r\n1\r\n2.50\r\n1.5\r\n");
    Shows(1, 1, "1.5", "2.5", true, true);  // reloaded after the save
}

TEST_F(RuleEditorTest, SaveRewritesEveryFileFromTheCopyReadAtLoad) {
    files.files[kSmall] = "1\r\n1\r\n5\r\n3abc\r\n";
    form.Form_Load();
    files.files[kLarge] = "0\r\n0\r\n1\r\n1\r\n";  // another program changes a file meanwhile
    form.UserSelectedCb1(3);
    form.UserClickedCheck1();
    form.UserEditedText1("6");
    form.xpButton1_Click();
    EXPECT_EQ(files.files[kBt], "1\r\n0\r\n9\r\n6\r\n");
    EXPECT_EQ(files.files[kLarge], "1\r\n0\r\n9\r\n5\r\n");
    EXPECT_EQ(files.files[kSmall], "1\r\n1\r\n5\r\n3abc\r\n");  // written back unchanged
    EXPECT_EQ(files.files[kAll], "1\r\n1\r\n1\r\n2\r\n");
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"保存清理规则“BT下载清理规则”成功！"});
    Shows(1, 0, "6", "9", true, false);
}

TEST_F(RuleEditorTest, SwitchingRulesWithoutSavingDropsTheEdits) {
    form.Form_Load();
    form.UserEditedText1("7");
    form.UserClickedCheck2();
    form.UserSelectedCb1(1);
    form.UserSelectedCb1(0);
    Shows(1, 1, "2", "1", true, true);
    EXPECT_EQ(form.RuleRecords[0], (RuleRecord{"1", "1", "1", "2"}));
}

TEST_F(RuleEditorTest, ChoosingTheSameRuleAgainKeepsTheEdits) {
    form.Form_Load();
    form.UserEditedText1("7");
    form.UserSelectedCb1(0);
    EXPECT_EQ(form.Text1.text, "7");
}

TEST_F(RuleEditorTest, RestoreWritesEveryDefaultAndShowsTheSelectedRule) {
    files.files[kAll] = "0\r\n0\r\n3\r\n3\r\n";
    files.files[kSmall] = "0\r\n0\r\n3\r\n3\r\n";
    files.files[kLarge] = "0\r\n1\r\n3\r\n3\r\n";
    files.files[kBt] = "1\r\n1\r\n3\r\n3\r\n";
    form.Form_Load();
    form.UserSelectedCb1(2);
    Shows(0, 1, "9", "3", false, true);
    files.writes.clear();
    form.xpButton3_Click();
    EXPECT_EQ(files.writes, (std::vector<std::string>{kAll, kBt, kSmall, kLarge}));
    EXPECT_EQ(files.files[kAll], "1\r\n1\r\n1\r\n2\r\n");
    EXPECT_EQ(files.files[kBt], "0\r\n0\r\n9\r\n9\r\n");
    Shows(1, 0, "5", "9", true, false);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"恢复默认设置成功！"});
    EXPECT_EQ(checkStates, 0);  // the engine hears of it when the editor closes
}

TEST_F(RuleEditorTest, ClosingEitherWayHasTheMainWindowReloadItsRuleOnce) {
    form.Form_Load();
    form.xpButton2_Click();
    EXPECT_EQ(unloads, 1);
    EXPECT_EQ(checkStates, 1);

    kelvo::Form2 other{{files, codec, messages}, kFolder, {[this] { ++checkStates; }, {}}};
    other.Form_Load();
    other.Form_Unload();  // the title bar's close box
    EXPECT_EQ(checkStates, 2);
}

TEST_F(RuleEditorTest, AReadOnlyRuleFileIsNamedAndTheOthersAreStillWritten) {
    form.Form_Load();
    files.readOnly.insert(kSmall);
    files.writes.clear();
    form.UserEditedText1("3");
    form.xpButton1_Click();
    EXPECT_EQ(files.writes, (std::vector<std::string>{kAll, kLarge, kBt}));
    EXPECT_EQ(files.files[kAll], "1\r\n1\r\n1\r\n3\r\n");
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"无法保存清理规则文件：" + kSmall});

    // When the selected rule's own file cannot be written, the window shows what the file holds.
    messages.shown.clear();
    form.UserSelectedCb1(1);
    form.UserEditedText1("8");
    form.xpButton1_Click();
    EXPECT_EQ(files.files[kSmall], "1\r\n1\r\n5\r\n5\r\n");
    EXPECT_EQ(form.Text1.text, "5");
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"无法保存清理规则文件：" + kSmall});
}

TEST_F(RuleEditorTest, ARestoreIntoAReadOnlyFolderNamesEveryFileAndClaimsNoSuccess) {
    form.Form_Load();
    files.folderReadOnly = true;
    form.xpButton3_Click();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"无法保存清理规则文件：" + kAll + "\r\n" + kBt + "\r\n" +
                                                         kSmall + "\r\n" + kLarge});
    Shows(1, 1, "2", "1", true, true);  // the files still hold the defaults read at load
}

TEST_F(RuleEditorTest, RulesThatCannotBeReadShowAsEmptyFiles) {
    files.folderReadOnly = true;  // no default file can be created
    form.Form_Load();
    EXPECT_EQ(form.RuleRecords[0], RuleRecord{});
    // Text1 gets "0" from the empty slot and is rejected, then the unchecked box puts 9 into it;
    // Text2 gets "0" and is rejected. Loading shows the rule twice, so that happens twice.
    Shows(0, 0, "9", "1", false, true);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>(4, kNotPositive)));
}

TEST_F(RuleEditorTest, AnEmptyNumberSlotIsRejectedOnEachOfTheTwoShowsOfTheFirstOpening) {
    files.files[kAll] = "1\r\n1\r\n1\r\n\r\n";
    form.Form_Load();
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>(2, kNotPositive)));
    Shows(1, 1, "1", "1", true, true);
}

TEST_F(RuleEditorTest, ATimedTriggerStoredOffAtFirstOpeningLeavesTheMinutesBoxAsStored) {
    // The box was unchecked already, so its click does not run and the lower box keeps the
    // stored minutes, enabled.
    files.files[kAll] = "1\r\n0\r\n7\r\n2\r\n";
    form.Form_Load();
    Shows(1, 0, "2", "7", true, true);
}

TEST_F(RuleEditorTest, TheHelpNoteReadsAsElevenLinesEndedByCrLf) {
    const std::string note = kelvo::RuleEditorHelpNote();
    std::size_t lineEnds = 0;
    for (std::size_t at = note.find("\r\n"); at != std::string::npos; at = note.find("\r\n", at + 2)) ++lineEnds;
    EXPECT_EQ(lineEnds, 11u);
    EXPECT_EQ(note.find('\n'), note.find("\r\n") + 1);
    EXPECT_EQ(note.substr(0, 16), "小提示：\r\n\r\n");
    EXPECT_NE(note.find("则后都要点一下“保\r\n存配置”，这样才能\r\n修改成功。\r\n"), std::string::npos);
    EXPECT_EQ(note.size() - note.rfind("修改成功。\r\n"), std::string("修改成功。\r\n").size());
    EXPECT_EQ(form.Text3.text, note);
}

TEST(RuleEditorNumberText, WritesNumbersTheWayTheBoxesShowThem) {
    const std::pair<double, const char*> cases[] = {
        {5, "5"}, {0, "0"}, {-3, "-3"}, {2.5, "2.5"}, {0.1, "0.1"}, {1e20, "1E+20"}, {123456789, "123456789"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(kelvo::NumberText(value), text) << value;
}

}  // namespace
}  // namespace varnic::fakes
