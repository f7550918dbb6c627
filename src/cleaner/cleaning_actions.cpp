#include "cleaner/cleaning_actions.h"

#include "base/app_files.h"

namespace varnic {

// The tool is started by its full path in the installation folder, so that no program of the
// same name in the current folder or on PATH can answer instead; the command line itself
// stays as the tool has always seen it.
void CleaningActions::StartTool(const std::string& commandLine, std::function<void()> ended,
                                std::function<void(bool)> started) {
    ports_.launcher.StartInBackground(AppFile(appDir_, "\\empty.exe"), commandLine, ShowWindow::Hidden,
                                      std::move(started), std::move(ended));
}

void CleaningActions::Report(CleaningText failure) {
    ports_.messages.Show(std::string(Text(failure, language_)), kApplicationTitle, MessageIcon::None);
}

void CleaningActions::Command1Action(const std::string& commandLine, std::function<void()> ended,
                                     std::function<void()> settled) {
    StartTool(commandLine, std::move(ended), [this, settled = std::move(settled)](bool started) {
        if (!started) Report(CleaningText::kCleanerFailed);
        if (settled) settled();
    });
}

void CleaningActions::CleanMemory(const std::string& commandLine, std::function<void()> ended) {
    StartTool(commandLine, std::move(ended), [this](bool started) {
        if (!started || !ports_.clipboard.Clear()) return Report(CleaningText::kHotkeyCleanFailed);
        ports_.beeper.Beep();
    });
}

void CleaningActions::EmptyOwnWorkingSet() {
    ports_.launcher.Start(AppFile(appDir_, "\\empty.exe"), std::string("empty.exe") + " kelvo.exe", ShowWindow::Hidden);
}

}  // namespace varnic
