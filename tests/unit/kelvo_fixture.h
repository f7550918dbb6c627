// A main window model wired to fakes, in the installation folder C:\Varnic.
#pragma once

#include <gtest/gtest.h>

#include "fakes.h"
#include "monitor/main_form.h"

namespace varnic::fakes {

inline const std::string kDir = "C:\\Varnic";
inline std::string At(const char* name) { return kDir + name; }

struct Kelvo {
    explicit Kelvo(Language language = Language::kChinese)
        : form({files, codec, launcher, memory, processes, clipboard, beeper, messages, shell, tray, gauge, hotkeys},
               host, kDir, language) {}

    FakeFileSystem files;
    IdentityCodec codec;
    FakeLauncher launcher;
    FakeMemory memory;
    FakeProcesses processes;
    FakeClipboard clipboard;
    FakeBeeper beeper;
    FakeMessages messages;
    FakeShell shell;
    FakeTray tray;
    RecordingGauge gauge;
    FakeHotkeySystem hotkeys;
    FakeHost host;
    kelvo::Form1 form;

    const std::string empty = At("\\empty.exe");
    const std::string cleanAll = "empty.exe  *";

    void Load(const std::string& arguments = "") { form.Form_Load(arguments); }
    std::string Settings() { return files.files[At("\\Setting.ini")]; }
    int Cleans() const { return launcher.Count(cleanAll); }
};

class KelvoTest : public ::testing::Test, public Kelvo {};

}  // namespace varnic::fakes
