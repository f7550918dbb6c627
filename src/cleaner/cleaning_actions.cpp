#include "cleaner/cleaning_actions.h"

#include "base/app_files.h"

namespace varnic {

// The tool is started by its full path in the installation folder, so that no program of the
// same name in the current folder or on PATH can answer instead; the command line itself
// stays as the tool has always seen it.
bool CleaningActions::StartTool(const std::string& commandLine, std::function<void()> ended) {
    const std::string tool = AppFile(appDir_, "\\empty.exe");
    if (!ended) return ports_.launcher.Start(tool, commandLine, ShowWindow::Hidden);
    return ports_.launcher.StartFollowed(tool, commandLine, ShowWindow::Hidden, std::move(ended));
}

void CleaningActions::Report(CleaningText failure) {
    ports_.messages.Show(std::string(Text(failure, language_)), kApplicationTitle, MessageIcon::None);
}

void CleaningActions::Command1Action(const std::string& commandLine, std::function<void()> ended) {
    if (!StartTool(commandLine, std::move(ended))) Report(CleaningText::kCleanerFailed);
}

void CleaningActions::CleanMemory(const std::string& commandLine, std::function<void()> ended) {
    if (!StartTool(commandLine, std::move(ended)) || !ports_.clipboard.Clear()) {
        Report(CleaningText::kHotkeyCleanFailed);
        return;
    }
    ports_.beeper.Beep();
}

void CleaningActions::EmptyOwnWorkingSet() { StartTool(std::string("empty.exe") + " kelvo.exe"); }

}  // namespace varnic
