// In-memory fakes of the ports, for driving the forms exactly as the system and a user would.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/ports.h"
#include "memory_ports.h"
#include "cleaner/hotkey.h"
#include "monitor/main_form.h"
#include "monitor/monitor_ports.h"

namespace varnic::fakes {

class FakeLauncher : public ProcessLauncher {
public:
    struct Start {
        std::string program, commandLine;
        ShowWindow show;
    };
    std::vector<Start> starts;
    std::set<std::string> missing;  // programs that cannot be started
    std::function<void()> onStart;
    bool Start(const std::string& program, const std::string& commandLine, ShowWindow show) override {
        if (missing.count(program)) return false;
        starts.push_back({program, commandLine, show});
        if (onStart) onStart();
        return true;
    }
    std::vector<std::function<void()>> followed;  // the `ended` of each followed start, in order
    bool StartFollowed(const std::string& program, const std::string& commandLine, ShowWindow show,
                       std::function<void()> ended) override {
        if (!Start(program, commandLine, show)) return false;
        followed.push_back(std::move(ended));
        return true;
    }
    int Count(const std::string& commandLine) const {
        int n = 0;
        for (const auto& s : starts) n += s.commandLine == commandLine;
        return n;
    }
};

class FakeMemory : public MemoryProbe {
public:
    MemoryStatus status{45, 512ull << 20, 200ull << 20};
    MemoryStatus Read() override { return status; }
};

class FakeProcesses : public ProcessCounter {
public:
    int count = 50;
    int calls = 0;
    int Count() override {
        ++calls;
        return count;
    }
};

class FakeClipboard : public Clipboard {
public:
    bool held = false;  // another program holds it open
    int clears = 0;
    bool Clear() override {
        if (held) return false;
        ++clears;
        return true;
    }
};

class FakeBeeper : public Beeper {
public:
    int beeps = 0;
    void Beep() override { ++beeps; }
};

class FakeMessages : public MessageBoxes {
public:
    struct Box {
        std::string text, caption;
        MessageIcon icon;
    };
    std::vector<Box> shown;
    std::function<void(const std::string&)> onShow;  // runs while the box is "open"
    void Show(const std::string& text, const std::string& caption, MessageIcon icon) override {
        shown.push_back({text, caption, icon});
        if (onShow) onShow(text);
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& b : shown) texts.push_back(b.text);
        return texts;
    }
};

class FakeShell : public Shell {
public:
    std::vector<std::pair<std::string, std::string>> opened;  // target, working directory
    void Open(const std::string& target, const std::string& workingDirectory) override {
        opened.emplace_back(target, workingDirectory);
    }
};

class FakeTray : public Tray {
public:
    std::vector<std::string> calls;
    std::string tip;
    std::vector<std::string> balloons;  // "title: text"
    int gaugeIcons = 0;
    bool windowHidden = false;
    void SendToTray() override {
        calls.push_back("SendToTray");
        windowHidden = true;
    }
    void ShowFromTray() override {
        calls.push_back("ShowFromTray");
        windowHidden = false;
    }
    void SetTip(const std::string& text) override { tip = text; }
    void SetMenuEnabled() override { calls.push_back("SetMenuEnabled"); }
    void ShowProgramIcon() override { calls.push_back("ShowProgramIcon"); }
    void ShowGaugeIcon() override { ++gaugeIcons; }
    void ShowBalloon(const std::string& title, const std::string& text) override {
        balloons.push_back(title + ": " + text);
    }
};

class RecordingGauge : public GaugeSurface {
public:
    struct LineOp {
        int x1, y1, x2, y2;
        Rgb colour;
        int width;
    };
    int innerWidth = 555;
    int lineWidth = 6;
    std::string font;
    std::vector<std::string> printed;
    std::vector<LineOp> lines;
    int InnerWidth() override { return innerWidth; }
    void Clear() override {
        printed.clear();
        lines.clear();
    }
    void SetFontName(const std::string& name) override { font = name; }
    void Print(const std::string& text) override { printed.push_back(text); }
    void SetLineWidth(int pixels) override { lineWidth = pixels; }
    void Line(int x1, int y1, int x2, int y2, Rgb colour) override {
        lines.push_back({x1, y1, x2, y2, colour, lineWidth});
    }
};

// Registrations, atoms and the window procedure of one window, as the system keeps them.
class FakeHotkeySystem : public HotkeySystem {
public:
    static constexpr std::uintptr_t kOwnProcedure = 0x1000;
    static constexpr std::uintptr_t kHookProcedure = 0x2000;
    std::uint16_t atomValue = 0xC001;
    int atomReferences = 0;
    std::map<std::int32_t, std::pair<std::uint32_t, std::int32_t>> registered;  // id -> modifiers, key
    std::set<std::pair<std::uint32_t, std::int32_t>> takenByOthers;
    std::uintptr_t windowProcedure = kOwnProcedure;
    std::vector<std::uint32_t> forwarded;  // messages handed to the own procedure

    std::uint16_t AddAtom(const std::string& name) override {
        EXPECT_EQ(name, "NewMacro");
        ++atomReferences;
        return atomValue;
    }
    void DeleteAtom(std::uint16_t atom) override {
        EXPECT_EQ(atom, atomValue);
        --atomReferences;
    }
    bool Register(std::int32_t id, std::uint32_t modifiers, std::int32_t keyCode) override {
        if (registered.count(id) || takenByOthers.count({modifiers, keyCode})) return false;
        registered[id] = {modifiers, keyCode};
        return true;
    }
    bool Unregister(std::int32_t id) override { return registered.erase(id) > 0; }
    std::uintptr_t CurrentWindowProcedure() override { return windowProcedure; }
    void SetWindowProcedure(std::uintptr_t procedure) override { windowProcedure = procedure; }
    std::uintptr_t HotkeyWindowProcedure() override { return kHookProcedure; }
    std::intptr_t CallWindowProcedure(std::uintptr_t procedure, std::uint32_t message, std::uintptr_t,
                                      std::intptr_t) override {
        EXPECT_EQ(procedure, kOwnProcedure);
        forwarded.push_back(message);
        return 77;
    }
    std::optional<std::int16_t> AnsiCode(const std::string& text) override {
        if (text.empty()) return std::nullopt;
        return static_cast<std::int16_t>(static_cast<unsigned char>(text[0]));
    }
};

class FakeHost : public kelvo::MainWindowHost {
public:
    std::vector<std::string> calls;
    std::set<std::string> unloadablePictures;
    std::function<void()> onEndProgram;
    bool elevated = false;
    bool restartAccepted = true;
    kelvo::ClockTime now{9, 5};
    bool LoadBackground(const std::string& path) override {
        calls.push_back("LoadBackground " + path);
        return !unloadablePictures.count(path);
    }
    void HideWindow() override { calls.push_back("HideWindow"); }
    void StartMinuteTimer() override { calls.push_back("StartMinuteTimer"); }
    void ShowRuleEditor() override { calls.push_back("ShowRuleEditor"); }
    void ShowAbout() override { calls.push_back("ShowAbout"); }
    void EndProgram() override {
        calls.push_back("EndProgram");
        if (onEndProgram) onEndProgram();
    }
    bool IsElevated() override { return elevated; }
    bool RestartElevated() override {
        calls.push_back("RestartElevated");
        return restartAccepted;
    }
    kelvo::ClockTime LocalTime() override { return now; }
};

}  // namespace varnic::fakes
