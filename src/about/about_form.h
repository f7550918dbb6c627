// frmSplash of kelvo: the about window as a model. Everything it shows is fixed: the product
// name, platforms and version with their fonts and colours, the logo's place, the release
// notes and a column of link labels, each opening one target through the shell with the
// installation folder as working directory.
#pragma once

#include <functional>
#include <string>

#include "base/form_controls.h"
#include "base/language.h"
#include "base/ports.h"
#include "monitor/monitor_ports.h"

namespace varnic::kelvo {

struct StyledLabel : LabelModel {
    FontStyle font;
    Rgb colour;
    bool link = false;     // opens a target when clicked; shown with a hand cursor
    bool inFrame = true;   // placed relative to Frame1
};

class frmSplash {
public:
    // `unloadWindow` has the view destroy the window. In English the help link opens
    // "\help-en.txt" instead of "\help.txt".
    frmSplash(Shell& shell, std::string appDir, std::function<void()> unloadWindow,
              Language language = Language::kChinese);
    Language SpokenLanguage() const { return language_; }

    void Label1_Click();     // the maker's web site
    void Label2_Click();     // the maker's blog
    void Label3_Click();     // first download site
    void Label4_Click();     // second download site
    void Label5_Click();     // help
    void Label6_Click();     // the backup web site
    void xpButton1_Click();  // close

    // --- controls (twips; those in the frame relative to Frame1) -------------------------------
    int clientWidth = 5850;
    int clientHeight = 4560;
    FrameModel Frame1;
    ControlBase imglogo;  // in the frame; a 128 x 128 picture
    StyledLabel lblProductName, lblPlatform, lblVersion;
    StyledLabel Label1, Label6, Label2, Label3, Label4, Label5;
    TextBoxModel Text1;  // in the frame; multi-line, read-only, vertical scroll bar
    ButtonModel xpButton1;

private:
    void Open(const std::string& target);

    Shell& shell_;
    std::string appDir_;
    std::function<void()> unloadWindow_;
    Language language_;
};

}  // namespace varnic::kelvo
