// empty.exe's decisions: command line, processes chosen, areas' answers, output and exit code (texts of docs/empty.md).
#include "cleaner/empty_command.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "cleaner/empty_run.h"

namespace varnic {
namespace {

using Args = std::vector<std::string>;

// The system as empty.exe sees it, with a log of every request that acts on it.
struct FakeEmptySystem : EmptySystem {
    std::optional<std::vector<RunningProcess>> processes{
        {{0, "[System Process]"}, {100, "C:\\Varnic\\kelvo.exe"}, {200, "b{2}.exe"}, {300, "c.exe"}}};
    std::map<std::uint32_t, WorkingSetTrim> trims{  // pid 0 cannot be opened, 300 refuses to be trimmed
        {100, {true, true, 10 << 20, (2 << 20) + 1023}}, {200, {true, true, 1024, 4096}}, {300, {true, false, 0, 0}}};
    std::set<MemoryArea> notOffered;
    std::set<std::string_view> privilegesLacking;
    std::map<MemoryArea, std::uint32_t> answers;  // 0 (done) unless set
    std::uint64_t available = 100 << 20;
    std::string out, err, log;

    void Print(EmptyOutput to, std::string_view s) override { (to == EmptyOutput::kStandardOutput ? out : err) += s; }
    std::optional<std::vector<RunningProcess>> RunningProcesses() override { return processes; }
    WorkingSetTrim TrimWorkingSet(std::uint32_t pid) override {
        log += "trim " + std::to_string(pid) + "; ";
        return trims[pid];
    }
    std::uint64_t AvailableBytes() override { return available; }
    bool OffersArea(MemoryArea area) override { return !notOffered.count(area); }
    bool EnablePrivilege(std::string_view name) override {
        log += std::string(name) + "; ";
        return !privilegesLacking.count(name);
    }
    std::uint32_t EmptyArea(MemoryArea area) override {
        log += "empty " + std::string(FactsOf(area).switchName) + "; ";
        available += 1 << 20;
        return answers[area];
    }
};

std::string Parsed(const Args& arguments) {
    auto parse = ParseEmptyCommand(arguments);
    if (!parse.command) return "error: " + parse.error;
    const EmptyCommand& c = *parse.command;
    std::string text = std::string(c.help ? "help " : "") + (c.verbose ? "-v " : "") + (c.allProcesses ? "* " : "");
    for (const auto& name : c.imageNames) text += name + " ";
    for (MemoryArea area : c.areas) text += "-" + std::string(FactsOf(area).switchName) + " ";
    return text;
}

TEST(EmptyCommandLine, ReadsTargetsSwitchesAndAreasOrRefusesWithAReason) {
    const std::string nothing = "error: nothing to empty: name a process, * or an area";
    const std::pair<Args, std::string> rows[] = {  // kelvo's "empty.exe  *" may come with blanks around the star
        {{"  * "}, "* "}, {{"\t*"}, "* "}, {{"", " kelvo.exe  "}, "kelvo.exe "}, {{"*", "/V"}, "-v * "},
        {{"-?"}, "help "}, {{"--help"}, "help "}, {{"-H", "*"}, "help * "},
        {{"/COMBINE", "-standby", "-filecache", "*", "-modified", "-lowstandby", "-standby"},
         "* -filecache -modified -lowstandby -standby -combine "},
        {{}, nothing}, {{"  ", ""}, nothing}, {{"-v"}, nothing},
        {{"*", "--all"}, "error: unknown switch: --all"}, {{"-standbylist"}, "error: unknown switch: -standbylist"},
        {{"c:\\tools\\kelvo.exe"}, "error: not an executable file name: c:\\tools\\kelvo.exe"},
        {{"kel*.exe"}, "error: not an executable file name: kel*.exe"},
    };
    for (const auto& [arguments, expected] : rows)
        EXPECT_EQ(Parsed(arguments), expected) << testing::PrintToString(arguments);
}

TEST(EmptyCommandSelection, NamesMatchTheExecutableFileIgnoringCase) {
    const EmptyCommand named = *ParseEmptyCommand({"Kelvo.EXE", "TARNEL-AZ.exe", "内存.exe"}).command;
    const std::pair<const char*, bool> rows[] = {
        {"kelvo.exe", true}, {"KELVO.EXE", true}, {"C:\\Varnic\\kelvo.exe", true}, {"tarnel-az.exe", true},
        {"内存.EXE", true}, {"内存2.exe", false}, {"kelvo.ex", false}, {"kelvo.exe.exe", false},
        {"xkelvo.exe", false}, {"kelvo", false}, {"", false}, {"C:\\kelvo.exe\\other.exe", false},
    };
    for (const auto& [exe, selected] : rows) EXPECT_EQ(named.Selects(exe), selected) << exe;
}

TEST(EmptyArea, TheSystemsAnswerTellsWhyAnAreaWasNotEmptied) {
    using enum AreaOutcome;  // what the run's rows do not show already; values of ntstatus.h and winerror.h
    const std::pair<std::uint32_t, AreaOutcome> rows[] = {{0xC0000002, kNotOffered}, {0xC00000BB, kNotOffered},
        {50, kNotOffered}, {120 /* Wine's cache */, kNotOffered}, {1314, kLacksPrivilege}, {5, kRefused}};
    for (const auto& [answer, outcome] : rows) EXPECT_EQ(OutcomeOf(answer), outcome) << std::hex << answer;
}

TEST(EmptyRun, EachAreaIsDoneOrSaysWhyInOneLineWhileTheOthersGoOn) {
    const std::string all = "trim 0; trim 100; trim 200; trim 300; ", profile = "SeProfileSingleProcessPrivilege; ";
    const std::string vista = " not possible here (Windows Vista and later only)\n";
    using Arrange = std::function<void(FakeEmptySystem&)>;
    const std::tuple<const char*, Args, Arrange, int, std::string, std::string, std::string> rows[] = {
        {"kelvo's clean", {"  *"}, {}, 0, "", "", all},
        {"kelvo's own", {"kelvo.exe"}, {}, 0, "", "", "trim 100; "},
        {"verbose working sets, whole KB", {"-v", "*"}, {}, 0,
         "C:\\Varnic\\kelvo.exe (pid 100): 10240 KB -> 2048 KB\nb{2}.exe (pid 200): 1 KB -> 4 KB\n"
         "2 processes trimmed: 10241 KB -> 2052 KB, 8189 KB freed; 2 could not be trimmed\n", "", all},
        {"a working set that grew frees nothing", {"-v", "B{2}.EXE"}, {}, 0,  // rather than a huge number
         "b{2}.exe (pid 200): 1 KB -> 4 KB\n1 process trimmed: 1 KB -> 4 KB, 0 KB freed; 0 could not be trimmed\n", "",
         "trim 200; "},
        {"an area alone", {"-v", "-standby"}, {}, 0,
         "standby list: purged; available memory 102400 KB -> 103424 KB\n", "", profile + "empty standby; "},
        {"no area offered (Windows XP, Wine)", {"*", "-standby", "-lowstandby", "-modified", "-filecache", "-combine"},
         [](auto& s) { s.notOffered = {std::begin(kMemoryAreas), std::end(kMemoryAreas)}; }, 3, "",
         "system file cache: not possible here (Windows Server 2003 SP1, Vista and later only)\nmodified page list:" +
         vista + "low-priority standby list:" + vista + "standby list:" + vista +
         "identical memory pages: not possible here (Windows 8 and later only)\n", all},
        {"privilege lacking", {"-v", "-filecache", "-combine"},
         [](auto& s) { s.privilegesLacking = {"SeIncreaseQuotaPrivilege"}; }, 3,
         "identical memory pages: combined; available memory 102400 KB -> 103424 KB\n",
         "system file cache: not done, the account lacks SeIncreaseQuotaPrivilege (run as administrator)\n",
         "SeIncreaseQuotaPrivilege; " + profile + "empty combine; "},
        {"the system's answers", {"-standby", "-lowstandby", "-modified"}, [](auto& s) {
             s.answers = {{MemoryArea::kStandbyList, 0xC0000061}, {MemoryArea::kLowPriorityStandbyList, 0xC0000003},
                          {MemoryArea::kModifiedPageList, 0xC0000022}}; }, 3, "",
         "modified page list: refused by the system (code 0xC0000022)\nlow-priority standby list:" + vista +
         "standby list: not done, the account lacks SeProfileSingleProcessPrivilege (run as administrator)\n",
         profile + "empty modified; " + profile + "empty lowstandby; " + profile + "empty standby; "},
        {"processes not listed", {"*", "-modified"}, [](auto& s) { s.processes.reset(); }, 1, "",
         "empty.exe: the running processes cannot be listed\n", profile + "empty modified; "},
        {"help does nothing", {"-h", "-standby", "*"}, {}, 0, std::string(Text(EmptyText::kUsage, Language::kEnglish)), "", ""},
        {"bad usage", {"-standby", "-x"}, {}, 2, "",
         "empty.exe: unknown switch: -x\n" + std::string(Text(EmptyText::kUsage, Language::kEnglish)), ""},
    };
    for (const auto& [name, arguments, arrange, exitCode, out, err, log] : rows) {
        FakeEmptySystem system;
        if (arrange) arrange(system);
        EXPECT_EQ(RunEmpty(arguments, system), exitCode) << name;
        EXPECT_EQ(system.out, out) << name;
        EXPECT_EQ(system.err, err) << name;
        EXPECT_EQ(system.log, log) << name;
    }
}

TEST(EmptyRun, TheUsageNamesEverySwitch) {
    for (const char* word :
         {"usage: empty.exe", "-v", "*", "NAME.exe", "-standby", "-lowstandby", "-modified", "-filecache", "-combine"})
        EXPECT_NE(Text(EmptyText::kUsage, Language::kEnglish).find(word), std::string::npos) << word;
}

}  // namespace
}  // namespace varnic
