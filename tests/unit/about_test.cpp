// The about window: its links open their targets through the shell, "关闭" unloads it, and its
// notes box holds the three blocks of text.
#include "about/about_form.h"

#include "about/release_notes.h"
#include "fakes.h"

namespace varnic::fakes {
namespace {

const std::string kFolder = "C:\\Program Files\\Varnic";

class AboutTest : public ::testing::Test {
protected:
    FakeShell shell;
    int unloads = 0;
    kelvo::frmSplash form{shell, kFolder, [this] { ++unloads; }};
};

TEST_F(AboutTest, EachLinkOpensItsTargetInTheInstallationFolder) {
    struct Case {
        void (kelvo::frmSplash::*click)();
        std::string target;
    };
    const Case cases[] = {
        {&kelvo::frmSplash::Label1_Click, "http://www.varnic.example"},
        {&kelvo::frmSplash::Label2_Click, "http://www.varnic.example/blog"},
        {&kelvo::frmSplash::Label3_Click, "http://soft-one.example/soft/22033.html"},
        {&kelvo::frmSplash::Label4_Click, "http://soft-two.example/soft/38084.htm"},
        {&kelvo::frmSplash::Label5_Click, kFolder + "\\help.txt"},
        {&kelvo::frmSplash::Label6_Click, "http://mirror.varnic.example"},
    };
    for (const auto& c : cases) {
        shell.opened.clear();
        (form.*c.click)();
        (form.*c.click)();  // every click opens it again
        const std::pair<std::string, std::string> open{c.target, kFolder};
        EXPECT_EQ(shell.opened, (std::vector<std::pair<std::string, std::string>>{open, open}));
    }
    EXPECT_EQ(unloads, 0);
}

TEST_F(AboutTest, TheDownloadLinksNameTheirSites) {
    EXPECT_EQ(form.Label3.caption, "软件园下载");
    EXPECT_EQ(form.Label4.caption, "下载站下载");
}

TEST_F(AboutTest, CloseUnloadsTheWindowAndOpensNothing) {
    form.xpButton1_Click();
    EXPECT_EQ(unloads, 1);
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(AboutTest, EveryLinkLabelIsBlueBoldAndUnderlined) {
    int links = 0;
    for (const kelvo::StyledLabel* label :
         {&form.Label1, &form.Label2, &form.Label3, &form.Label4, &form.Label5, &form.Label6}) {
        ++links;
        EXPECT_TRUE(label->link) << label->caption;
        EXPECT_EQ(label->font.face, FontFace::kText);
        EXPECT_DOUBLE_EQ(label->font.points, 10.5);
        EXPECT_TRUE(label->font.bold && label->font.underline) << label->caption;
        EXPECT_EQ(label->colour, (Rgb{0, 0, 255}));
    }
    EXPECT_EQ(links, 6);
    for (const kelvo::StyledLabel* label : {&form.lblProductName, &form.lblPlatform, &form.lblVersion})
        EXPECT_FALSE(label->link || label->font.underline) << label->caption;
    EXPECT_FALSE(form.Label5.inFrame);  // "帮助" sits below the frame
}

// --- the notes -----------------------------------------------------------------------------

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::size_t CodePoints(const std::string& utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8) n += (c & 0xC0) != 0x80;
    return n;
}

TEST(ReleaseNotes, AreLinesEndedByCrLfOfAboutSeventeenHundredCharacters) {
    const std::string notes = kelvo::ReleaseNotes();
    ASSERT_GE(notes.size(), 2u);
    EXPECT_EQ(notes.substr(notes.size() - 2), "\r\n");
    for (std::size_t i = 0; i < notes.size(); ++i) {
        if (notes[i] == '\r') {
            EXPECT_EQ(notes[i + 1], '\n') << "lone CR at " << i;
        }
        if (notes[i] == '\n') {
            EXPECT_EQ(notes[i - 1], '\r') << "lone LF at " << i;
        }
    }
    EXPECT_GE(CodePoints(notes), 1500u);
    EXPECT_LE(CodePoints(notes), 1900u);
}

TEST(ReleaseNotes, StartWithTheReleasesNewestFirstEachAnIndentedParagraph) {
    const std::vector<std::string> lines = Lines(kelvo::ReleaseNotes());
    const char* versions[] = {"1.9(BETA5)", "1.9(BETA4)", "1.9(BETA3)", "1.9(BETA2)",
                              "1.9(BETA1)", "1.8(BETA3)", "1.8(BETA2)", "1.8(BETA1)"};
    ASSERT_GT(lines.size(), std::size(versions));
    for (std::size_t i = 0; i < std::size(versions); ++i)
        EXPECT_EQ(lines[i].rfind(std::string("    ") + versions[i], 0), 0u) << lines[i];
}

TEST(ReleaseNotes, GiveTheUsageTipsThatTheProgramReliesOn) {
    const std::string notes = kelvo::ReleaseNotes();
    for (const char* tip : {"back.jpg", "back.gif", "一个空格和-sendme参数", "热键", "无需安装", "更新空间"})
        EXPECT_NE(notes.find(tip), std::string::npos) << tip;
}

TEST(ReleaseNotes, EndWithAChangeLogFromOnePointNineFourDownToOnePointFive) {
    const std::vector<std::string> lines = Lines(kelvo::ReleaseNotes());
    auto heading = std::find(lines.begin(), lines.end(), "更新日志");
    ASSERT_NE(heading, lines.end());
    EXPECT_EQ(*(heading - 1), "");
    auto at = heading;
    for (const char* version : {"1.94", "1.93", "1.92", "1.91", "1.9", "1.8", "1.7", "1.6", "1.5"}) {
        auto found = std::find(at + 1, lines.end(), version);
        ASSERT_NE(found, lines.end()) << version;
        EXPECT_NE(*(found + 1), "") << "a change follows " << version;
        at = found;
    }
    EXPECT_GE(lines.end() - at, 4);  // a change of 1.5 and the two closing lines
}

TEST(ReleaseNotes, NameNoRealSite) {
    const std::string notes = kelvo::ReleaseNotes();
    for (const char* host : {".com", ".cn", ".net", ".org", "www.", "http", "@"})
        EXPECT_EQ(notes.find(host), std::string::npos) << host;
}

TEST_F(AboutTest, TheNotesBoxShowsTheNotes) { EXPECT_EQ(form.Text1.text, kelvo::ReleaseNotes()); }

}  // namespace
}  // namespace varnic::fakes
