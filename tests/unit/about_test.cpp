// The about window: how its links look, "关闭" unloads it, and its notes are the release notes,
// tips and change log.
#include <gtest/gtest.h>

#include <regex>

#include "about/about_form.h"
#include "about/release_notes.h"
#include "fakes.h"

namespace varnic::fakes {
namespace {

// Where each link leads is the Win32 layer's AboutWindow test; here its look and "关闭".
TEST(About, LinksAreBlueUnderlinedBoldSongtiAndCloseUnloads) {
    CallLog log;
    FakeSystem shell{log};
    kelvo::frmSplash form{shell, "C:\\P", [&] { log.Add("unload"); }};
    for (const auto* label : {&form.Label1, &form.Label2, &form.Label3, &form.Label4, &form.Label5, &form.Label6})
        EXPECT_TRUE(label->link && label->font.face == FontFace::kText && label->font.points == 10.5 &&
                    label->font.bold && label->font.underline && label->colour == (Rgb{0, 0, 255}))
            << label->caption;
    EXPECT_EQ(form.Label3.caption + " " + form.Label4.caption, "软件园下载 下载站下载");
    EXPECT_FALSE(form.lblProductName.link || form.lblProductName.font.underline || form.lblPlatform.font.underline ||
                 form.Label5.inFrame);
    EXPECT_EQ(form.Text1.text, kelvo::ReleaseNotes());
    form.xpButton1_Click();
    EXPECT_EQ(log.calls, std::vector<std::string>{"unload"});
}

TEST(About, TheNotesAreCrLfLinesOfReleasesNewestFirstTipsAndAChangeLogNamingNoRealSite) {
    const std::string notes = kelvo::ReleaseNotes();
    EXPECT_TRUE(notes.ends_with("\r\n") && !std::regex_search(notes, std::regex("\r(?!\n)|(^|[^\r])\n")));
    const auto characters = std::count_if(notes.begin(), notes.end(), [](char c) { return (c & 0xC0) != 0x80; });
    EXPECT_TRUE(characters > 1500 && characters < 1900) << characters;  // "about 1,700 characters"
    std::istringstream lines(notes);
    std::string line;
    for (std::string release : {"1.9(BETA5)", "1.9(BETA4)", "1.9(BETA3)", "1.9(BETA2)", "1.9(BETA1)", "1.8(BETA3)",
                                "1.8(BETA2)", "1.8(BETA1)"})
        EXPECT_TRUE(std::getline(lines, line) && line.starts_with("    " + release)) << release;
    EXPECT_NE(notes.find("-sendme"), std::string::npos);  // the tip that rebuilds a lost shortcut
    EXPECT_NE(notes.find("\r\n\r\n更新日志\r\n1.94\r\n"), std::string::npos);
    for (const char* site : {".com", ".cn", ".net", ".org", "www.", "http", "@"})
        EXPECT_EQ(notes.find(site), std::string::npos) << site;
}

}  // namespace
}  // namespace varnic::fakes
