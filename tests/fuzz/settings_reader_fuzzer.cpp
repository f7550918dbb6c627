// The main window's start-up over an arbitrary "\Setting.ini": the controls end in states they
// can have, the hotkey is installed exactly when its check box is on, and the settings written
// back read the same way again.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "fuzz_support.h"
#include "monitor/main_form.h"

namespace varnic::fuzz {
namespace {

class FixedMemory final : public MemoryProbe {
public:
    MemoryStatus Read() override { return {45, 512ull << 20, 200ull << 20}; }
};

class FixedProcesses final : public ProcessCounter {
public:
    int Count() override { return 50; }
};

class FreeClipboard final : public Clipboard {
public:
    bool Clear() override { return true; }
};

class SilentBeeper final : public Beeper {
public:
    void Beep() override {}
};

class NoShell final : public Shell {
public:
    void Open(const std::string&, const std::string&) override {}
};

class NoTray final : public Tray {
public:
    void SendToTray() override {}
    void ShowFromTray() override {}
    void SetTip(const std::string&) override {}
    void SetMenuEnabled() override {}
    void ShowProgramIcon() override {}
    void ShowGaugeIcon() override {}
};

class BlankGauge final : public GaugeSurface {
public:
    int InnerWidth() override { return 555; }
    void Clear() override {}
    void SetFontName(const std::string&) override {}
    void Print(const std::string&) override {}
    void SetLineWidth(int) override {}
    void Line(int, int, int, int, Rgb) override {}
};

// Keeps registrations, atom references and the window procedure as the system would.
class CountingHotkeys final : public HotkeySystem {
public:
    static constexpr std::uintptr_t kOwn = 0x1000, kHook = 0x2000;
    int atomReferences = 0;
    std::map<std::int32_t, std::int32_t> registered;
    std::uintptr_t procedure = kOwn;

    std::uint16_t AddAtom(const std::string&) override {
        ++atomReferences;
        return 0xC001;
    }
    void DeleteAtom(std::uint16_t) override {
        FUZZ_CHECK(atomReferences > 0);
        --atomReferences;
    }
    bool Register(std::int32_t id, std::uint32_t, std::int32_t key) override {
        return registered.emplace(id, key).second;
    }
    bool Unregister(std::int32_t id) override { return registered.erase(id) > 0; }
    std::uintptr_t CurrentWindowProcedure() override { return procedure; }
    void SetWindowProcedure(std::uintptr_t p) override { procedure = p; }
    std::uintptr_t HotkeyWindowProcedure() override { return kHook; }
    std::intptr_t CallWindowProcedure(std::uintptr_t p, std::uint32_t, std::uintptr_t, std::intptr_t) override {
        FUZZ_CHECK(p == kOwn);
        return 0;
    }
    std::optional<std::int16_t> AnsiCode(const std::string& text) override {
        if (text.empty()) return std::nullopt;
        return static_cast<std::int16_t>(static_cast<unsigned char>(text[0]));
    }
};

class QuietHost final : public kelvo::MainWindowHost {
public:
    bool LoadBackground(const std::string&) override { return true; }
    void HideWindow() override {}
    void StartMinuteTimer() override {}
    void ShowRuleEditor() override {}
    void ShowAbout() override {}
    void EndProgram() override {}
};

struct SettingsState {
    std::string text;
    int check1, check2;
    bool op1, op2;
    int rule;
};

// A main window started in a folder holding `settings` as its settings file.
struct StartedWindow {
    FakeFileSystem files;
    IdentityCodec codec;
    NoLauncher launcher;
    FixedMemory memory;
    FixedProcesses processes;
    FreeClipboard clipboard;
    SilentBeeper beeper;
    QuietMessages messages;
    NoShell shell;
    NoTray tray;
    BlankGauge gauge;
    CountingHotkeys hotkeys;
    QuietHost host;
    kelvo::Form1 form{{files, codec, launcher, memory, processes, clipboard, beeper, messages, shell, tray, gauge,
                       hotkeys},
                      host, kDir};

    explicit StartedWindow(const std::string& settings) {
        files.files[kDir + "\\Setting.ini"] = settings;
        form.Form_Load("");
    }

    SettingsState State() const {
        return {form.Text1.text, form.Check1.value, form.Check2.value, form.op1.value, form.op2.value,
                form.cb1.listIndex};
    }

    void CheckConsistent() const {
        const SettingsState s = State();
        FUZZ_CHECK(s.check1 == 0 || s.check1 == 1);
        FUZZ_CHECK(s.check2 == 0 || s.check2 == 1);
        FUZZ_CHECK(s.op1 != s.op2);
        FUZZ_CHECK(s.rule >= -1 && s.rule < kRuleCount);
        for (char c : s.text) FUZZ_CHECK(!(c >= 'a' && c <= 'z'));  // the key letter is kept in upper case
        // The hotkey is there exactly while its check box is on, once.
        const int installed = s.check2 == 1 ? 1 : 0;
        FUZZ_CHECK(hotkeys.atomReferences == installed);
        FUZZ_CHECK(static_cast<int>(hotkeys.registered.size()) == installed);
        FUZZ_CHECK(hotkeys.procedure == (installed ? CountingHotkeys::kHook : CountingHotkeys::kOwn));
    }
};

}  // namespace
}  // namespace varnic::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnic::fuzz;
    StartedWindow first(std::string(reinterpret_cast<const char*>(data), size));
    first.CheckConsistent();

    // What the window writes when it closes is read back to the same controls, except for the
    // two values the file cannot hold: an empty key letter is written as "F" and no rule at all
    // as an empty line, which reads as rule 0.
    first.form.WriteSettings();
    StartedWindow second(first.files.files[kDir + "\\Setting.ini"]);
    second.CheckConsistent();
    const SettingsState a = first.State(), b = second.State();
    if (!a.text.empty()) FUZZ_CHECK(a.text == b.text);
    FUZZ_CHECK(a.check1 == b.check1);
    FUZZ_CHECK(a.check2 == b.check2);
    FUZZ_CHECK(a.op1 == b.op1 && a.op2 == b.op2);
    if (a.rule != -1) FUZZ_CHECK(a.rule == b.rule);
    return 0;
}
