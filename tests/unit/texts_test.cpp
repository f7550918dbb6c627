// The language a program speaks and the tables of its texts.
#include <gtest/gtest.h>

#include "base/text_table.h"
#include "fakes.h"

namespace varnic {
namespace {

TEST(ProgramLanguage, LanguageIniBesideTheProgramsBeatsTheDisplayLanguage) {
    const std::tuple<const char*, bool, Language> rows[] = {  // Language.ini (null: none), display is Chinese
        {nullptr, true, Language::kChinese},      {nullptr, false, Language::kEnglish},
        {"en\r\n", true, Language::kEnglish},     {"zh-CN\r\n", false, Language::kChinese},
        {"\xEF\xBB\xBF ZH-tw \r\n", false, Language::kChinese}, {"Chinese", false, Language::kChinese},
        {" English\r\nzh\r\n", true, Language::kEnglish},       {"fr\r\n", true, Language::kChinese},
        {"", false, Language::kEnglish},          {"\r\nzh\r\n", false, Language::kEnglish},
    };
    for (const auto& [file, displayIsChinese, expected] : rows) {
        fakes::FakeFileSystem files;
        if (file) files.files["C:\\Varnic\\Language.ini"] = file;
        EXPECT_EQ(ProgramLanguage(files, "C:\\Varnic", displayIsChinese), expected) << (file ? file : "no file");
    }
}

enum class Sample { kFirst, kSecond, kCount };

TEST(TextTable, ARowOutOfOrderOrWithoutBothTextsIsFound) {
    using enum Sample;
    const struct {
        TextRow<Sample> table[2];
        std::size_t faulty;
    } rows[] = {
        {{{kFirst, "甲", "first"}, {kSecond, "乙", "second"}}, 2},
        {{{kFirst, "甲", "first"}, {kSecond, "乙", nullptr}}, 1},
        {{{kFirst, "甲", "first"}, {kSecond, "乙", ""}}, 1},
        {{{kFirst, "", "first"}, {kSecond, "乙", "second"}}, 0},
        {{{kSecond, "乙", "second"}, {kFirst, "甲", "first"}}, 0},
    };
    for (const auto& [table, faulty] : rows) EXPECT_EQ(FirstFaultyRow(table), faulty) << faulty;
}

}  // namespace
}  // namespace varnic
