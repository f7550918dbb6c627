// Form2 of kelvo: the rule editor as a model. It keeps its own copy of the four rule files
// (RuleRecords) and moves values between the files, that copy and its controls. Assigning a
// control's value through its setter raises the control's handler once, and only when the value
// really changes; the editor's behaviour lives in that cascade (an unchecked box puts "9" into
// its number box and disables it, a number box rejects values that are not greater than 0).
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "base/form_controls.h"
#include "base/language.h"
#include "base/line_file.h"
#include "base/ports.h"
#include "rules/rule_files.h"

namespace varnic::kelvo {

struct RuleEditorPorts {
    FileSystem& files;
    AnsiCodec& codec;
    MessageBoxes& messages;
};

// What the editor asks of the program around it.
struct RuleEditorLinks {
    std::function<void()> checkState;    // the main window reloads the rule in effect
    std::function<void()> unloadWindow;  // the view destroys the window (which runs Form_Unload)
};

class Form2 {
public:
    Form2(RuleEditorPorts ports, std::string appDir, RuleEditorLinks links, Language language = Language::kChinese);
    Language SpokenLanguage() const { return language_; }

    // --- life cycle -------------------------------------------------------------------------
    void Form_Load();
    void Form_Unload();

    // --- user actions, as the view reports them ------------------------------------------------
    void UserClickedCheck1();
    void UserClickedCheck2();
    void UserEditedText1(const std::string& text);
    void UserEditedText2(const std::string& text);
    void UserSelectedCb1(int index);
    void xpButton1_Click();  // save
    void xpButton2_Click();  // close
    void xpButton3_Click();  // restore the defaults

    // --- assignments that raise the control's handler when the value changes ----------------
    void SetCheck1(int value);
    void SetCheck2(int value);
    void SetText1(const std::string& text);
    void SetText2(const std::string& text);
    void SetCb1ListIndex(int index);

    // --- methods moving values between files, records and controls ----------------------------
    void LoadFile();
    void LoadState();
    void SaveFile();
    void SaveState();

    // --- controls ------------------------------------------------------------------------------
    std::string caption;
    int clientWidth = 6525;  // twips
    int clientHeight = 4035;
    LabelModel Label5, Label1, Label2, Label3, Label4;
    ComboBoxModel cb1;
    FrameModel Frame1;  // Check1 to Label4 are placed relative to it
    CheckBoxModel Check1, Check2;
    TextBoxModel Text1, Text2, Text3;
    ButtonModel xpButton1, xpButton2, xpButton3;

    // --- members -------------------------------------------------------------------------------
    std::array<RuleRecord, kRuleCount> RuleRecords;

private:
    void cb1_Click();
    void Check1_Click();
    void Check2_Click();
    void Text1_Change();
    void Text2_Change();
    bool WriteRecords();  // SaveFile, answering whether every file was written
    // Tells the user which rule files could not be written; answers true when all were.
    bool ReportUnwritten(const std::vector<std::string>& failedPaths);
    void Message(std::string_view text);
    int SelectedRule() const;
    std::string_view Says(RuleText name) const { return Text(name, language_); }

    RuleEditorPorts ports_;
    Language language_;
    LineFiles lineFiles_;
    RuleFiles ruleFiles_;
    RuleEditorLinks links_;
};

// The help note shown in Text3, lines ended by CR LF.
std::string RuleEditorHelpNote(Language language = Language::kChinese);

// A number as the editor writes it back into a box: whole numbers without a point, others with
// up to 15 significant digits ("5", "2.5", "-3").
std::string NumberText(double value);

}  // namespace varnic::kelvo
