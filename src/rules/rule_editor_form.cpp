// Form2: the rule editor's controls, the cascade of its handlers and its four methods.
#include "rules/rule_editor_form.h"

#include <cmath>
#include <cstdio>

#include "base/app_files.h"
#include "base/numbers.h"

namespace varnic::kelvo {
namespace {

constexpr const char* kNumberOfSwitchedOffTrigger = "9";

template <typename Control>
void Place(Control& control, int left, int top, int width, int height, std::string_view caption) {
    control.place = {left, top, width, height};
    control.caption = caption;
}

bool IsPositive(const std::string& text) { return LeadingNumber(text) > 0; }

std::string Flag(bool on) { return std::string(1, on ? '1' : '0'); }

}  // namespace

std::string RuleEditorHelpNote(Language language) { return std::string(Text(RuleText::kHelpNote, language)); }

std::string NumberText(double value) {
    if (std::isfinite(value) && std::trunc(value) == value && std::fabs(value) < 1e15)
        return Decimal(static_cast<std::int64_t>(value));
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return buffer;
}

Form2::Form2(RuleEditorPorts ports, std::string appDir, RuleEditorLinks links, Language language)
    : ports_(ports), language_(language), lineFiles_(ports.files, ports.codec),
      ruleFiles_(lineFiles_, std::move(appDir)), links_(std::move(links)) {
    caption = Says(RuleText::kEditorCaption);
    Place(Label5, 0, 240, 2175, 255, Says(RuleText::kChooseRule));
    cb1.place = {2160, 240, 2295, 300};
    Place(Frame1, 0, 720, 4455, 2535, Says(RuleText::kDetails));
    Place(Check1, 240, 360, 2415, 375, Says(RuleText::kProcessTrigger));
    Place(Label1, 480, 840, 1095, 255, Says(RuleText::kProcessChangesBefore));
    Text1.place = {1560, 840, 375, 270};
    Place(Label2, 1920, 840, 1695, 255, Says(RuleText::kProcessChangesAfter));
    Place(Check2, 240, 1320, 2535, 375, Says(RuleText::kTimedTrigger));
    Place(Label3, 480, 1920, 495, 255, Says(RuleText::kMinutesBefore));
    Text2.place = {840, 1920, 375, 270};
    Place(Label4, 1200, 1920, 1935, 255, Says(RuleText::kMinutesAfter));
    Text3.place = {4560, 120, 1815, 3135};
    Text3.text = Says(RuleText::kHelpNote);
    Place(xpButton1, 240, 3480, 1215, 495, Says(RuleText::kSave));
    Place(xpButton2, 2520, 3480, 1215, 495, Says(RuleText::kClose));
    Place(xpButton3, 4920, 3480, 1215, 495, Says(RuleText::kRestoreDefaults));
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void Form2::Form_Load() {
    LoadFile();
    for (int index = 0; index < kRuleCount; ++index) cb1.items.emplace_back(Says(Rule(index).name));
    SetCb1ListIndex(0);
    LoadState();
    // The window takes the main window's icon: the view does that when it creates the window.
}

void Form2::Form_Unload() {
    if (links_.checkState) links_.checkState();
}

// ---------------------------------------------------------------------------------------------
// The four methods

void Form2::LoadFile() {
    for (int index = 0; index < kRuleCount; ++index) {
        // A file that cannot be read counts as an empty one.
        RuleRecords[index] = ruleFiles_.Read(index).value_or(RuleRecord{});
    }
}

void Form2::LoadState() {
    const int index = SelectedRule();
    if (index >= 0) {
        const RuleRecord& record = RuleRecords[index];
        SetCheck1(LeadingNumber(record[0]) != 0 ? 1 : 0);
        SetCheck2(LeadingNumber(record[1]) != 0 ? 1 : 0);
        SetText1(NumberText(LeadingNumber(record[3])));
        SetText2(NumberText(LeadingNumber(record[2])));
    }
    // Only the upper pair is settled here; the lower one follows Check2's click.
    if (Check1.value == 0) {
        SetText1(kNumberOfSwitchedOffTrigger);
        Text1.enabled = false;
    } else {
        Text1.enabled = true;
    }
}

void Form2::SaveState() {
    const int index = SelectedRule();
    if (index < 0) return;
    RuleRecord& record = RuleRecords[index];
    record[0] = Flag(Check1.value == 1);
    record[1] = Flag(Check2.value == 1);
    record[3] = Text1.text;
    record[2] = Text2.text;
}

void Form2::SaveFile() { WriteRecords(); }

bool Form2::WriteRecords() { return ReportUnwritten(ruleFiles_.WriteAll(RuleRecords)); }

// ---------------------------------------------------------------------------------------------
// User actions

void Form2::UserClickedCheck1() { SetCheck1(Check1.value == 1 ? 0 : 1); }
void Form2::UserClickedCheck2() { SetCheck2(Check2.value == 1 ? 0 : 1); }
void Form2::UserEditedText1(const std::string& text) { SetText1(text); }
void Form2::UserEditedText2(const std::string& text) { SetText2(text); }
void Form2::UserSelectedCb1(int index) { SetCb1ListIndex(index); }

void Form2::xpButton1_Click() {
    if (!IsPositive(Text1.text) || !IsPositive(Text2.text)) {
        Message(Says(RuleText::kNotAPositiveNumber));
        SetText1("1");
        SetText2("1");
        return;
    }
    SaveState();
    const bool saved = WriteRecords();
    LoadFile();
    LoadState();
    if (saved) Message(Fill(Says(RuleText::kSaved), {cb1.Text()}));
}

void Form2::xpButton2_Click() {
    // Unloading the window runs Form_Unload, which has the main window reload its rule.
    if (links_.unloadWindow) links_.unloadWindow();
}

void Form2::xpButton3_Click() {
    const std::vector<std::string> failed = ruleFiles_.RestoreDefaults();
    LoadFile();
    LoadState();
    if (ReportUnwritten(failed)) Message(Says(RuleText::kRestored));
}

// ---------------------------------------------------------------------------------------------
// Assignments and handlers

void Form2::SetCheck1(int value) {
    if (value == Check1.value) return;
    Check1.value = value;
    Check1_Click();
}

void Form2::SetCheck2(int value) {
    if (value == Check2.value) return;
    Check2.value = value;
    Check2_Click();
}

void Form2::SetText1(const std::string& text) {
    if (text == Text1.text) return;
    Text1.text = text;
    Text1_Change();
}

void Form2::SetText2(const std::string& text) {
    if (text == Text2.text) return;
    Text2.text = text;
    Text2_Change();
}

void Form2::SetCb1ListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(cb1.items.size()) || index == cb1.listIndex) return;
    cb1.listIndex = index;
    cb1_Click();
}

void Form2::cb1_Click() { LoadState(); }

void Form2::Check1_Click() {
    if (Check1.value == 0) {
        SetText1(kNumberOfSwitchedOffTrigger);
        Text1.enabled = false;
    } else {
        Text1.enabled = true;
    }
}

void Form2::Check2_Click() {
    if (Check2.value == 0) {
        SetText2(kNumberOfSwitchedOffTrigger);
        Text2.enabled = false;
    } else {
        Text2.enabled = true;
    }
}

void Form2::Text1_Change() {
    if (!Text1.text.empty() && !IsPositive(Text1.text)) {
        Message(Says(RuleText::kNotAPositiveNumber));
        SetText1("1");
    }
}

void Form2::Text2_Change() {
    if (!Text2.text.empty() && !IsPositive(Text2.text)) {
        Message(Says(RuleText::kNotAPositiveNumber));
        SetText2("1");
    }
}

// ---------------------------------------------------------------------------------------------
// Helpers

bool Form2::ReportUnwritten(const std::vector<std::string>& failedPaths) {
    if (failedPaths.empty()) return true;
    std::string paths;
    for (std::size_t i = 0; i < failedPaths.size(); ++i) paths += (i ? "\r\n" : "") + failedPaths[i];
    Message(Fill(Says(RuleText::kCannotSave), {paths}));
    return false;
}

void Form2::Message(std::string_view text) {
    ports_.messages.Show(std::string(text), kApplicationTitle, MessageIcon::None);
}

int Form2::SelectedRule() const { return cb1.listIndex >= 0 && cb1.listIndex < kRuleCount ? cb1.listIndex : -1; }

}  // namespace varnic::kelvo
