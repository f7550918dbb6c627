// "\Setting.ini": five lines, "0" meaning on for lines 2 to 4, read at start-up through the
// controls' handlers and written back by them.
#include <gtest/gtest.h>

#include "fakes.h"

namespace varnic::fakes {
namespace {

TEST(SettingsFile, IsReadAsTheProgramHasAlwaysReadItAndNeverReplacedWhileItIsThere) {
    const std::string noRule = "E\r\n0\r\n0\r\n0\r\n\r\n", defaults = "E\r\n0\r\n0\r\n0\r\n0\r\n";
    const struct {
        std::string file, controls;  // the file before start-up ("-": none), then Text1 Check1 Check2 option cb1
        std::string after = "=";     // the file after it; "=": as it was
        std::string state = "";      // of the file: "readonly", "hidden", "unreadable", "folder" in its place
    } cases[] = {
        {"-", "E 1 1 op2 0", defaults},
        {"K\r\n1\r\n1\r\n1\r\n3\r\n", "K 0 0 op1 3"},
        {"Z\r\n", "Z 1 1 op2 0", "Z\r\n0\r\n0\r\n0\r\n0\r\n"},
        {"", " 1 1 op2 0", "F\r\n0\r\n0\r\n0\r\n0\r\n"},  // an empty letter is written as F
        {"A\n1\n1\n1\n2\n", "A\n1\n1\n1\n2\n 1 1 op2 0", "A\n1\n1\n1\n2\n\r\n0\r\n0\r\n0\r\n0\r\n"},  // one line
        {"E\r\n   0\r\n  1\r\n 1\r\n 2\r\n", "E 1 0 op1 2", "E\r\n0\r\n1\r\n1\r\n2\r\n"},
        {"E\r\n05\r\n00\r\n0\r\n01\r\n", "E 0 1 op2 1", "E\r\n1\r\n0\r\n0\r\n1\r\n"},
        {"E\r\n0\r\n0\r\n0\r\n2.5\r\n", "E 1 1 op2 -1", noRule},
        {"E\r\n0\r\n0\r\n0\r\n1.0\r\n", "E 1 1 op2 1", "E\r\n0\r\n0\r\n0\r\n1\r\n"},
        {"E\r\n0\r\n0\r\n0\r\n7\r\n", "E 1 1 op2 -1", noRule},
        {noRule, "E 1 1 op2 0", defaults},
        {"E\r\nabc\r\n3abc\r\nxyz\r\n\r\n", "E 1 0 op2 0", "E\r\n0\r\n1\r\n0\r\n0\r\n"},
        {std::string("\x01\xff\x00\r\x80\r\n\x7f", 9), std::string("\x01ÿ\x00 1 1 op2 0", 14),
         std::string("\x01\xff\x00\r\n0\r\n0\r\n0\r\n0\r\n", 17)},
        {"B\r\n1\r\n1\r\n1\r\n2\r\n0\r\n0\r\n", "B 0 0 op1 2", "B\r\n1\r\n1\r\n1\r\n2\r\n"},
        {"q\r\n0\r\n0\r\n0\r\n0\r\n", "Q 1 1 op2 0", "Q\r\n0\r\n0\r\n0\r\n0\r\n"},
        {"\xE9\r\n", "é 1 1 op2 0", "\xE9\r\n0\r\n0\r\n0\r\n0\r\n"},  // in the ANSI code page
        {"R\r\n1\r\n0\r\n1\r\n1\r\n" + std::string(10 << 20, 'x'), "R 0 1 op1 1", "R\r\n1\r\n0\r\n1\r\n1\r\n"},
        {"K\r\n1\r\n1\r\n1\r\n3\r\n", "K 0 0 op1 3", "=", "readonly"},
        {"K\r\n1\r\n1\r\n1\r\n3\r\n", "K 0 0 op1 3", "=", "hidden"},
        {"K\r\n1\r\n1\r\n1\r\n3\r\n", "E 0 0 op2 -1", "=", "unreadable"},  // the controls as designed
        {"-", "E 0 0 op2 -1", "-", "folder"},
        {"-", "E 0 0 op2 -1", "-", "lockedfolder"},  // nothing can be written
    };
    for (const auto& c : cases) {
        Kelvo k;
        const std::string path = kDir + "\\Setting.ini";
        if (c.file != "-") k.Put("\\Setting.ini", c.file);
        for (auto [state, names] : {std::pair{"readonly", &k.files.readOnly},
                                    {"hidden", &k.files.hidden},
                                    {"unreadable", &k.files.unreadable},
                                    {"folder", &k.files.folders}})
            if (c.state == state) names->insert(path);
        k.files.folderReadOnly = c.state == "lockedfolder";
        k.Do("load");
        EXPECT_EQ(k.Controls(), c.controls) << c.file.substr(0, 30);
        EXPECT_EQ(k.File("\\Setting.ini"), c.after == "=" ? c.file : c.after) << c.file.substr(0, 30);
    }
}

TEST(SettingsFile, KeepsTheUsersChoicesAcrossARestart) {
    Kelvo first, again;
    first.Do("load Text1=w Check1 op1 cb1=2 close");
    again.files.files = first.files.files;
    again.Do("load");
    EXPECT_EQ(again.Controls(), "W 0 1 op1 2");
    EXPECT_EQ(again.form.Label15.caption, "当前清理规则：大型游戏清理规则");
    again.Put("\\Setting.ini", "E\r\n0\r\n0\r\n0\r\n7\r\n");  // a rule outside the list keeps the one chosen
    again.form.ReadSettings();
    EXPECT_EQ(again.form.cb1.listIndex, 2);
}

}  // namespace
}  // namespace varnic::fakes
