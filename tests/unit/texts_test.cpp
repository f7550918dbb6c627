// The language a program speaks, and the tables that hold every text of the programs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "base/text_table.h"
#include "fakes.h"

namespace varnic {
namespace {

TEST(ProgramLanguage, LanguageIniBesideTheProgramsBeatsTheDisplayLanguage) {
    using enum Language;
    const std::tuple<const char*, bool, Language> rows[] = {  // Language.ini (null: none), display is Chinese
        {nullptr, true, kChinese},   {nullptr, false, kEnglish},  {"en\r\n", true, kEnglish},
        {"zh-CN\r\n", false, kChinese}, {"\xEF\xBB\xBF ZH-tw \r\n", false, kChinese}, {"Chinese", false, kChinese},
        {" English\r\nzh\r\n", true, kEnglish}, {"fr\r\n", true, kChinese}, {"", false, kEnglish},
        {"\r\nzh\r\n", false, kEnglish},
    };
    for (const auto& [file, displayIsChinese, expected] : rows) {
        fakes::FakeFileSystem files;
        if (file) files.files["C:\\Varnic\\Language.ini"] = file;
        EXPECT_EQ(ProgramLanguage(files, "C:\\Varnic", displayIsChinese), expected) << (file ? file : "no file");
    }
}

enum class Sample { kFirst, kSecond, kCount };

TEST(TextTable, ARowOutOfOrderOrWithoutBothTextsIsFound) {  // such a table does not compile
    using enum Sample;
    const struct {
        TextRow<Sample> table[2];
        std::size_t faulty;
    } rows[] = {{{{kFirst, "甲", "a"}, {kSecond, "乙", "b"}}, 2}, {{{kFirst, "甲", "a"}, {kSecond, "乙", nullptr}}, 1},
                {{{kFirst, "甲", "a"}, {kSecond, "乙", ""}}, 1},   {{{kFirst, "", "a"}, {kSecond, "乙", "b"}}, 0},
                {{{kSecond, "乙", "b"}, {kFirst, "甲", "a"}}, 0}};
    for (const auto& [table, faulty] : rows) EXPECT_EQ(FirstFaultyRow(table), faulty) << faulty;
}

TEST(ProgramSources, KeepChineseInTheTablesOfTextsAndNamesThatSayWhatTheyHold) {
    // Literals and comments, so that a quote in a comment starts no literal; a comment's Chinese is fine.
    const std::regex token(R"("(?:[^"\\\n]|\\.)*"|'(?:[^'\\\n]|\\.)*'|//[^\n]*|/\*[\s\S]*?\*/)");
    // The first bytes of CJK characters in UTF-8: U+2E80 to U+9FFF, U+F900 to U+FAFF, U+FF00 to U+FFEF.
    const std::regex cjk("\xE2[\xBA-\xBF]|[\xE3-\xE9]|\xEF[\xA4-\xAB\xBC-\xBF]");
    // FontSpec, LabelSpec and ButtonSpec became FontStyle, LabelRow and ButtonRow: a name says what it holds.
    const std::regex vagueName(R"(\b[A-Za-z_]*[Ss]pecs?\b)");
    const std::filesystem::path root(VARNIC_SOURCE_DIR);
    std::string outside, vague;
    for (const char* folder : {"src", "apps"}) {
        for (const auto& file : std::filesystem::recursive_directory_iterator(root / folder)) {
            const auto& path = file.path();
            if ((path.extension() != ".cpp" && path.extension() != ".h") || path.stem().string().ends_with("_texts")) continue;
            std::ifstream in(path, std::ios::binary);
            const std::string code{std::istreambuf_iterator<char>(in), {}};
            const std::string where = path.lexically_relative(root).string() + ": ";
            for (std::sregex_iterator it(code.begin(), code.end(), token), end; it != end; ++it)
                if (it->str()[0] != '/' && std::regex_search(it->str(), cjk))
                    outside += where + it->str() + "\n";
            const std::string names = std::regex_replace(code, token, " ");
            for (std::sregex_iterator it(names.begin(), names.end(), vagueName), end; it != end; ++it)
                vague += where + it->str() + "\n";
        }
    }
    EXPECT_TRUE(outside.empty()) << "Chinese outside the tables of texts:\n" << outside;
    EXPECT_TRUE(vague.empty()) << "names that do not say what they hold:\n" << vague;
}

}  // namespace
}  // namespace varnic
