// The about window: its links open their targets in the installation folder, "关闭" unloads
// it, and its notes are the release notes, tips and change log.
#include <gtest/gtest.h>

#include "about/about_form.h"
#include "about/release_notes.h"
#include "fakes.h"

namespace varnic::fakes {
namespace {

TEST(About, EachLinkOpensItsTargetAtEveryClickInBlueUnderlinedSongti) {
    CallLog log;
    FakeSystem shell{log};
    using About = kelvo::frmSplash;
    About form{shell, "C:\\P", [&] { log.Add("unload"); }};
    const std::tuple<void (About::*)(), const kelvo::StyledLabel*, std::string> links[] = {
        {&About::Label1_Click, &form.Label1, "open http://www.varnic.example in C:\\P"},
        {&About::Label2_Click, &form.Label2, "open http://www.varnic.example/blog in C:\\P"},
        {&About::Label3_Click, &form.Label3, "open http://soft-one.example/soft/22033.html in C:\\P"},
        {&About::Label4_Click, &form.Label4, "open http://soft-two.example/soft/38084.htm in C:\\P"},
        {&About::Label5_Click, &form.Label5, "open C:\\P\\help.txt in C:\\P"},
        {&About::Label6_Click, &form.Label6, "open http://mirror.varnic.example in C:\\P"},
        {&About::xpButton1_Click, nullptr, "unload"}};
    for (const auto& [click, label, call] : links) {
        log.calls.clear();
        (form.*click)();
        (form.*click)();
        EXPECT_EQ(log.calls, std::vector<std::string>(2, call));
        const auto& font = label ? label->font : form.Label1.font;  // "关闭" is no link
        EXPECT_TRUE(!label || (label->link && font.face == FontFace::kText && font.points == 10.5 && font.bold &&
                               font.underline && label->colour == (Rgb{0, 0, 255})))
            << call;
    }
    EXPECT_EQ(form.Label3.caption + " " + form.Label4.caption, "软件园下载 下载站下载");
    EXPECT_FALSE(form.lblProductName.link || form.lblProductName.font.underline || form.lblPlatform.font.underline ||
                 form.Label5.inFrame);
    EXPECT_EQ(form.Text1.text, kelvo::ReleaseNotes());
}

TEST(About, TheNotesAreCrLfLinesOfReleasesNewestFirstTipsAndAChangeLogNamingNoRealSite) {
    const std::string notes = kelvo::ReleaseNotes();
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = notes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(notes.substr(start, end - start));
    EXPECT_TRUE(std::none_of(lines.begin(), lines.end(),
                             [](auto& line) { return line.find_first_of("\r\n") != std::string::npos; }));
    EXPECT_EQ(notes.size() - notes.rfind("\r\n"), 2u);
    const auto characters = std::count_if(notes.begin(), notes.end(), [](char c) { return (c & 0xC0) != 0x80; });
    EXPECT_TRUE(characters > 1500 && characters < 1900) << characters;  // "about 1,700 characters"
    const char* releases[] = {"1.9(BETA5)", "1.9(BETA4)", "1.9(BETA3)", "1.9(BETA2)",
                              "1.9(BETA1)", "1.8(BETA3)", "1.8(BETA2)", "1.8(BETA1)"};
    for (std::size_t i = 0; i < std::size(releases); ++i)
        EXPECT_EQ(lines.at(i).rfind("    " + std::string(releases[i]), 0), 0u);
    EXPECT_NE(notes.find("-sendme"), std::string::npos);  // the tip that rebuilds a lost shortcut
    EXPECT_NE(notes.find("\r\n\r\n更新日志\r\n1.94\r\n"), std::string::npos);
    for (const char* site : {".com", ".cn", ".net", ".org", "www.", "http", "@"})
        EXPECT_EQ(notes.find(site), std::string::npos) << site;
}

}  // namespace
}  // namespace varnic::fakes
