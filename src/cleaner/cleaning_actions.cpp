#include "cleaner/cleaning_actions.h"

#include "base/app_files.h"

namespace varnic {

std::string CleaningActions::CleanAllCommandLine() { return std::string("empty.exe ") + " *"; }

// The tool is started by its full path in the installation folder, so that no program of the
// same name in the current folder or on PATH can answer instead; the command line itself
// stays as the tool has always seen it.
bool CleaningActions::StartTool(const std::string& commandLine) {
    return ports_.launcher.Start(AppFile(appDir_, "\\empty.exe"), commandLine, ShowWindow::Hidden);
}

void CleaningActions::Report(CleaningText failure) {
    ports_.messages.Show(std::string(Text(failure, language_)), kApplicationTitle, MessageIcon::None);
}

void CleaningActions::Command1Action() {
    if (!StartTool(CleanAllCommandLine())) Report(CleaningText::kCleanerFailed);
}

void CleaningActions::CleanMemory() {
    if (!StartTool(CleanAllCommandLine()) || !ports_.clipboard.Clear()) {
        Report(CleaningText::kHotkeyCleanFailed);
        return;
    }
    ports_.beeper.Beep();
}

void CleaningActions::EmptyOwnWorkingSet() { StartTool(std::string("empty.exe") + " kelvo.exe"); }

}  // namespace varnic
