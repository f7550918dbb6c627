// Form1 of kelvo: the main window as a model. It holds every control's state, runs start-up and
// the close request, the 500 ms monitor tick and the minute tick, and every command of the
// window and its tray menu. Assigning a control's value through its setter raises that
// control's handler, once, and only when the value really changes, as the window has always
// behaved; the settings file and the hotkey rely on that cascade.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/form_controls.h"
#include "base/language.h"
#include "base/line_file.h"
#include "base/ports.h"
#include "cleaner/area_choice.h"
#include "cleaner/cleaning_actions.h"
#include "cleaner/hotkey.h"
#include "monitor/clean_report.h"
#include "monitor/monitor_ports.h"
#include "monitor/monitor_texts.h"
#include "rules/rule_engine.h"
#include "rules/rule_files.h"

namespace varnic::kelvo {

// What the model asks of its own window and of the program around it.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;
    virtual bool LoadBackground(const std::string& path) = 0;  // false when the picture cannot be loaded
    virtual void HideWindow() = 0;
    virtual void StartMinuteTimer() = 0;  // Timer2, every 60000 ms from now on
    virtual void ShowRuleEditor() = 0;  // modeless, one instance
    virtual void ShowAbout() = 0;       // modeless, one instance
    virtual void EndProgram() = 0;      // the window really unloads
    virtual bool IsElevated() = 0;      // kelvo holds the administrator's rights
    // Starts kelvo again, asking the user for the administrator's rights; false when the
    // user declined or it could not start.
    virtual bool RestartElevated() = 0;
    virtual ClockTime LocalTime() = 0;
};

struct MainFormPorts {
    FileSystem& files;
    AnsiCodec& codec;
    ProcessLauncher& launcher;
    MemoryProbe& memory;
    ProcessCounter& processes;
    Clipboard& clipboard;
    Beeper& beeper;
    MessageBoxes& messages;
    Shell& shell;
    Tray& tray;
    GaugeSurface& gauge;
    HotkeySystem& hotkeySystem;
};

// The bar's only run-time property; the view connects it to the progress-bar control.
class FreeMemoryBar {
public:
    virtual ~FreeMemoryBar() = default;
    virtual void SetValue(std::int32_t value) = 0;
};

// An entry of the tray's memory-area submenu.
struct AreaMenuEntry {
    std::string caption;
    bool checked = false;
    bool enabled = true;
};

inline constexpr int kFoldedHeight = 4750;  // outer window height in twips, panel folded in
inline constexpr int kOpenHeight = 7050;    // panel open
inline constexpr int kNonClientHeight = 475;  // title bar and borders of the designed window

class Form1 {
public:
    Form1(MainFormPorts ports, MainWindowHost& host, std::string appDir, Language language = Language::kChinese);
    Language SpokenLanguage() const { return language_; }

    // --- life cycle -------------------------------------------------------------------------
    void Form_Load(const std::string& argumentString);
    // The close request; answers the cancel flag (true: the window stays loaded).
    bool Form_Unload();
    void Timer1_Tick();
    void Timer2_Tick();

    // --- user actions, as the view reports them ------------------------------------------------
    void Command1_Click();   // clean now
    void Command2_Click();   // run in the background (to the tray)
    void Command3_Click();   // the panel toggle
    void Label7_Click();     // the update command
    void Label8_Click();     // about
    void Label9_Click();     // download page
    void Label4_Click();     // the maker's blog
    void Label15_Click();
    void Label16_Click();    // rule editor
    void Background_Click();
    void UserClickedCheck1();
    void UserClickedCheck2();
    void UserClickedOp1();
    void UserClickedOp2();
    void UserEditedText1(const std::string& text);
    void UserSelectedCb1(int index);
    void MenuClicked(const std::string& entryName);  // an entry of the tray menu tt
    // The memory-area submenu: the working sets (always on), the areas in the order they are
    // emptied, and, while kelvo is not elevated, the entry that restarts it elevated.
    std::vector<AreaMenuEntry> AreaMenu() const;
    void AreaMenuClicked(std::size_t index);

    // --- assignments that raise the control's handler when the value changes ----------------
    void SetText1(const std::string& text);
    void SetCheck1(int value);
    void SetCheck2(int value);
    void SelectOp1();
    void SelectOp2();
    void SetCb1ListIndex(int index);

    // --- shared procedures --------------------------------------------------------------------
    void CheckState();
    void GetProcNum();
    void ReadSettings();
    void WriteSettings();
    // The hotkey's window procedure, for the view while the hotkey is installed.
    Hotkey& HotkeyModule() { return hotkey_; }

    static std::int32_t Round(double Zahl);

    // --- controls --------------------------------------------------------------------------
    std::string caption;
    int height = kFoldedHeight;  // outer height, twips
    LabelModel Label1, Label5, Label6, Label10, Label15, Label4, Label16;
    LabelModel Label2_0, Label2_1, Label2_4, Label3, Label12, Label13, Label14, Label11;
    ButtonModel Command1, Command2, Command3, Label7, Label8, Label9;
    CheckBoxModel Check1, Check2;
    OptionModel op1, op2;
    ComboBoxModel cb1;
    TextBoxModel Text1;
    FrameModel f1;
    std::vector<MenuEntryModel> tt;
    std::int32_t bar1Value = 0;  // the last value given to bar1

    void ConnectBar(FreeMemoryBar* bar) { bar1_ = bar; }
    MenuEntryModel& MenuEntry(const std::string& name);

    // --- members ------------------------------------------------------------------------------
    std::int16_t HideOnClose = 0;
    std::int16_t LowMemoryCleanCount = 0;
    RuleEngine engine;
    MemoryStatus memoryStatus;

private:
    void Text1_Change();
    void Check2_Click();
    void op1_Click();
    void op2_Click();
    void cb1_Click();
    void nowyouhua_Click();
    void StartClean(CleanOrigin origin, std::function<void()> then = {});
    std::function<void()> WhenCleanEnds(CleanOrigin origin);
    void exitt_Click();
    void Unload();
    void DrawGauge(std::int64_t availableMb, int freePercent);
    void ShowProgramIcon();
    void OpenWebPage(const std::string& address);
    void ShowRuleCaption();
    std::string_view Says(MonitorText name) const { return Text(name, language_); }
    std::string File(const char* backslashName) const { return appDir_ + backslashName; }

    MainFormPorts ports_;
    MainWindowHost& host_;
    std::string appDir_;
    Language language_;
    LineFiles lineFiles_;
    RuleFiles ruleFiles_;
    CleaningActions cleaning_;
    AreaChoice areas_;
    bool elevated_ = false;
    std::string lastCleanLine_;  // the tray tip's line about the last clean that ended
    Hotkey hotkey_;
    FreeMemoryBar* bar1_ = nullptr;
    std::string trayTip_;
    // What the gauge icon in the tray shows: the available MB and where the white bar ends.
    // Empty while the tray shows the program's icon.
    struct GaugeFace {
        std::int64_t availableMb;
        int barEnd;
        friend bool operator==(const GaugeFace&, const GaugeFace&) = default;
    };
    std::optional<GaugeFace> gaugeShown_;
    std::optional<std::string> lettersShownFor_;  // the letter the hotkey texts were last made for
    // Above 0 while a timer tick runs, and for each clean of the timers until its start's
    // outcome is known and its failure box, if any, closed.
    int tickHolds_ = 0;
};

}  // namespace varnic::kelvo
