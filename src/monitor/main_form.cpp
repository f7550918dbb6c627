#include "monitor/main_form.h"

#include <limits>

#include "base/app_files.h"
#include "base/numbers.h"
#include "base/web_addresses.h"
#include "monitor/clean_texts.h"
#include "monitor/main_form_layout.h"

namespace varnic::kelvo {
namespace {

constexpr std::size_t kOneShotMessageLimit = 65400;  // the one-shot message buffer, in bytes

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// Holds the timers' cleaning back for the stretch of a timer tick, which may clean and so may
// show a modal box.
class TickHold {
public:
    explicit TickHold(int& holds) : holds_(holds) { ++holds_; }
    ~TickHold() { --holds_; }
    TickHold(const TickHold&) = delete;
    TickHold& operator=(const TickHold&) = delete;

private:
    int& holds_;
};

std::int16_t ToInt16(int value) {
    if (value > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    if (value < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(value);
}

}  // namespace

Form1::Form1(MainFormPorts ports, MainWindowHost& host, std::string appDir, Language language)
    : ports_(ports),
      host_(host),
      appDir_(std::move(appDir)),
      language_(language),
      lineFiles_(ports.files, ports.codec),
      ruleFiles_(lineFiles_, appDir_),
      cleaning_({ports.launcher, ports.clipboard, ports.beeper, ports.messages}, appDir_, language),
      hotkey_(ports.hotkeySystem,
              [this] { cleaning_.CleanMemory(CleanCommandLine(areas_), WhenCleanEnds(CleanOrigin::kUser)); }) {
    LayOut(*this, language);
}

MenuEntryModel& Form1::MenuEntry(const std::string& name) {
    for (auto& entry : tt)
        if (entry.name == name) return entry;
    return tt.front();  // every name asked for is one of the menu's own
}

// ---------------------------------------------------------------------------------------------
// Start-up and the close request

void Form1::Form_Load(const std::string& argumentString) {
    // Every step stands alone: a step that fails is skipped and start-up goes on.
    FileSystem& files = ports_.files;
    if (files.Exists(File("\\back.gif"))) host_.LoadBackground(appDir_ + "/back.gif");
    if (files.Exists(File("\\back.jpg"))) host_.LoadBackground(appDir_ + "/back.jpg");
    if (files.Exists(File("\\temp\\vr.ini"))) files.Delete(File("\\temp\\vr.ini"));
    if (files.Exists(File("\\1.txt"))) {
        files.Copy(File("\\tmp.exe"), File("\\kelvo.exe"));
        files.Delete(File("\\1.txt"));
    }
    if (files.Exists(File("\\2.txt"))) {
        // An unreadable file still shows the (empty) message and is still removed.
        std::string message = ports_.codec.ToUtf8(files.Read(File("\\2.txt"), kOneShotMessageLimit).value_or(""));
        ports_.messages.Show(message, kApplicationTitle, MessageIcon::None);
        files.Delete(File("\\2.txt"));
    }
    for (int index = 0; index < kRuleCount; ++index) cb1.items.emplace_back(Text(Rule(index).name, language_));
    ReadSettings();
    areas_ = ReadAreaChoice(lineFiles_, File("\\Areas.ini"));
    elevated_ = host_.IsElevated();
    CheckState();
    host_.StartMinuteTimer();
    if (argumentString == "-sendme") {
        ports_.tray.SendToTray();
        host_.HideWindow();
    }
    GetProcNum();
    cleaning_.EmptyOwnWorkingSet();
    HideOnClose = 1;
    if (Check2.value == 1) hotkey_.SetHotkey(Text1.text);
    ports_.tray.SetMenuEnabled();
    if (op1.value) ShowProgramIcon();
    ShowRuleCaption();
}

bool Form1::Form_Unload() {
    bool cancel = false;
    if (HideOnClose == 0) {
        hotkey_.RemoveHotkey();
        WriteSettings();
    }
    if (HideOnClose == 1) {
        cancel = true;
        WriteSettings();
        ports_.tray.SendToTray();
    }
    return cancel;
}

void Form1::Unload() { host_.EndProgram(); }

// ---------------------------------------------------------------------------------------------
// The monitor tick and the minute tick

std::int32_t Form1::Round(double Zahl) {
    auto rounded = RoundHalfAway(Zahl);
    if (rounded) return *rounded;
    return Zahl < 0 ? std::numeric_limits<std::int32_t>::min() : std::numeric_limits<std::int32_t>::max();
}

void Form1::Timer1_Tick() {
    memoryStatus = ports_.memory.Read();
    const int load = static_cast<int>(memoryStatus.memoryLoad);
    const int freePercent = 100 - load;
    const std::int64_t totalMb = Round(static_cast<double>(memoryStatus.totalPhys) / 1024 / 1024);
    const std::int64_t availableMb = Round(static_cast<double>(memoryStatus.availPhys) / 1024 / 1024);
    const std::int64_t usedMb = totalMb - availableMb;

    Label6.caption = Fill(Says(MonitorText::kPercent), {Decimal(load)});
    Label1.caption = Fill(Says(MonitorText::kMegabytes), {Decimal(totalMb)});
    Label5.caption = Fill(Says(MonitorText::kMegabytes), {Decimal(availableMb)});
    if (op2.value) DrawGauge(availableMb, freePercent);
    bar1Value = freePercent;
    if (bar1_) bar1_->SetValue(freePercent);
    Label10.caption = Fill(Says(MonitorText::kPercent), {Decimal(freePercent)});
    // The tip is built in place: twice a second for the program's whole life, it keeps its buffer.
    trayTip_.clear();
    AppendFilled(trayTip_, Says(MonitorText::kTrayTip), {Decimal(availableMb), Decimal(freePercent), Decimal(usedMb)});
    if (!lastCleanLine_.empty()) trayTip_.append("\r\n").append(lastCleanLine_);
    ports_.tray.SetTip(trayTip_);
    if (Text1.text != lettersShownFor_) {  // both texts follow the hotkey letter
        lettersShownFor_ = Text1.text;
        Check2.tooltip = Fill(Says(MonitorText::kUseHotkeyTip), {Text1.text});
        MenuEntry("nowyouhua").caption = Fill(Says(MonitorText::kMenuCleanNowWithHotkey), {Text1.text});
    }

    // A failed clean shows a modal box, and the timers keep ticking inside it: those ticks
    // refresh the figures but start nothing until the box is closed.
    if (tickHolds_ > 0) return;
    const TickHold hold(tickHolds_);
    if (freePercent < 20 && LowMemoryCleanCount < 5) {
        ++LowMemoryCleanCount;  // counted first: however the attempt ends, it is one of the five
        StartClean(CleanOrigin::kBackground);
    }
    if (freePercent > 20) LowMemoryCleanCount = 0;

    if (Check1.value == 1)
        engine.ProcessCountTick(ports_.processes.Count(), [this] { StartClean(CleanOrigin::kBackground); });
}

void Form1::DrawGauge(std::int64_t availableMb, int freePercent) {
    GaugeSurface& p1 = ports_.gauge;
    const GaugeFace face{availableMb, static_cast<int>((p1.InnerWidth() - 20) * freePercent / 100.0)};
    // The same digits and bar make the same icon: the tray keeps the one it has.
    if (gaugeShown_ == face) return;
    gaugeShown_ = face;
    p1.Clear();
    p1.SetFontName("Abadi MT Condensed Extra Bold");
    p1.Print(Decimal(availableMb));
    p1.Line(20, 370, p1.InnerWidth() - 20, 370, {96, 96, 191});
    p1.Line(20, 370, face.barEnd, 370, {250, 250, 250});
    p1.SetLineWidth(2);
    p1.Line(20, 320, p1.InnerWidth() - 20, 320, {0, 0, 0});
    p1.Line(20, 420, p1.InnerWidth() - 20, 420, {0, 0, 0});
    p1.Line(20, 320, 20, 420, {0, 0, 0});
    p1.Line(p1.InnerWidth() - 20, 320, p1.InnerWidth() - 20, 420, {0, 0, 0});
    p1.SetLineWidth(6);
    ports_.tray.ShowGaugeIcon();
}

void Form1::ShowProgramIcon() {
    gaugeShown_.reset();  // the next gauge tick draws again
    ports_.tray.ShowProgramIcon();
}

void Form1::Timer2_Tick() {
    if (tickHolds_ > 0) return;  // a minute that ends inside a tick's box is not counted
    const TickHold hold(tickHolds_);
    engine.MinuteTick(Check1.value == 1, [this] { StartClean(CleanOrigin::kBackground); });
}

// ---------------------------------------------------------------------------------------------
// Rules

void Form1::CheckState() {
    const int index = cb1.listIndex;
    if (index >= 0 && index < kRuleCount) {
        if (auto record = ruleFiles_.Read(index)) engine.Apply(*record);
    }
    ShowRuleCaption();
    MenuEntry("dangqianrule").caption = Label15.caption;
}

void Form1::ShowRuleCaption() { Label15.caption = Fill(Says(MonitorText::kCurrentRule), {cb1.Text()}); }

void Form1::GetProcNum() { engine.ProcNum = ToInt16(ports_.processes.Count()); }

// ---------------------------------------------------------------------------------------------
// Settings: five lines, "0" meaning on for lines 2 to 4.

void Form1::ReadSettings() {
    const std::string path = File("\\Setting.ini");
    if (!lineFiles_.NameTaken(path)) lineFiles_.Write(path, {"E", "0", "0", "0", "0"});
    // A file that cannot be created or read leaves the controls as they are.
    auto lines = lineFiles_.Read(path, 5);
    if (!lines) return;
    std::array<std::string, 5> slot;
    for (std::size_t i = 0; i < lines->size(); ++i) slot[i] = (*lines)[i];

    SetText1(slot[0]);
    SetCheck1(LeadingNumber(slot[1]) == 0 ? 1 : 0);
    SetCheck2(LeadingNumber(slot[2]) == 0 ? 1 : 0);
    if (LeadingNumber(slot[3]) == 0)
        SelectOp2();
    else
        SelectOp1();
    const double rule = LeadingNumber(slot[4]);
    if (rule == 0 || rule == 1 || rule == 2 || rule == 3) SetCb1ListIndex(static_cast<int>(rule));
}

void Form1::WriteSettings() {
    const int index = cb1.listIndex;
    lineFiles_.Write(File("\\Setting.ini"), {
                                                Text1.text.empty() ? "F" : Text1.text,
                                                Check1.value == 1 ? "0" : "1",
                                                Check2.value == 1 ? "0" : "1",
                                                op2.value ? "0" : "1",
                                                index >= 0 && index < kRuleCount ? Decimal(index) : "",
                                            });
}

// ---------------------------------------------------------------------------------------------
// Assignments that raise handlers

void Form1::SetText1(const std::string& text) {
    if (text == Text1.text) return;
    Text1.text = text;
    Text1_Change();
}

void Form1::SetCheck1(int value) { Check1.value = value; }  // Check1 has no handler

void Form1::SetCheck2(int value) {
    if (value == Check2.value) return;
    Check2.value = value;
    Check2_Click();
}

void Form1::SelectOp1() {
    if (op1.value) return;
    op1.value = true;
    op2.value = false;
    op1_Click();
}

void Form1::SelectOp2() {
    if (op2.value) return;
    op2.value = true;
    op1.value = false;
    op2_Click();
}

void Form1::SetCb1ListIndex(int index) {
    if (index == cb1.listIndex) return;
    cb1.listIndex = index;
    cb1_Click();
}

// ---------------------------------------------------------------------------------------------
// Handlers

void Form1::Text1_Change() {
    SetText1(UpperCase(Text1.text));
    if (!Text1.text.empty() && Check2.value == 1) hotkey_.SetHotkey(Text1.text);
    WriteSettings();
}

void Form1::Check2_Click() {
    if (Check2.value == 0) {
        hotkey_.RemoveHotkey();
    } else if (Check2.value == 1) {
        hotkey_.SetHotkey(Text1.text);
    }
    WriteSettings();
}

void Form1::op1_Click() {
    ShowProgramIcon();
    WriteSettings();
}

void Form1::op2_Click() { WriteSettings(); }

void Form1::cb1_Click() {
    ShowRuleCaption();
    WriteSettings();
    CheckState();
}

// ---------------------------------------------------------------------------------------------
// Commands

void Form1::Command1_Click() { StartClean(CleanOrigin::kUser); }

// The start is not waited for. A clean of the timers holds their cleaning back until its
// outcome is known and its failure box closed, so that boxes raised by the timers never stack.
void Form1::StartClean(CleanOrigin origin, std::function<void()> then) {
    const bool byTimer = origin == CleanOrigin::kBackground;
    if (byTimer) ++tickHolds_;
    cleaning_.Command1Action(CleanCommandLine(areas_), WhenCleanEnds(origin), [this, byTimer, then = std::move(then)] {
        if (byTimer) --tickHolds_;
        if (then) then();
    });
}

// The available memory is read as the clean starts and again when empty.exe has ended.
std::function<void()> Form1::WhenCleanEnds(CleanOrigin origin) {
    return [this, origin, before = ports_.memory.Read().availPhys] {
        const CleanReport report =
            ReportClean(origin, before, ports_.memory.Read().availPhys, host_.LocalTime(), language_);
        lastCleanLine_ = report.tipLine;  // the next tick shows it
        if (report.balloon) ports_.tray.ShowBalloon(kApplicationTitle, *report.balloon);
    };
}

void Form1::Command2_Click() {
    ports_.tray.SendToTray();
    WriteSettings();
}

void Form1::Command3_Click() {
    // Opens below 1000 twips over the folded height, folds above it; at exactly 1000 it stays.
    const int d = height - kFoldedHeight;
    if (d < 1000) {
        height = kOpenHeight;
        f1.visible = true;
        Label4.place.top = 6360;
        f1.place.top = 4080;
    } else if (d > 1000) {
        height = kFoldedHeight;
        f1.visible = false;
        Label4.place.top = 4080;
        f1.place.top = 9000;
    }
}

void Form1::Label7_Click() {
    if (!ports_.launcher.Start(File("\\tarnel.exe"), "tarnel.exe", ShowWindow::Normal))
        ports_.messages.Show(std::string(Says(MonitorText::kUpdaterFailed)), kApplicationTitle, MessageIcon::None);
    HideOnClose = 0;
    Unload();
}

void Form1::Label8_Click() { host_.ShowAbout(); }
void Form1::Label9_Click() { OpenWebPage(web::kFirstDownloadPage); }
void Form1::Label4_Click() { OpenWebPage(web::kMakerBlog); }
void Form1::Label15_Click() { Command3_Click(); }
void Form1::Label16_Click() { host_.ShowRuleEditor(); }
void Form1::Background_Click() { Command3_Click(); }

void Form1::OpenWebPage(const std::string& address) { ports_.shell.Open(address, appDir_); }

void Form1::UserClickedCheck1() { SetCheck1(Check1.value == 1 ? 0 : 1); }
void Form1::UserClickedCheck2() { SetCheck2(Check2.value == 1 ? 0 : 1); }
void Form1::UserClickedOp1() { SelectOp1(); }
void Form1::UserClickedOp2() { SelectOp2(); }
void Form1::UserEditedText1(const std::string& text) { SetText1(text); }
void Form1::UserSelectedCb1(int index) { SetCb1ListIndex(index); }

void Form1::MenuClicked(const std::string& entryName) {
    if (entryName == "show") {
        ports_.tray.ShowFromTray();
    } else if (entryName == "updatemenu") {
        Label7_Click();
    } else if (entryName == "cleanchip") {
        cleaning_.ClearClipboard();
    } else if (entryName == "nowyouhua") {
        StartClean(CleanOrigin::kUser, [this] {
            cleaning_.ClearClipboard();
            cleaning_.Beep();
        });
    } else if (entryName == "exitt") {
        HideOnClose = 0;
        Unload();
    }
}

// ---------------------------------------------------------------------------------------------
// The memory-area submenu

std::vector<AreaMenuEntry> Form1::AreaMenu() const {
    std::vector<AreaMenuEntry> menu{{std::string(Text(CleanText::kMenuWorkingSets, language_)), true, false}};
    for (MemoryArea area : kMemoryAreas) {
        std::string name(Text(FactsOf(area).name, language_));
        if (language_ == Language::kEnglish && name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 32);
        if (!elevated_) name = Fill(Text(CleanText::kNeedsAdministrator, language_), {name});
        menu.push_back({name, areas_.Has(area), true});
    }
    if (!elevated_) menu.push_back({std::string(Text(CleanText::kMenuRestartElevated, language_)), false, true});
    return menu;
}

void Form1::AreaMenuClicked(std::size_t index) {
    if (index >= 1 && index <= std::size(kMemoryAreas)) {
        const MemoryArea area = kMemoryAreas[index - 1];
        areas_.Set(area, !areas_.Has(area));
        WriteAreaChoice(lineFiles_, File("\\Areas.ini"), areas_);
    } else if (index == std::size(kMemoryAreas) + 1 && !elevated_) {
        // The hotkey is let go first, so that the elevated kelvo can take it.
        hotkey_.RemoveHotkey();
        if (host_.RestartElevated()) {
            HideOnClose = 0;
            Unload();
        } else if (Check2.value == 1) {
            hotkey_.SetHotkey(Text1.text);
        }
    }
}

}  // namespace varnic::kelvo
