// The two ways kelvo cleans memory: both start the working-set tool empty.exe with "*" (and
// the switches of the areas the user chose) in the background and return at once; what
// follows the start (a failure box, the clipboard, the beep) happens once the start's outcome
// is known, and `ended` runs once the tool has ended. The Command1 action reports a failed
// start; CleanMemory (the hotkey's clean) also empties the clipboard and beeps, so a user
// working elsewhere hears that it happened.
#pragma once

#include <functional>
#include <string>

#include "base/language.h"
#include "base/ports.h"
#include "cleaner/area_choice.h"
#include "cleaner/cleaning_texts.h"

namespace varnic {

class CleaningActions {
public:
    struct Ports {
        ProcessLauncher& launcher;
        Clipboard& clipboard;
        Beeper& beeper;
        MessageBoxes& messages;
    };
    // The failure messages are in `language`.
    CleaningActions(Ports ports, std::string appDir, Language language = Language::kChinese)
        : ports_(ports), appDir_(std::move(appDir)), language_(language) {}

    // The "clean now" button: start the tool hidden; a failed start says so in a box. `settled`
    // runs after the start's outcome is known (and its box, if any, closed).
    void Command1Action(const std::string& commandLine, std::function<void()> ended,
                        std::function<void()> settled = {});
    // The hotkey's clean: start, then clear the clipboard, then beep; the first failure
    // abandons the rest and says so in a box.
    void CleanMemory(const std::string& commandLine, std::function<void()> ended);
    // Start-up asks the tool to empty kelvo's own working set; a failure is ignored.
    void EmptyOwnWorkingSet();

    bool ClearClipboard() { return ports_.clipboard.Clear(); }
    void Beep() { ports_.beeper.Beep(); }

private:
    void StartTool(const std::string& commandLine, std::function<void()> ended, std::function<void(bool)> started);

    void Report(CleaningText failure);

    Ports ports_;
    std::string appDir_;
    Language language_;
};

}  // namespace varnic
