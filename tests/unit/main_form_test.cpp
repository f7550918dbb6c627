// The main window read from what it asks of the system: start-up, "\Setting.ini" (five lines, "0"
// meaning on for lines 2 to 4), close request, commands, and its hotkey: Ctrl+letter under the atom
// "NewMacro", a window procedure in front of the window's own.
#include <gtest/gtest.h>

#include "fakes.h"

namespace varnic::fakes {
namespace {

const std::string kOwnWorkingSet = "start C:\\V\\empty.exe [empty.exe kelvo.exe] 0";
using Calls = std::vector<std::string>;

TEST(StartUp, InAnEmptyFolderWritesTheDefaultsAndOnlyTheCurrentRuleInItsOrder) {
    Kelvo k;
    k.Do("load");
    EXPECT_EQ(k.log.calls, (Calls{kSaveSettings, kSaveSettings, kSaveSettings, "write C:\\V\\AllRule.ini",
                                  "minute timer", "count processes", kOwnWorkingSet, "tray menu"}));
    EXPECT_EQ(k.files.files,
              (std::map<std::string, std::string>{{kDir + "\\AllRule.ini", "1\r\n1\r\n1\r\n2\r\n"},
                                                  {kDir + "\\Setting.ini", "E\r\n0\r\n0\r\n0\r\n0\r\n"}}));
    EXPECT_EQ(k.Controls() + " " + k.sys.Hotkeys(), "E 1 1 op2 0 -16383:2+69 atoms=1 hooked");
    EXPECT_EQ(k.form.cb1.items, (Calls{"全部清理规则", "小型游戏清理规则", "大型游戏清理规则", "BT下载清理规则"}));
    EXPECT_EQ(k.form.Label15.caption, "当前清理规则：全部清理规则");
    EXPECT_EQ(k.form.HideOnClose, 1);
}

TEST(StartUp, ConsumesEveryFileLeftForItAndGoesOnPastEveryFailure) {
    Kelvo k;
    for (const char* name : {"\\back.gif", "\\back.jpg", "\\temp\\vr.ini", "\\1.txt", "\\kelvo.exe"})
        k.Put(name, "old");
    k.Put("\\tmp.exe", "new");
    k.Put("\\2.txt", "Bienvenue \xE0 la 1.9");            // in the ANSI code page
    k.Put("\\Setting.ini", "E\r\n0\r\n1\r\n1\r\n2\r\n");  // hotkey off, gear icon, rule 2
    k.sys.brokenPictures.insert("C:\\V/back.jpg");
    k.sys.missing.insert(kDir + "\\empty.exe");
    k.form.Form_Load("-sendme");
    EXPECT_EQ(k.log.calls,
              (Calls{"picture C:\\V/back.gif", "picture C:\\V/back.jpg", "delete C:\\V\\temp\\vr.ini",
                     "copy C:\\V\\tmp.exe C:\\V\\kelvo.exe", "delete C:\\V\\1.txt", "box Varnic: Bienvenue à la 1.9",
                     "delete C:\\V\\2.txt", "tray program icon", kSaveSettings, kSaveSettings,
                     "write C:\\V\\LargeGameRule.ini", "minute timer", "tray SendToTray", "hide window",
                     "count processes", kOwnWorkingSet, "tray menu", "tray program icon"}));
    EXPECT_EQ(k.Controls() + " " + k.sys.Hotkeys() + " " + k.File("\\kelvo.exe"), "E 1 0 op1 2 atoms=0 own new");
    EXPECT_EQ(k.form.MenuEntry("dangqianrule").caption, "当前清理规则：大型游戏清理规则");
    EXPECT_EQ(k.form.HideOnClose, 1);
}

TEST(StartUp, TakesOneShotFilesOnlyWhenTheyAreThereAsOrdinaryFilesAndHidesOnlyForMinusSendme) {
    const std::string big(70000, 'x');
    const struct { const char *name, *state; std::string bytes; Calls calls; } cases[] = {
        {"\\1.txt", "", "", {"delete C:\\V\\1.txt"}},  // no tmp.exe to copy
        {"\\2.txt", "unreadable", "x", {"box Varnic: ", "delete C:\\V\\2.txt"}},
        {"\\2.txt", "", big, {"box Varnic: " + big.substr(0, 65400), "delete C:\\V\\2.txt"}},
        {"\\1.txt", "hidden", "x", {}}, {"\\2.txt", "hidden", "x", {}}, {"\\temp\\vr.ini", "hidden", "x", {}},
        {"\\back.gif", "hidden", "x", {}}};
    for (const auto& c : cases) {
        Kelvo k;
        k.Put(c.name, c.bytes);
        if (c.state == std::string("hidden")) k.files.hidden.insert(kDir + c.name);
        if (c.state == std::string("unreadable")) k.files.unreadable.insert(kDir + c.name);
        k.Do("load");
        EXPECT_EQ(k.log.Of("copy delete box picture"), c.calls) << c.name << " " << c.state;
    }
    for (const char* arguments : {"-sendme", "-SENDME", "-sendme x", "", " -sendme"}) {
        Kelvo k;
        k.form.Form_Load(arguments);
        EXPECT_EQ(k.log.Count("hide window"), std::string(arguments) == "-sendme") << arguments;
    }
}

TEST(SettingsFile, IsReadAsTheProgramHasAlwaysReadItAndNeverReplacedWhileItIsThere) {
    const std::string noRule = "E\r\n0\r\n0\r\n0\r\n\r\n", defaults = "E\r\n0\r\n0\r\n0\r\n0\r\n";
    const struct {
        std::string file, controls;  // the file before start-up ("-": none), then Text1 Check1 Check2 option cb1
        std::string after = "=";     // the file after it; "=": as it was
        std::string state = "";      // of the file: "readonly", "hidden", "unreadable", "folder" in its place
    } cases[] = {
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
        {"\r\n1\r1\r1\r2\r\n", " 0 0 op1 2", "F\r\n1\r\n1\r\n1\r\n2\r\n"},  // a line may end in CR alone
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

TEST(Commands, DoWhatTheirControlsAndMenuEntriesSay) {
    const std::string tarnel = "start C:\\V\\tarnel.exe [tarnel.exe] 1", off = "atoms=0 own";
    const struct {
        const char* steps;
        Calls calls;                             // after start-up
        std::string settings = "", hotkey = "";  // then, where given
    } commands[] = {
        {"Command1", {kClean}},
        {"missing=empty.exe menu=nowyouhua", {kClean, "box Varnic: 内存优化组件错误！", "clear clipboard", "beep"}},
        {"menu=cleanchip", {"clear clipboard"}},
        {"Label7", {tarnel, "end program", kSaveSettings, "unloaded"}, "", off},
        {"missing=tarnel.exe menu=updatemenu",
         {tarnel, "box Varnic: 在线更新组件错误！", "end program", kSaveSettings, "unloaded"}, "", off},
        {"menu=exitt", {"end program", kSaveSettings, "unloaded"}, "E\r\n0\r\n0\r\n0\r\n0\r\n", off},
        {"close", {kSaveSettings, "tray SendToTray", "stays"}, "", "-16383:2+69 atoms=1 hooked"},
        {"Command2 menu=show", {"tray SendToTray", kSaveSettings, "tray ShowFromTray"}},
        {"Label9 Label4",
         {"open http://soft-one.example/soft/22033.html in C:\\V", "open http://www.varnic.example/blog in C:\\V"}},
        {"Label8 Label16", {"show about", "show rule editor"}},
        {"op1", {"tray program icon", kSaveSettings}, "E\r\n0\r\n0\r\n1\r\n0\r\n"},
        {"op1 op2", {"tray program icon", kSaveSettings, kSaveSettings}, "E\r\n0\r\n0\r\n0\r\n0\r\n"},
        {"Check1", {}, "E\r\n0\r\n0\r\n0\r\n0\r\n"},  // no handler: it reaches the file with the next write
        {"Check1 Check2", {kSaveSettings}, "E\r\n1\r\n1\r\n0\r\n0\r\n", off},
        {"Check2 Text1=k Check2", Calls(4, kSaveSettings), "K\r\n0\r\n0\r\n0\r\n0\r\n", "-16383:2+75 atoms=1 hooked"},
        {"Text1=", {kSaveSettings}, "F\r\n0\r\n0\r\n0\r\n0\r\n", "-16383:2+69 atoms=1 hooked"},
        {"Text1=ab", {kSaveSettings, kSaveSettings}, "AB\r\n0\r\n0\r\n0\r\n0\r\n", "-16383:2+65 atoms=1 hooked"},
        {"cb1=3", {kSaveSettings, "write C:\\V\\BTRule.ini"}, "E\r\n0\r\n0\r\n0\r\n3\r\n"},
        {"cb1=0", {}},  // the rule already chosen
        {"hotkey", {kClean, "clear clipboard", "beep"}},
        {"missing=empty.exe hotkey", {kClean, "box Varnic: 内存清理组件错误！"}},
        {"held hotkey", {kClean, "box Varnic: 内存清理组件错误！"}},
        {"area=6", {"restart elevated", "end program", kSaveSettings, "unloaded"}, "", off},
        {"refused area=6", {"restart elevated"}, "", "-16383:2+69 atoms=1 hooked"},  // kelvo stays, with its hotkey
    };
    for (const auto& c : commands) {
        Kelvo k;
        k.Do("load");
        k.log.calls.clear();
        k.Do(c.steps);
        EXPECT_EQ(k.log.calls, c.calls) << c.steps;
        EXPECT_EQ(c.settings.empty() ? "" : k.File("\\Setting.ini"), c.settings) << c.steps;
        EXPECT_EQ(c.hotkey.empty() ? "" : k.sys.Hotkeys(), c.hotkey) << c.steps;
    }
    Kelvo early;  // a close before start-up has finished lets the window go
    early.Do("close");
    EXPECT_EQ(early.log.calls, (Calls{kSaveSettings, "unloaded"}));
    EXPECT_EQ(early.File("\\Setting.ini"), "E\r\n1\r\n1\r\n0\r\n\r\n");
}

TEST(Commands, ThePanelToggleOpensBelowAThousandTwipsOverTheFoldedHeightAndFoldsAbove) {
    // a click at a height; then the height, the panel shown, Label4's top and f1's top
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"Command3", {4750, 7050, 1, 6360, 4080}},   {"Command3", {4000, 7050, 1, 6360, 4080}},
        {"Label15", {5500, 7050, 1, 6360, 4080}},    {"Background", {7050, 4750, 0, 4080, 9000}},
        {"Command3", {5751, 4750, 0, 4080, 9000}},   {"Command3", {5750, 5750, 0, 4080, 9000}}};
    for (const auto& [click, c] : cases) {
        Kelvo k;
        k.form.height = c[0];
        k.Do(click);
        const kelvo::Form1& f = k.form;
        EXPECT_EQ((std::vector<int>{c[0], f.height, f.f1.visible, f.Label4.place.top, f.f1.place.top}), c) << click;
    }
}

// The clean routes a user or the program takes, and whether the user asked for the clean.
const std::pair<const char*, bool> kRoutes[] = {
    {"Command1", true}, {"menu=nowyouhua", true}, {"hotkey", true}, {"free=15 tick", false}, {"minute", false}};

TEST(Areas, EveryCleanPassesTheChosenAreasInTheirOrderAndAnOddOrMissingFileMeansWorkingSetsOnly) {
    const std::pair<const char*, std::string> areaFiles[] = {
        {nullptr, "empty.exe  *"}, {"standby\r\nfilecache\r\n", "empty.exe  * -filecache -standby"},
        {" Combine \r\n\r\nMODIFIED\r\nlowstandby", "empty.exe  * -modified -lowstandby -combine"},
        {"standby\r\nstand\r\n", "empty.exe  *"}, {"-standby\r\n", "empty.exe  *"}};
    for (const auto& [file, line] : areaFiles)
        for (const auto& [route, asked] : kRoutes) {
            Kelvo k;
            if (file) k.Put("\\Areas.ini", file);
            k.Do("load");
            k.log.calls.clear();
            k.Do(route);
            EXPECT_EQ(k.log.Of("start"), Calls{"start C:\\V\\empty.exe [" + line + "] 0"}) << route << " " << line;
        }
}

TEST(Areas, TheSubmenuChoiceSurvivesARestartAndOnlyItsLastEntryAsksForTheAdministrator) {
    Kelvo k;
    k.Do("load area=0 area=4 area=1 area=5 area=5");  // identical pages on and off again
    EXPECT_EQ(k.File("\\Areas.ini") + k.File("\\Setting.ini"), "filecache\r\nstandby\r\nE\r\n0\r\n0\r\n0\r\n0\r\n");
    for (bool elevated : {false, true}) {
        Kelvo again;
        again.files.files = k.files.files;
        again.sys.elevated = elevated;
        again.Do("load");
        std::string menu;  // "+" checked, "-" not, "!" disabled
        for (const auto& entry : again.form.AreaMenu()) menu += entry.checked ? entry.enabled ? "+" : "!" : "-";
        EXPECT_EQ(menu, elevated ? "!+--+-" : "!+--+--");
        EXPECT_EQ(again.form.AreaMenu()[4].caption, elevated ? "备用列表" : "备用列表（需要管理员）");
        again.log.calls.clear();
        again.Do("area=6");
        EXPECT_EQ(again.log.calls, elevated ? Calls{} : Calls({"restart elevated", "end program", kSaveSettings, "unloaded"}));
    }
}

TEST(Areas, AnAskedCleanEndsInABalloonEveryCleanInTheTipLineWithTheFreedMegabytesAndTime) {
    const std::tuple<Language, std::uint64_t, std::uint64_t, const char*, const char*> cases[] = {
        {Language::kChinese, 200ull << 20, (300ull << 20) + (1 << 19), "balloon Varnic: 已释放 100M 内存", "上次清理 09:10：释放 100M"},
        {Language::kEnglish, 200ull << 20, (201ull << 20) - 1, "balloon Varnic: Freed 0 MB", "Last clean 09:10: freed 0 MB"},
        {Language::kEnglish, 300ull << 20, 200ull << 20, "balloon Varnic: Freed 0 MB", "Last clean 09:10: freed 0 MB"},
    };
    for (const auto& [language, before, after, balloon, tipLine] : cases)
        for (const auto& [route, asked] : kRoutes) {
            Kelvo k(language);
            k.Do("load");
            k.sys.memory.availPhys = before;
            k.Do(route);
            k.sys.memory = {45, 512ull << 20, after};
            k.Do("ended tick");
            EXPECT_EQ(k.log.Of("balloon"), asked ? Calls{balloon} : Calls{}) << route;
            EXPECT_TRUE(k.sys.tip.ends_with(std::string("\r\n") + tipLine)) << route << ": " << k.sys.tip;
        }
}

TEST(Hotkey, RegistersCtrlAndTheFirstCharactersCodeCleansOnItAndLeavesWithTheWindow) {
    CallLog log;
    FakeSystem system{log};
    Hotkey hotkey{system, [&] { log.Add("clean"); }};
    // atom 0xC001 as -16383, MOD_CONTROL, the code of the text's first character (D for none)
    for (const auto& [text, key] : {std::pair{"e", "101"}, {"7", "55"}, {"", "68"}, {"E", "69"}}) {
        hotkey.SetHotkey(text);  // each replaces the one before
        EXPECT_EQ(system.Hotkeys(), "-16383:2+" + std::string(key) + " atoms=1 hooked") << text;
    }
    const struct { std::uint32_t message; std::intptr_t wParam, result; Calls calls; } messages[] = {
        {0x0312, -16383, 0, {"clean"}}, {0x0312, 5, 0, {}},  // WM_HOTKEY, its own or another's
        {0x000F, 0, 77, {"pass 15 to own"}}, {0x0082, 0, 0, {"pass 130 to own"}}};  // WM_NCDESTROY: removed first
    for (const auto& m : messages) {
        log.calls.clear();
        EXPECT_EQ(hotkey.HotkeyWndProc(m.message, static_cast<std::uintptr_t>(m.wParam), 0), m.result) << m.message;
        EXPECT_EQ(log.calls, m.calls) << m.message;
    }
    EXPECT_EQ(system.Hotkeys(), "atoms=0 own");  // WM_NCDESTROY took the hotkey away
    hotkey.RemoveHotkey();                       // a second time changes nothing
    EXPECT_EQ(system.Hotkeys(), "atoms=0 own");
    system.takenByOthers.insert("2+69");
    hotkey.SetHotkey("E");  // taken by another program: the window is hooked all the same
    EXPECT_EQ(system.Hotkeys(), "atoms=1 hooked");
}

}  // namespace
}  // namespace varnic::fakes
