// frmSplash: the about window's fixed content and its link handlers.
#include "about/about_form.h"

#include "about/about_texts.h"
#include "base/app_files.h"
#include "base/web_addresses.h"

namespace varnic::kelvo {
namespace {

const FontStyle kProductFont{FontFace::kTitle, 32, true, false};
const FontStyle kInfoFont{FontFace::kText, 12, true, false};
const FontStyle kLinkFont{FontFace::kText, 10.5, true, true};
constexpr Rgb kLightBlue{128, 128, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kLinkBlue{0, 0, 255};

void Place(ControlBase& control, int left, int top, int width, int height) {
    control.place = {left, top, width, height};
}

void Style(StyledLabel& label, TwipsRect place, std::string_view caption, const FontStyle& font, Rgb colour) {
    label.place = place;
    label.caption = caption;
    label.font = font;
    label.colour = colour;
}

void Link(StyledLabel& label, TwipsRect place, std::string_view caption) {
    Style(label, place, caption, kLinkFont, kLinkBlue);
    label.link = true;
}

}  // namespace

frmSplash::frmSplash(Shell& shell, std::string appDir, std::function<void()> unloadWindow, Language language)
    : shell_(shell), appDir_(std::move(appDir)), unloadWindow_(std::move(unloadWindow)), language_(language) {
    auto text = [language](AboutText name) { return Text(name, language); };
    Place(Frame1, 0, 0, 5760, 4050);
    Place(imglogo, 240, 120, 1920, 1920);
    Style(lblProductName, {2280, 240, 2700, 645}, kApplicationTitle, kProductFont, kLightBlue);
    // To the frame's inner edge: fonts standing in for 宋体 draw the line a little wider.
    Style(lblPlatform, {2400, 1200, 3330, 240}, text(AboutText::kPlatform), kInfoFont, kBlack);
    Style(lblVersion, {2400, 1560, 2490, 240}, text(AboutText::kVersion), kInfoFont, kBlack);
    Link(Label1, {120, 2160, 1095, 255}, text(AboutText::kWebsite));
    Link(Label6, {1200, 2160, 975, 255}, text(AboutText::kMirrorSite));
    Link(Label2, {120, 2640, 1815, 255}, text(AboutText::kAuthorBlog));
    Link(Label3, {120, 3120, 1815, 255}, text(AboutText::kFirstDownloadSite));
    Link(Label4, {120, 3600, 1695, 255}, text(AboutText::kSecondDownloadSite));
    Place(Text1, 2400, 2160, 3255, 1815);
    Text1.text = text(AboutText::kReleaseNotes);
    Place(xpButton1, 2280, 4080, 1095, 375);
    xpButton1.caption = text(AboutText::kClose);
    Link(Label5, {4920, 4200, 615, 255}, text(AboutText::kHelp));
    Label5.inFrame = false;
}

void frmSplash::Label1_Click() { Open(web::kMakerSite); }
void frmSplash::Label2_Click() { Open(web::kMakerBlog); }
void frmSplash::Label3_Click() { Open(web::kFirstDownloadPage); }
void frmSplash::Label4_Click() { Open(web::kSecondDownloadPage); }
void frmSplash::Label5_Click() {
    Open(AppFile(appDir_, language_ == Language::kEnglish ? "\\help-en.txt" : "\\help.txt"));
}
void frmSplash::Label6_Click() { Open(web::kBackupSite); }

void frmSplash::xpButton1_Click() {
    if (unloadWindow_) unloadWindow_();
}

// The shell's own failure (no browser, no help file) is the shell's to report, not ours.
void frmSplash::Open(const std::string& target) { shell_.Open(target, appDir_); }

}  // namespace varnic::kelvo
