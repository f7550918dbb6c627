// kelvo's two dialogs: the rule editor driven as a user would, against an in-memory installation
// folder; the about window's links, "关闭" and notes (the release notes, tips and change log).
#include <gtest/gtest.h>

#include <regex>

#include "about/about_form.h"
#include "about/release_notes.h"
#include "fakes.h"
#include "rules/rule_editor_form.h"

namespace varnic::fakes {
namespace {
// clang-format off

const char* const kNotPositive = "box Varnic: 请输入大于0的整数！";
const char* const kSaved = "box Varnic: 保存清理规则“全部清理规则”成功！";

struct Editor {
    CallLog log;
    FakeFileSystem files;
    IdentityCodec codec;
    FakeSystem messages{log};
    kelvo::Form2 form{{files, codec, messages}, "E:", {[this] { log.Add("check state"); }, [this] {
                          log.Add("unload");  // the view destroys the window
                          form.Form_Unload();
                      }}};
    Editor() { files.log = &log; }

    // Steps: "All=1|1|5|2" (a rule file's lines, "_" for a blank; also Small, Large, BT),
    // "readonly=Small", "hidden=Small", "lockedfolder", "cb1=2", "Text1=7", "Text2=" and the actions below.
    void Do(const std::string& steps) {
        using F = kelvo::Form2;
        static const std::map<std::string, void (F::*)()> actions = {
            {"load", &F::Form_Load},       {"Check1", &F::UserClickedCheck1}, {"Check2", &F::UserClickedCheck2},
            {"save", &F::xpButton1_Click}, {"close", &F::xpButton2_Click},    {"restore", &F::xpButton3_Click},
            {"unload", &F::Form_Unload}};  // the title bar's close box
        static const std::map<std::string, std::string> rules = {
            {"All", "\\AllRule.ini"}, {"Small", "\\SmallGameRule.ini"}, {"Large", "\\LargeGameRule.ini"}, {"BT", "\\BTRule.ini"}};
        std::istringstream in(steps);
        for (std::string step, key, value; in >> step;) {
            key = step.substr(0, step.find('='));
            value = step.substr(std::min(step.find('='), step.size() - 1) + 1);
            if (actions.count(key)) (form.*actions.at(key))();
            else if (key == "cb1") form.UserSelectedCb1(std::stoi(value));
            else if (key == "Text1") form.UserEditedText1(value);
            else if (key == "Text2") form.UserEditedText2(value);
            else if (key == "readonly") files.readOnly.insert("E:" + rules.at(value));
            else if (key == "hidden") files.hidden.insert("E:" + rules.at(value));
            else if (key == "lockedfolder") files.folderReadOnly = true;
            else if (rules.count(key)) {
                std::string& file = files.files["E:" + rules.at(key)] = value + "|";
                for (auto at = file.find('|'); at != std::string::npos; at = file.find('|')) file.replace(at, 1, "\r\n");
                std::replace(file.begin(), file.end(), '_', ' ');
            } else throw std::invalid_argument(step);
        }
    }
    // "Check1 Check2 Text1 Text2", a disabled box in brackets: "1 0 5 [9]".
    std::string Shown() const {
        auto box = [](const TextBoxModel& t) { return t.enabled ? t.text : "[" + t.text + "]"; };
        return std::to_string(form.Check1.value) + " " + std::to_string(form.Check2.value) + " " + box(form.Text1) +
               " " + box(form.Text2);
    }
};

TEST(RuleEditor, ShowsSavesAndRestoresTheRulesAsTheUserAsks) {
    using Calls = std::vector<std::string>;
    const std::string all = "All=1|1|1|2 Small=1|1|5|5 Large=1|0|9|5 BT=0|0|9|9 ";
    const Calls writes = {"write E:\\AllRule.ini", "write E:\\SmallGameRule.ini", "write E:\\LargeGameRule.ini",
                          "write E:\\BTRule.ini"};
    const Calls saved = {writes[0], writes[1], writes[2], writes[3], kSaved};
    const std::string cannot = "box Varnic: 无法保存清理规则文件：E:\\";
    const Calls smallRefused = {writes[0], writes[2], writes[3], cannot + "SmallGameRule.ini"};
    // the steps, then what the window shows and the files written, boxes shown and calls out
    const std::tuple<std::string, const char*, Calls> sessions[] = {
        {"load", "1 1 2 1", writes},  // the first opening creates all four files, in rule order
        {"All=1|1|3|4 Small=0|1|6|7 Large=1|0|9|5 BT=0|0|9|9 load", "1 1 4 3", {}},
        {all + "load cb1=2", "1 0 5 [9]", {}},
        {all + "load cb1=3", "0 0 [9] [9]", {}},
        {all + "load cb1=3 cb1=1", "1 1 5 5", {}},
        {"All=1|1|2.50|05 Small=7|-1|_4_|3abc Large=1|0|9|5 BT=0|0|9|9 load", "1 1 5 2.5", {}},
        {all + "Small=7|-1|_4_|3abc|5 hidden=Small load cb1=1", "1 1 3 4", {}},  // read as it stands, not rewritten
        {all + "All=1|1|0.1|1e20 load", "1 1 1E+20 0.1", {}},
        {"All=1|0|7|2 Small=1|1|5|5 Large=1|0|9|5 BT=0|0|9|9 load", "1 0 2 7", {}},  // Check2 was never clicked
        {"All=1|1|1| Small=1|1|5|5 Large=1|0|9|5 BT=0|0|9|9 load", "1 1 1 1", {kNotPositive, kNotPositive}},
        {"lockedfolder load", "0 0 [9] 1", Calls(4, kNotPositive)},  // no file: all empty, shown twice
        {all + "load Check2 save", "1 0 2 [9]", saved},
        {all + "load Check2 Check1", "0 0 [9] [9]", {}},
        {all + "load Check2 Check1 Check1", "1 0 9 [9]", {}},
        {all + "load Text1=7 Check2 cb1=1 cb1=0", "1 1 2 1", {}},  // unsaved edits are dropped
        {all + "load Text1=7 cb1=0", "1 1 7 1", {}},                // the same rule again keeps them
        {all + "load Text2= Text1=4 save", "1 1 1 1", {kNotPositive}},
        {all + "load Text1=1.5 Text2=2.50 save", "1 1 1.5 2.5", saved},
        {all + "load readonly=Small Text1=3 save", "1 1 3 1", smallRefused},
        {all + "load readonly=Small cb1=1 Text1=8 save", "1 1 5 5", smallRefused},  // what the file still holds
        {"All=0|0|3|3 Small=0|0|3|3 Large=0|1|3|3 BT=1|1|3|3 load cb1=2 restore", "1 0 5 [9]",
         {writes[0], writes[3], writes[1], writes[2], "box Varnic: 恢复默认设置成功！"}},
        {all + "load lockedfolder restore", "1 1 2 1",
         {cannot + "AllRule.ini\r\nE:\\BTRule.ini\r\nE:\\SmallGameRule.ini\r\nE:\\LargeGameRule.ini"}},
        {all + "load close", "1 1 2 1", {"unload", "check state"}},
        {all + "load unload", "1 1 2 1", {"check state"}},
    };
    for (const auto& [steps, shown, calls] : sessions) {
        Editor editor;
        editor.Do(steps);
        EXPECT_EQ(editor.Shown(), shown) << steps;
        EXPECT_EQ(editor.log.calls, calls) << steps;
    }
}

TEST(RuleEditor, WritesEveryFileFromItsOwnCopyAndTheNumbersAsTyped) {
    Editor editor;
    editor.Do("Small=1|1|5|3abc load Large=0|0|1|1 cb1=3 Check1 Text1=6 save");  // Large changed meanwhile
    editor.Do("cb1=0 Check2 save");
    EXPECT_EQ(editor.files.files,
              (std::map<std::string, std::string>{
                  {"E:\\AllRule.ini", "1\r\n0\r\n9\r\n2\r\n"}, {"E:\\BTRule.ini", "1\r\n0\r\n9\r\n6\r\n"},
                  {"E:\\LargeGameRule.ini", "1\r\n0\r\n9\r\n5\r\n"}, {"E:\\SmallGameRule.ini", "1\r\n1\r\n5\r\n3abc\r\n"}}));
    for (const char* typed : {"0", "-", "abc", "-3", "0.0", " 0", "+", "1.5", "05", "3abc", " 7", "12"}) {
        editor.log.calls.clear();
        editor.form.UserEditedText1(typed);
        editor.form.UserEditedText2(typed);
        const bool positive = std::strtod(typed, nullptr) > 0;  // else the box says so and becomes 1
        EXPECT_EQ(editor.form.Text1.text + "|" + editor.form.Text2.text,
                  positive ? typed + ("|" + std::string(typed)) : "1|1");
        EXPECT_EQ(editor.log.calls, std::vector<std::string>(positive ? 0 : 2, kNotPositive)) << typed;
    }
}
// clang-format on

// Where each link leads is the Win32 layer's AboutWindow test; here its look and "关闭".
TEST(About, LinksAreBlueUnderlinedBoldSongtiAndCloseUnloads) {
    CallLog log;
    FakeSystem shell{log};
    kelvo::frmSplash form{shell, "C:\\P", [&] { log.Add("unload"); }};
    for (const auto* label : {&form.Label1, &form.Label2, &form.Label3, &form.Label4, &form.Label5, &form.Label6})
        EXPECT_TRUE(label->link && label->font.face == FontFace::kText && label->font.points == 10.5 &&
                    label->font.bold && label->font.underline && label->colour == (Rgb{0, 0, 255}))
            << label->caption;
    EXPECT_EQ(form.Label3.caption + " " + form.Label4.caption, "软件园下载 下载站下载");
    EXPECT_FALSE(form.lblProductName.link || form.lblProductName.font.underline || form.lblPlatform.font.underline ||
                 form.Label5.inFrame);
    EXPECT_EQ(form.Text1.text, kelvo::ReleaseNotes());
    form.xpButton1_Click();
    EXPECT_EQ(log.calls, std::vector<std::string>{"unload"});
}

TEST(About, TheNotesAreCrLfLinesOfReleasesNewestFirstTipsAndAChangeLogNamingNoRealSite) {
    const std::string notes = kelvo::ReleaseNotes();
    EXPECT_TRUE(notes.ends_with("\r\n") && !std::regex_search(notes, std::regex("\r(?!\n)|(^|[^\r])\n")));
    const auto characters = std::count_if(notes.begin(), notes.end(), [](char c) { return (c & 0xC0) != 0x80; });
    EXPECT_TRUE(characters > 1500 && characters < 1900) << characters;  // "about 1,700 characters"
    std::istringstream lines(notes);
    std::string line;
    for (std::string release : {"1.9(BETA5)", "1.9(BETA4)", "1.9(BETA3)", "1.9(BETA2)", "1.9(BETA1)", "1.8(BETA3)",
                                "1.8(BETA2)", "1.8(BETA1)"})
        EXPECT_TRUE(std::getline(lines, line) && line.starts_with("    " + release)) << release;
    EXPECT_NE(notes.find("-sendme"), std::string::npos);  // the tip that rebuilds a lost shortcut
    EXPECT_NE(notes.find("\r\n\r\n更新日志\r\n1.94\r\n"), std::string::npos);
    for (const char* site : {".com", ".cn", ".net", ".org", "www.", "http", "@"})
        EXPECT_EQ(notes.find(site), std::string::npos) << site;
}

}  // namespace
}  // namespace varnic::fakes
