// Stand-ins for kelvo's ports (no test framework: the fuzz targets use them too) and the main window wired
// to them. They tell one CallLog what they were asked: a test reads what happened, in order, in one place.
#pragma once

#include <functional>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "memory_ports.h"
#include "monitor/main_form.h"

namespace varnic::fakes {

// Everything around the main window but its files and its gauge surface.
// clang-format off
class FakeSystem : public ProcessLauncher, public MessageBoxes, public Clipboard, public Beeper, public Shell,
                   public MemoryProbe, public ProcessCounter, public Tray, public HotkeySystem,
                   public kelvo::MainWindowHost {
public:
    explicit FakeSystem(CallLog& log) : log(log) {}
    CallLog& log;
    std::set<std::string> missing;         // programs that cannot be started
    std::function<void(const std::string&)> whileBoxIsOpen;  // gets the text; what the timers do meanwhile
    std::function<void()> onEnd;           // what the view does when the program ends
    bool clipboardHeld = false;            // by another program
    MemoryStatus memory{45, 512ull << 20, 200ull << 20};
    int processes = 50;
    std::string tip;
    std::set<std::string> brokenPictures;
    std::map<std::int32_t, std::string> hotkeys;  // registered: id -> "modifiers+key"
    std::set<std::string> takenByOthers;          // "modifiers+key"
    int atoms = 0;                                // references to "NewMacro"
    std::uintptr_t procedure = 0x1000;            // the window's own; the hook is 0x2000
    std::vector<std::function<void()>> followed;  // the `ended` of each followed start, in order
    bool elevated = false, restartAccepted = true;

    // The hotkey's state in one text: "<id>:<modifiers>+<key> ... atoms=<n> own|hooked".
    std::string Hotkeys() const {
        std::string state;
        for (const auto& [id, key] : hotkeys) state += std::to_string(id) + ":" + key + " ";
        return state + "atoms=" + std::to_string(atoms) + (procedure == 0x1000 ? " own" : " hooked");
    }

    bool Start(const std::string& program, const std::string& commandLine, ShowWindow show) override {
        log.Add("start " + program + " [" + commandLine + "] " + std::to_string(static_cast<int>(show)));
        return !missing.count(program);
    }
    bool StartFollowed(const std::string& program, const std::string& commandLine, ShowWindow show,
                       std::function<void()> ended) override {
        return Start(program, commandLine, show) && (followed.push_back(std::move(ended)), true);
    }
    void Show(const std::string& text, const std::string& caption, MessageIcon icon) override {
        const char* kinds[] = {": ", " (critical): ", " (information): "};
        log.Add("box " + caption + kinds[static_cast<int>(icon)] + text);
        if (whileBoxIsOpen) whileBoxIsOpen(text);
    }
    bool Clear() override { return !clipboardHeld && log.Add("clear clipboard"); }
    void Beep() override { log.Add("beep"); }
    void Open(const std::string& target, const std::string& folder) override { log.Add("open " + target + " in " + folder); }
    MemoryStatus Read() override { return memory; }
    int Count() override { return log.Add("count processes") ? processes : 0; }
    void SendToTray() override { log.Add("tray SendToTray"); }
    void ShowFromTray() override { log.Add("tray ShowFromTray"); }
    void SetTip(const std::string& text) override { tip = text; }
    void SetMenuEnabled() override { log.Add("tray menu"); }
    void ShowProgramIcon() override { log.Add("tray program icon"); }
    void ShowGaugeIcon() override { log.Add("tray gauge icon"); }
    void ShowBalloon(const std::string& title, const std::string& text) override { log.Add("balloon " + title + ": " + text); }
    std::uint16_t AddAtom(const std::string& name) override {
        atoms += name == "NewMacro";
        return 0xC001;
    }
    void DeleteAtom(std::uint16_t atom) override { atoms -= atom == 0xC001; }
    bool Register(std::int32_t id, std::uint32_t modifiers, std::int32_t key) override {
        const std::string combination = std::to_string(modifiers) + "+" + std::to_string(key);
        return !takenByOthers.count(combination) && hotkeys.emplace(id, combination).second;
    }
    bool Unregister(std::int32_t id) override { return hotkeys.erase(id) > 0; }
    std::uintptr_t CurrentWindowProcedure() override { return procedure; }
    void SetWindowProcedure(std::uintptr_t p) override { procedure = p; }
    std::uintptr_t HotkeyWindowProcedure() override { return 0x2000; }
    std::intptr_t CallWindowProcedure(std::uintptr_t p, std::uint32_t message, std::uintptr_t, std::intptr_t) override {
        return log.Add("pass " + std::to_string(message) + (p == 0x1000 ? " to own" : " elsewhere")) ? 77 : 0;
    }
    std::optional<std::int16_t> AnsiCode(const std::string& text) override {  // one byte a character
        return text.empty() ? std::nullopt : std::optional<std::int16_t>(static_cast<unsigned char>(text[0]));
    }
    bool LoadBackground(const std::string& path) override { return log.Add("picture " + path) && !brokenPictures.count(path); }
    void HideWindow() override { log.Add("hide window"); }
    void StartMinuteTimer() override { log.Add("minute timer"); }
    void ShowRuleEditor() override { log.Add("show rule editor"); }
    void ShowAbout() override { log.Add("show about"); }
    bool IsElevated() override { return elevated; }
    bool RestartElevated() override { return log.Add("restart elevated") && restartAccepted; }
    kelvo::ClockTime LocalTime() override { return {9, 10}; }
    void EndProgram() override {
        log.Add("end program");
        if (onEnd) onEnd();
    }
};

class FakeGauge : public GaugeSurface {
public:
    explicit FakeGauge(CallLog& log) : log(log) {}
    CallLog& log;
    int InnerWidth() override { return 555; }
    void Clear() override { log.Add("gauge clear"); }
    void SetFontName(const std::string& name) override { log.Add("gauge font " + name); }
    void Print(const std::string& text) override { log.Add("gauge print " + text); }
    void SetLineWidth(int pixels) override { log.Add("gauge width " + std::to_string(pixels)); }
    void Line(int x1, int y1, int x2, int y2, Rgb c) override {
        auto pair = [](int a, int b) { return std::to_string(a) + "," + std::to_string(b); };
        log.Add("gauge line " + pair(x1, y1) + " " + pair(x2, y2) + " " + pair(c.r, c.g) + "," + std::to_string(c.b));
    }
};

// The Western code page: the settings and rule files hold one byte a character, the core UTF-8.
class Latin1Codec : public AnsiCodec {
public:
    std::string ToUtf8(const std::string& ansi) override {
        std::string utf8;
        for (unsigned char c : ansi)
            utf8 += c < 0x80 ? std::string(1, c) : std::string{char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
        return utf8;
    }
    std::string FromUtf8(const std::string& utf8) override {
        std::string ansi;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            const unsigned char c = utf8[i];
            ansi += c < 0x80 || i + 1 == utf8.size() ? char(c) : char((c & 0x03) << 6 | (utf8[++i] & 0x3F));
        }
        return ansi;
    }
};

inline const std::string kDir = "C:\\V";
inline const std::string kClean = "start C:\\V\\empty.exe [empty.exe  *] 0";  // the Command1 action
inline const std::string kSaveSettings = "write C:\\V\\Setting.ini";

// kelvo's main window in the installation folder C:\V, driven as the user and the timers do.
struct Kelvo {
    CallLog log;
    FakeFileSystem files;
    Latin1Codec codec;
    FakeSystem sys{log};
    FakeGauge gauge{log};
    kelvo::Form1 form;

    explicit Kelvo(Language language = Language::kChinese)
        : form({files, codec, sys, sys, sys, sys, sys, sys, sys, sys, gauge, sys}, sys, kDir, language) {
        files.log = &log;
        sys.onEnd = [this] { log.Add(form.Form_Unload() ? "stays" : "unloaded"); };
    }
    void Put(const std::string& name, std::string bytes) { files.files[kDir + name] = std::move(bytes); }
    std::string File(const std::string& name) { return files.files.count(kDir + name) ? files.files[kDir + name] : "-"; }
    // Text1, Check1, Check2, the tray option and cb1's index: "E 1 1 op2 0".
    std::string Controls() const {
        const char* option = form.op1.value == form.op2.value ? " op? " : form.op1.value ? " op1 " : " op2 ";
        return form.Text1.text + " " + std::to_string(form.Check1.value) + " " + std::to_string(form.Check2.value) +
               option + std::to_string(form.cb1.listIndex);
    }
    // Steps: "load", "tick", "minute", "close", "hotkey" (Ctrl+letter pressed), a click by the control's name
    // ("Check2"...), "Text1=q", "cb1=3", "menu=exitt", "free=15" (percent of memory free), "missing=empty.exe"
    // (cannot be started), "held" (the clipboard, by another program), "area=2" (an entry of the memory-area
    // submenu), "refused" (the administrator's restart), "ended" (the cleans followed so far end).
    void Do(const std::string& steps) {
        using F = kelvo::Form1;
        static const std::map<std::string, void (F::*)()> clicks = {
            {"Command1", &F::Command1_Click}, {"Command2", &F::Command2_Click}, {"Command3", &F::Command3_Click},
            {"Label4", &F::Label4_Click}, {"Label7", &F::Label7_Click}, {"Label8", &F::Label8_Click},
            {"Label9", &F::Label9_Click}, {"Label15", &F::Label15_Click}, {"Label16", &F::Label16_Click},
            {"Background", &F::Background_Click}, {"Check1", &F::UserClickedCheck1}, {"Check2", &F::UserClickedCheck2},
            {"op1", &F::UserClickedOp1}, {"op2", &F::UserClickedOp2}, {"tick", &F::Timer1_Tick}, {"minute", &F::Timer2_Tick}};
        std::istringstream in(steps);
        for (std::string step, key, value; in >> step;) {
            key = step.substr(0, step.find('='));
            value = step.substr(std::min(step.find('='), step.size() - 1) + 1);
            if (clicks.count(key)) (form.*clicks.at(key))();
            else if (key == "load") form.Form_Load("");
            else if (key == "close") log.Add(form.Form_Unload() ? "stays" : "unloaded");
            else if (key == "hotkey") form.HotkeyModule().HotkeyWndProc(kWmHotkey, static_cast<std::uintptr_t>(-16383), 0);
            else if (key == "Text1") form.UserEditedText1(value);
            else if (key == "cb1") form.UserSelectedCb1(std::stoi(value));
            else if (key == "menu") form.MenuClicked(value);
            else if (key == "free") sys.memory.memoryLoad = 100 - std::stoi(value);
            else if (key == "missing") sys.missing.insert(kDir + "\\" + value);
            else if (key == "held") sys.clipboardHeld = true;
            else if (key == "refused") sys.restartAccepted = false;
            else if (key == "area") form.AreaMenuClicked(std::stoul(value));
            else if (key == "ended") for (auto& end : std::exchange(sys.followed, {})) end();
            else throw std::invalid_argument(step);
        }
    }
};
// clang-format on

}  // namespace varnic::fakes
