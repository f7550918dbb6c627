// empty.exe: empties the working sets of the processes named on its command line ("*" for
// every process it may open), so their pages go back to the standby list, and with its
// switches the system's memory areas (standby lists, modified pages, file cache, identical
// pages). A console tool: kelvo starts it hidden and does not wait for it. What it does and
// prints is decided in cleaner/empty_run.
#include <windows.h>

#include <string>
#include <vector>

#include "cleaner/empty_command.h"
#include "cleaner/empty_run.h"
#include "cleaner/win32/empty_system.h"
#include "platform/win32/display_language.h"
#include "platform/win32/wide.h"

int wmain(int argc, wchar_t** argv) {
    using namespace varnic;
    try {
        std::vector<std::string> arguments;
        for (int i = 1; i < argc; ++i) arguments.push_back(win32::Utf8(argv[i]));
        win32::Win32EmptySystem system;
        return RunEmpty(arguments, system, win32::ProgramLanguage(win32::ApplicationDirectory()));
    } catch (...) {
        return kEmptyExitFailure;
    }
}
