#include "rules/rule_files.h"

#include "fakes.h"

namespace varnic::fakes {
namespace {

const std::string kFolder = "D:\\Tools";

class RuleFilesTest : public ::testing::Test {
protected:
    FakeFileSystem fs;
    IdentityCodec codec;
    LineFiles lines{fs, codec};
    RuleFiles rules{lines, kFolder};
};

TEST_F(RuleFilesTest, AMissingFileIsCreatedWithItsDefaultsThenRead) {
    const char* expected[] = {"1\r\n1\r\n1\r\n2\r\n", "1\r\n1\r\n5\r\n5\r\n", "1\r\n0\r\n9\r\n5\r\n", "0\r\n0\r\n9\r\n9\r\n"};
    const char* names[] = {"\\AllRule.ini", "\\SmallGameRule.ini", "\\LargeGameRule.ini", "\\BTRule.ini"};
    for (int i = 0; i < kRuleCount; ++i) {
        auto record = rules.Read(i);
        ASSERT_TRUE(record);
        EXPECT_EQ(*record, Rule(i).defaults);
        EXPECT_EQ(fs.files[kFolder + names[i]], expected[i]);
    }
}

struct ReadCase {
    const char* name;
    std::string bytes;
    RuleRecord record;
};

TEST_F(RuleFilesTest, ReadsLinesEndingAtCrWithoutTrimming) {
    const ReadCase cases[] = {
        {"two lines", "1\r\n1\r\n", {"1", "1", "", ""}},
        {"LF only is one line", "1\n0\n9\n5\n", {"1\n0\n9\n5\n", "", "", ""}},
        {"CR only", "0\r1\r 7 \r3abc\r", {"0", "1", " 7 ", "3abc"}},
        {"no final line end", "1\r\n1\r\n5\r\n05", {"1", "1", "5", "05"}},
        {"empty file", "", {"", "", "", ""}},
        {"more than four lines", "1\r\n1\r\n2\r\n3\r\n4\r\n5\r\n", {"1", "1", "2", "3"}},
        {"blank lines", "\r\n\r\n\r\n\r\n", {"", "", "", ""}},
    };
    for (const auto& c : cases) {
        fs.files[kFolder + "\\BTRule.ini"] = c.bytes;
        auto record = rules.Read(3);
        ASSERT_TRUE(record) << c.name;
        EXPECT_EQ(*record, c.record) << c.name;
        EXPECT_EQ(fs.files[kFolder + "\\BTRule.ini"], c.bytes) << c.name;  // reading never rewrites
    }
}

TEST_F(RuleFilesTest, AFileThatCannotBeCreatedOrReadGivesNoRecord) {
    fs.folderReadOnly = true;
    EXPECT_FALSE(rules.Read(0));
    fs.folderReadOnly = false;
    fs.files[kFolder + "\\AllRule.ini"] = "0\r\n";
    fs.unreadable.insert(kFolder + "\\AllRule.ini");
    EXPECT_FALSE(rules.Read(0));
}

TEST_F(RuleFilesTest, WritesAllFourRecordsAsTheyStand) {
    std::array<RuleRecord, kRuleCount> records = {{{"1", "0", " 3 ", "1.5"}, {"0", "0", "9", "9"}, {"", "", "", ""},
                                                   {"1", "1", "5", "3abc"}}};
    EXPECT_TRUE(rules.WriteAll(records).empty());
    EXPECT_EQ(fs.files[kFolder + "\\AllRule.ini"], "1\r\n0\r\n 3 \r\n1.5\r\n");
    EXPECT_EQ(fs.files[kFolder + "\\LargeGameRule.ini"], "\r\n\r\n\r\n\r\n");
    EXPECT_EQ(fs.files[kFolder + "\\BTRule.ini"], "1\r\n1\r\n5\r\n3abc\r\n");
    EXPECT_EQ(fs.writes, (std::vector<std::string>{kFolder + "\\AllRule.ini", kFolder + "\\SmallGameRule.ini",
                                                   kFolder + "\\LargeGameRule.ini", kFolder + "\\BTRule.ini"}));
}

TEST_F(RuleFilesTest, AFileThatCannotBeWrittenIsNamedAndTheOthersAreStillWritten) {
    fs.readOnly.insert(kFolder + "\\SmallGameRule.ini");
    std::array<RuleRecord, kRuleCount> records = {{{"1", "1", "1", "1"}, {"1", "1", "1", "1"}, {"1", "1", "1", "1"},
                                                   {"1", "1", "1", "1"}}};
    EXPECT_EQ(rules.WriteAll(records), (std::vector<std::string>{kFolder + "\\SmallGameRule.ini"}));
    EXPECT_EQ(fs.writes.size(), 3u);
}

TEST_F(RuleFilesTest, RestoringWritesEveryDefaultInTheOrderZeroThreeOneTwo) {
    fs.files[kFolder + "\\SmallGameRule.ini"] = "0\r\n0\r\n1\r\n1\r\n";
    EXPECT_TRUE(rules.RestoreDefaults().empty());
    EXPECT_EQ(fs.writes, (std::vector<std::string>{kFolder + "\\AllRule.ini", kFolder + "\\BTRule.ini",
                                                   kFolder + "\\SmallGameRule.ini", kFolder + "\\LargeGameRule.ini"}));
    EXPECT_EQ(fs.files[kFolder + "\\SmallGameRule.ini"], "1\r\n1\r\n5\r\n5\r\n");
}

}  // namespace
}  // namespace varnic::fakes
