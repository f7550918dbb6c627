// empty.exe run for real: the processes and working sets Windows lists, and the memory areas'
// calls as this system answers them (Wine offers no area and empties no working set).
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <tuple>

#include "platform/win32/handles.h"
#include "scratch_folder.h"

namespace varnic::win32 {
namespace {

bool RunningUnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// Runs empty.exe (built beside the tests' folder) as this account or, given a privilege, as one
// that lacks it: its exit code, and its standard output and error, caught in files.
std::tuple<DWORD, std::string, std::string> RunEmpty(const std::string& arguments, const wchar_t* privilegeLacking) {
    HANDLE own = nullptr, copy = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, &own);
    DuplicateTokenEx(UniqueHandle(own).Get(), TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenPrimary, &copy);
    UniqueHandle token(copy);
    TOKEN_PRIVILEGES removed{1, {{{}, SE_PRIVILEGE_REMOVED}}};
    EXPECT_TRUE(!privilegeLacking || (LookupPrivilegeValueW(nullptr, privilegeLacking, &removed.Privileges[0].Luid) &&
                                      AdjustTokenPrivileges(token.Get(), FALSE, &removed, 0, nullptr, nullptr)));
    testing::ScratchFolder folder("empty-run");
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    auto create = [&](const char* name) {
        return UniqueFile(CreateFileW(Wide(folder / name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                      CREATE_ALWAYS, 0, nullptr));
    };
    DWORD exitCode = 0xFFFFFFFF;
    {
        UniqueFile out = create("out.txt"), err = create("err.txt");
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out.Get();
        startup.hStdError = err.Get();
        std::wstring line = Wide("empty.exe " + arguments);
        PROCESS_INFORMATION started{};
        EXPECT_TRUE(CreateProcessAsUserW(token.Get(), Wide(ApplicationDirectory() + "\\..\\apps\\empty.exe").c_str(),
                                         line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started))
            << "empty.exe did not start; build the target empty";
        UniqueHandle process(started.hProcess), thread(started.hThread);
        EXPECT_EQ(WaitForSingleObject(process.Get(), 60000), WAIT_OBJECT_0) << "empty.exe did not end within 60 s";
        GetExitCodeProcess(process.Get(), &exitCode);
    }
    return {exitCode, testing::FileBytes(folder / "out.txt"), testing::FileBytes(folder / "err.txt")};
}

TEST(EmptyTool, TrimsTheListedProcessesDoesEachAreaItCanAndSaysInOneLineWhyNotTheOthers) {
    std::string ballast(32 << 20, 'x');  // pages that are surely in this process's working set now
    const std::string own = "(^|\n)empty_tool_test\\.exe \\(pid " + std::to_string(GetCurrentProcessId()) + "\\): ";
    // Arguments, the privilege the account lacks, whether only Wine's answer is known (a real Windows
    // answers after its version and the account), exit code, a line of standard output, standard error.
    const std::tuple<const char*, const wchar_t*, bool, DWORD, std::string, std::string> rows[] = {
        {"-v  *", nullptr, false, 0, own + "(\\d+) KB -> (\\d+) KB\n", ""},  // blanks as kelvo's clean has them
        {"-v -standby -lowstandby -modified -filecache -combine", nullptr, true, 3, "^$",
         "system file cache: not possible here \\(.+\n(.+ list: not possible here \\(.+\n){3}identical memory "
         "pages: not possible here \\(.+\n"},
        {"-filecache", L"SeIncreaseQuotaPrivilege", false, 3, "^$",
         "system file cache: not done, the account lacks SeIncreaseQuotaPrivilege \\(run as administrator\\)\n"},
    };
    for (const auto& [arguments, privilegeLacking, wineOnly, exitCode, out, err] : rows) {
        if (wineOnly && !RunningUnderWine()) continue;
        const auto [exitCodeSeen, outSeen, errSeen] = RunEmpty(arguments, privilegeLacking);
        EXPECT_EQ(exitCodeSeen, exitCode) << arguments;
        std::smatch figures;  // this process's working set before and after, in KB
        EXPECT_TRUE(std::regex_search(outSeen, figures, std::regex(out))) << arguments << ": " << outSeen;
        EXPECT_TRUE(std::regex_match(errSeen, std::regex(err))) << arguments << ": " << errSeen;
        if (figures.size() < 4) continue;
        EXPECT_GT(std::stoull(figures[2]), 32u << 10) << figures[0];
        EXPECT_TRUE(RunningUnderWine() || std::stoull(figures[3]) < std::stoull(figures[2]) / 2) << figures[0];
    }
    EXPECT_EQ(ballast[12345], 'x');
}

}  // namespace
}  // namespace varnic::win32
