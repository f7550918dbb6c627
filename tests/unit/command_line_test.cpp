#include "base/command_line.h"

#include <gtest/gtest.h>

namespace varnic {
namespace {

struct Case {
    const char* commandLine;
    const char* arguments;
};

TEST(ArgumentString, DropsTheProgramNameHoweverItWasWritten) {
    const std::string self = "C:\\Program Files\\Varnic\\kelvo.exe";
    const Case cases[] = {
        {"C:\\Program Files\\Varnic\\kelvo.exe -sendme", "-sendme"},  // as the updater starts it
        {"\"C:\\Program Files\\Varnic\\kelvo.exe\" -sendme", "-sendme"},
        {"c:\\program files\\varnic\\KELVO.EXE -sendme", "-sendme"},
        {"kelvo.exe -sendme", "-sendme"},
        {"\"kelvo\" -SENDME", "-SENDME"},
        {"kelvo.exe  -sendme x", "-sendme x"},
        {"kelvo.exe", ""},
        {"C:\\Program Files\\Varnic\\kelvo.exe", ""},
        {"C:\\Program Files\\Varnic\\kelvo.exe2 -sendme", "Files\\Varnic\\kelvo.exe2 -sendme"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ArgumentString(c.commandLine, self), c.arguments) << c.commandLine;
}

}  // namespace
}  // namespace varnic
