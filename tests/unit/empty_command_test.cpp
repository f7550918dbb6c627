#include "cleaner/empty_command.h"

#include <gtest/gtest.h>

namespace varnic {
namespace {

EmptyCommand Parsed(const std::vector<std::string>& arguments) {
    auto parse = ParseEmptyCommand(arguments);
    EXPECT_TRUE(parse.command.has_value()) << parse.error;
    return parse.command.value_or(EmptyCommand{});
}

TEST(EmptyCommandLine, TheTwoCommandLinesKelvoUsesAreUnderstood) {
    // "empty.exe  *" may reach the tool as an argument with blanks around it.
    for (const std::string star : {"*", " *", "  * ", "\t*"}) {
        EmptyCommand all = Parsed({star});
        EXPECT_TRUE(all.allProcesses) << '[' << star << ']';
        EXPECT_FALSE(all.verbose);
    }
    EmptyCommand own = Parsed({"kelvo.exe"});
    EXPECT_FALSE(own.allProcesses);
    EXPECT_EQ(own.imageNames, std::vector<std::string>{"kelvo.exe"});
    EXPECT_TRUE(Parsed({"", " kelvo.exe  "}).Selects("kelvo.exe"));
}

TEST(EmptyCommandLine, SwitchesAreReadInAnyCaseAndPlace) {
    EXPECT_TRUE(Parsed({"-v", "*"}).verbose);
    EXPECT_TRUE(Parsed({"*", "/V"}).verbose);
    EXPECT_TRUE(Parsed({"-?"}).help);
    EXPECT_TRUE(Parsed({"--help"}).help);
    EXPECT_TRUE(Parsed({"-H", "*"}).help);
}

TEST(EmptyCommandLine, BadUsageIsRefusedWithAReason) {
    struct Case {
        std::vector<std::string> arguments;
        std::string reason;
    };
    const Case cases[] = {
        {{}, "no process named"},
        {{"  ", ""}, "no process named"},
        {{"-v"}, "no process named"},
        {{"-x", "*"}, "unknown switch: -x"},
        {{"*", "--all"}, "unknown switch: --all"},
        {{"-"}, "unknown switch: -"},
        {{"c:\\tools\\kelvo.exe"}, "not an executable file name: c:\\tools\\kelvo.exe"},
        {{"kel*.exe"}, "not an executable file name: kel*.exe"},
    };
    for (const auto& c : cases) {
        auto parse = ParseEmptyCommand(c.arguments);
        EXPECT_FALSE(parse.command.has_value()) << c.reason;
        EXPECT_EQ(parse.error, c.reason);
    }
}

TEST(EmptyCommandSelection, NamesMatchTheExecutableFileIgnoringCase) {
    EmptyCommand command = Parsed({"Kelvo.EXE", "tarnel.exe"});
    struct Case {
        const char* exe;
        bool selected;
    };
    const Case cases[] = {
        {"kelvo.exe", true},
        {"KELVO.EXE", true},
        {"C:\\Varnic\\kelvo.exe", true},
        {"tarnel.exe", true},
        {"kelvo.ex", false},
        {"kelvo.exe.exe", false},
        {"xkelvo.exe", false},
        {"kelvo", false},
        {"", false},
        {"C:\\kelvo.exe\\other.exe", false},
    };
    for (const auto& c : cases) EXPECT_EQ(command.Selects(c.exe), c.selected) << c.exe;

    EmptyCommand chinese = Parsed({"内存.exe"});
    EXPECT_TRUE(chinese.Selects("内存.EXE"));
    EXPECT_FALSE(chinese.Selects("内存2.exe"));
}

TEST(EmptyCommandSelection, TheStarCoversEveryProcessWhateverElseIsNamed) {
    EmptyCommand command = Parsed({"kelvo.exe", "*"});
    EXPECT_TRUE(command.Selects("explorer.exe"));
    EXPECT_TRUE(command.Selects("[System Process]"));
}

TEST(EmptyCommandReport, LinesGiveNamePidAndKilobytes) {
    TrimmedProcess kelvo{"kelvo.exe", 1234, 10 * 1024 * 1024, 2 * 1024 * 1024 + 1023};
    EXPECT_EQ(FormatTrimmed(kelvo), "kelvo.exe (pid 1234): 10240 KB -> 2048 KB\n");

    TrimmedProcess grew{"b.exe", 8, 1024, 4096};
    EXPECT_EQ(FormatTotals({kelvo, grew}, 2),
              "2 processes trimmed: 10241 KB -> 2052 KB, 8189 KB freed; 2 could not be trimmed\n");
    // A working set that grew while it was trimmed frees nothing rather than a huge number.
    EXPECT_EQ(FormatTotals({grew}, 0), "1 process trimmed: 1 KB -> 4 KB, 0 KB freed; 0 could not be trimmed\n");
    EXPECT_EQ(FormatTotals({}, 0), "0 processes trimmed: 0 KB -> 0 KB, 0 KB freed; 0 could not be trimmed\n");
}

TEST(EmptyCommandReport, UsageNamesEverySwitch) {
    const std::string usage = EmptyUsage();
    for (const char* word : {"empty.exe", "-v", "*", "NAME.exe"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
}

}  // namespace
}  // namespace varnic
