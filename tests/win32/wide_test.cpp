#include "platform/win32/wide.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace varnic::win32 {
namespace {

TEST(Wide, ChineseTextSurvivesTheRoundTrip) {
    const std::string text = "现在立即清理 Varnic V1.9（BETA5）";
    EXPECT_EQ(Utf8(Wide(text)), text);
    EXPECT_EQ(Wide("内存").size(), 2u);
}

TEST(ApplicationDirectory, IsTheFolderOfThisExecutable) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::string dir = ApplicationDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '\\');
    EXPECT_EQ(Utf8(self).rfind(dir + "\\", 0), 0u);
}

}  // namespace
}  // namespace varnic::win32
