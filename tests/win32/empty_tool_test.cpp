// empty.exe run for real, and the working-set calls beneath it. Under Wine emptying a
// working set is accepted but changes nothing, so shrinking is checked on Windows only;
// everything else (which processes are chosen, the figures, the exit codes) is checked
// everywhere.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <regex>

#include "cleaner/win32/working_set.h"
#include "platform/win32/handles.h"
#include "scratch_folder.h"

namespace varnic::win32 {
namespace {

using testing::FileBytes;
using testing::ScratchFolder;

bool RunningUnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

std::string OwnExeName() {
    wchar_t path[MAX_PATH];
    std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return Utf8(self.substr(self.find_last_of(L'\\') + 1));
}

struct ToolRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::string out;
    std::string err;
};

// Runs empty.exe (built into the programs' folder beside the tests' folder) with the
// arguments after its name, standard output and error caught in files.
ToolRun RunEmpty(const std::string& arguments) {
    static const std::string tool = ApplicationDirectory() + "\\..\\apps\\empty.exe";
    ScratchFolder folder("empty-run");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    auto create = [&](const char* name) {
        return UniqueFile(CreateFileW(Wide(folder / name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                      CREATE_ALWAYS, 0, nullptr));
    };
    ToolRun run;
    {
        UniqueFile out = create("out.txt"), err = create("err.txt");
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        startup.hStdOutput = out.Get();
        startup.hStdError = err.Get();
        std::wstring line = Wide("empty.exe " + arguments);
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(Wide(tool).c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                            &started)) {
            ADD_FAILURE() << "empty.exe did not start; build the target empty: " << tool;
            return run;
        }
        UniqueHandle process(started.hProcess), thread(started.hThread);
        EXPECT_EQ(WaitForSingleObject(process.Get(), 60000), WAIT_OBJECT_0);
        GetExitCodeProcess(process.Get(), &run.exitCode);
    }
    run.out = FileBytes(folder / "out.txt");
    run.err = FileBytes(folder / "err.txt");
    return run;
}

struct ReportLine {
    std::string name;
    DWORD pid;
    unsigned long long beforeKb;
};

std::vector<ReportLine> TrimmedLines(const std::string& out) {
    static const std::regex line(R"((.+) \(pid (\d+)\): (\d+) KB -> (\d+) KB\n)");
    std::vector<ReportLine> lines;
    for (std::sregex_iterator it(out.begin(), out.end(), line), end; it != end; ++it)
        lines.push_back({(*it)[1], static_cast<DWORD>(std::stoul((*it)[2])), std::stoull((*it)[3])});
    return lines;
}

bool Names(const std::vector<ReportLine>& lines, const std::string& name, DWORD pid) {
    return std::any_of(lines.begin(), lines.end(), [&](const ReportLine& l) { return l.name == name && l.pid == pid; });
}

TEST(EmptyTool, TheCommandLinesKelvoUsesSucceedQuietly) {
    for (const char* arguments : {" *", "kelvo.exe", "*"}) {
        ToolRun run = RunEmpty(arguments);
        EXPECT_EQ(run.exitCode, 0u) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
        EXPECT_EQ(run.err, "") << arguments;
    }
}

TEST(EmptyTool, VerboseStarReportsEveryProcessItTrimmedThisOneIncluded) {
    ToolRun run = RunEmpty("-v *");
    EXPECT_EQ(run.exitCode, 0u);
    auto lines = TrimmedLines(run.out);
    EXPECT_TRUE(Names(lines, OwnExeName(), GetCurrentProcessId())) << run.out;
    auto ours =
        std::find_if(lines.begin(), lines.end(), [](const ReportLine& l) { return l.pid == GetCurrentProcessId(); });
    if (ours != lines.end()) {
        EXPECT_GT(ours->beforeKb, 0u);
    }
    EXPECT_NE(run.out.find(std::to_string(lines.size()) + " processes trimmed: "), std::string::npos) << run.out;
}

TEST(EmptyTool, ANameChoosesOnlyItsProcessesWhateverTheCase) {
    std::string upper = OwnExeName();
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return static_cast<char>(toupper(c)); });
    ToolRun run = RunEmpty("-v  " + upper + " ");
    EXPECT_EQ(run.exitCode, 0u);
    auto lines = TrimmedLines(run.out);
    ASSERT_EQ(lines.size(), 1u) << run.out;
    EXPECT_EQ(lines[0].name, OwnExeName());
    EXPECT_EQ(lines[0].pid, GetCurrentProcessId());
    EXPECT_NE(run.out.find("1 process trimmed: "), std::string::npos) << run.out;
}

TEST(EmptyTool, AnUnknownNameTrimsNothingAndIsNoError) {
    ToolRun run = RunEmpty("-v nosuch.exe");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(TrimmedLines(run.out).empty()) << run.out;
    EXPECT_NE(run.out.find("0 processes trimmed"), std::string::npos) << run.out;
}

TEST(EmptyTool, BadUsageEndsWithCodeTwoAndTheUsageOnStandardError) {
    for (const char* arguments : {"", "  ", "-v", "-x *", "C:\\kelvo.exe"}) {
        ToolRun run = RunEmpty(arguments);
        EXPECT_EQ(run.exitCode, 2u) << '[' << arguments << ']';
        EXPECT_EQ(run.out, "") << arguments;
        EXPECT_NE(run.err.find("usage: empty.exe"), std::string::npos) << run.err;
    }
}

TEST(WorkingSet, TheProcessListHoldsThisProcessByItsExeName) {
    auto processes = ListRunningProcesses();
    ASSERT_TRUE(processes.has_value());
    bool found = std::any_of(processes->begin(), processes->end(), [](const RunningProcess& p) {
        return p.pid == GetCurrentProcessId() && p.exeFile == OwnExeName();
    });
    EXPECT_TRUE(found);
}

TEST(WorkingSet, TrimmingThisProcessIsAcceptedAndMeasured) {
    std::string ballast(32 << 20, 'x');  // pages that are surely in the working set now
    WorkingSetTrim trim = TrimWorkingSet(GetCurrentProcessId());
    EXPECT_TRUE(trim.opened);
    EXPECT_TRUE(trim.trimmed);
    EXPECT_GT(trim.beforeBytes, 32u << 20);
    EXPECT_GT(trim.afterBytes, 0u);
    if (!RunningUnderWine()) {
        EXPECT_LT(trim.afterBytes, trim.beforeBytes / 2);
    }
    EXPECT_EQ(ballast[12345], 'x');
}

TEST(WorkingSet, AProcessThatDoesNotExistIsNotOpened) {
    WorkingSetTrim trim = TrimWorkingSet(0xFFFFFFF0u);
    EXPECT_FALSE(trim.opened);
    EXPECT_FALSE(trim.trimmed);
}

}  // namespace
}  // namespace varnic::win32
