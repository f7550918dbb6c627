// empty.exe: empties the working sets of the processes named on its command line ("*" for
// every process it may open), so their pages go back to the standby list. A console tool:
// kelvo starts it hidden and does not wait for it.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cleaner/empty_command.h"
#include "cleaner/win32/working_set.h"
#include "platform/win32/wide.h"

namespace {

using namespace varnic;

// Straight to a console as UTF-16, so process names in any script show; into a pipe or a
// file as UTF-8.
void Print(DWORD which, const std::string& text) {
    HANDLE out = GetStdHandle(which);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(out, &mode)) {
        std::wstring wide = win32::Wide(text);
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}

int Run(const std::vector<std::string>& arguments) {
    EmptyCommandParse parse = ParseEmptyCommand(arguments);
    if (!parse.command) {
        Print(STD_ERROR_HANDLE, "empty.exe: " + parse.error + "\n" + EmptyUsage());
        return kEmptyExitUsage;
    }
    const EmptyCommand& command = *parse.command;
    if (command.help) {
        Print(STD_OUTPUT_HANDLE, EmptyUsage());
        return kEmptyExitOk;
    }

    win32::EnableDebugPrivilege();  // without it, only this account's processes open: fine
    auto processes = win32::ListRunningProcesses();
    if (!processes) {
        Print(STD_ERROR_HANDLE, "empty.exe: the running processes cannot be listed\n");
        return kEmptyExitFailure;
    }
    std::vector<TrimmedProcess> trimmed;
    int notTrimmed = 0;
    for (const auto& process : *processes) {
        if (!command.Selects(process.exeFile)) continue;
        win32::WorkingSetTrim trim = win32::TrimWorkingSet(process.pid);
        if (!trim.opened || !trim.trimmed) {
            ++notTrimmed;  // the idle and system processes, other accounts' services: normal
            continue;
        }
        trimmed.push_back({process.exeFile, process.pid, trim.beforeBytes, trim.afterBytes});
        if (command.verbose) Print(STD_OUTPUT_HANDLE, FormatTrimmed(trimmed.back()));
    }
    if (command.verbose) Print(STD_OUTPUT_HANDLE, FormatTotals(trimmed, notTrimmed));
    return kEmptyExitOk;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        std::vector<std::string> arguments;
        for (int i = 1; i < argc; ++i) arguments.push_back(win32::Utf8(argv[i]));
        return Run(arguments);
    } catch (...) {
        return kEmptyExitFailure;
    }
}
