// The argument string of a process: its command line without the program's own name, the
// way the programs compare it with "-sendme".
#pragma once

#include <string>

namespace varnic {

// `modulePath` is the running program's full path. The updater starts kelvo as
// "<folder>\kelvo.exe -sendme" without quotes, so a folder with blanks in it must not be
// mistaken for arguments: a command line that begins with the program's own path (quoted or
// not) loses exactly that path; otherwise the first word (quoted or not) is the program.
// The blanks that separate the program from its arguments are dropped.
std::string ArgumentString(const std::string& commandLine, const std::string& modulePath);

}  // namespace varnic
