// Win32ProcessLauncher and Win32Shell, watched through the command recorder: a helper that,
// copied under a program's name, logs how it was started into "calls.log" beside itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/process_launcher.h"
#include "platform/win32/shell.h"
#include "scratch_folder.h"

namespace varnic::win32 {
namespace {

using testing::FileBytes;
using testing::ScratchFolder;

struct LoggedCall {
    std::string program;
    std::string commandLine;
    std::string show;
};

std::vector<LoggedCall> ReadLog(const std::string& path) {
    std::vector<LoggedCall> calls;
    std::string bytes = FileBytes(path);
    if (bytes == "<missing>") return calls;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        std::string line = bytes.substr(start, end - start);
        auto tab1 = line.find('\t'), tab2 = line.rfind('\t');
        if (tab1 == std::string::npos || tab1 == tab2) {
            calls.push_back({"<bad line>", line, ""});
            continue;
        }
        calls.push_back({line.substr(0, tab1), line.substr(tab1 + 1, tab2 - tab1 - 1), line.substr(tab2 + 1)});
    }
    EXPECT_EQ(start, bytes.size()) << "the log ends in an unfinished line";
    return calls;
}

// An event the recorder finds by the name put into this process's environment, which the
// programs it starts inherit. The variable is removed again at the end of the scope.
class RecorderEvent {
public:
    RecorderEvent(const wchar_t* variable, bool manualReset) : variable_(variable) {
        static int serial = 0;
        name_ = L"varnic-recorder-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
        event_.Reset(CreateEventW(nullptr, manualReset, FALSE, name_.c_str()));
        SetEnvironmentVariableW(variable_, name_.c_str());
    }
    ~RecorderEvent() { SetEnvironmentVariableW(variable_, nullptr); }
    HANDLE Get() const { return event_.Get(); }
    bool WaitSet() const { return WaitForSingleObject(event_.Get(), 20000) == WAIT_OBJECT_0; }
    bool IsSet() const { return WaitForSingleObject(event_.Get(), 0) == WAIT_OBJECT_0; }

private:
    const wchar_t* variable_;
    std::wstring name_;
    UniqueHandle event_;
};

class ProcessStartTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFileW(Wide(Recorder()).c_str(), Wide(folder / "empty.exe").c_str(), FALSE))
            << "command_recorder.exe is built beside this test: " << Recorder();
    }
    static std::string Recorder() { return ApplicationDirectory() + "\\command_recorder.exe"; }

    ScratchFolder folder{"launch"};
    Win32ProcessLauncher launcher;
};

TEST_F(ProcessStartTest, TheCommandLineArrivesExactlyWithTheShowValue) {
    struct Case {
        std::string commandLine;
        ShowWindow show;
        std::string logged;
    };
    const Case cases[] = {
        {"empty.exe  *", ShowWindow::Hidden, "0"},
        {"empty.exe kelvo.exe", ShowWindow::Hidden, "0"},
        {folder / "empty.exe" + " -sendme", ShowWindow::Minimized, "2"},
        {"empty.exe 内存", ShowWindow::Normal, "1"},
    };
    for (const auto& c : cases) {
        RecorderEvent done(L"VARNIC_RECORDER_DONE", false);
        ASSERT_TRUE(launcher.Start(folder / "empty.exe", c.commandLine, c.show)) << c.commandLine;
        ASSERT_TRUE(done.WaitSet()) << c.commandLine;
    }
    auto calls = ReadLog(folder / "calls.log");
    ASSERT_EQ(calls.size(), std::size(cases));
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].program, "empty.exe");
        EXPECT_EQ(calls[i].commandLine, cases[i].commandLine);
        EXPECT_EQ(calls[i].show, cases[i].logged);
    }
}

TEST_F(ProcessStartTest, StartReturnsWithoutWaitingForTheProgram) {
    // The program cannot end before the gate opens, and the gate opens only after Start
    // returned: a Start that waited would let the program time out first.
    RecorderEvent gate(L"VARNIC_RECORDER_GATE", true);
    RecorderEvent done(L"VARNIC_RECORDER_DONE", true);
    ASSERT_TRUE(launcher.Start(folder / "empty.exe", "empty.exe  *", ShowWindow::Hidden));
    EXPECT_FALSE(done.IsSet()) << "Start came back only after the program had ended";
    SetEvent(gate.Get());
    ASSERT_TRUE(done.WaitSet());
    EXPECT_EQ(ReadLog(folder / "calls.log").size(), 1u);
}

TEST_F(ProcessStartTest, TwoQuickStartsBothRun) {
    RecorderEvent first(L"VARNIC_RECORDER_DONE", true);
    ASSERT_TRUE(launcher.Start(folder / "empty.exe", "empty.exe  *", ShowWindow::Hidden));
    RecorderEvent second(L"VARNIC_RECORDER_DONE", true);
    ASSERT_TRUE(launcher.Start(folder / "empty.exe", "empty.exe  *", ShowWindow::Hidden));
    ASSERT_TRUE(first.WaitSet());
    ASSERT_TRUE(second.WaitSet());
    EXPECT_EQ(ReadLog(folder / "calls.log").size(), 2u);
}

TEST_F(ProcessStartTest, AMissingProgramIsReportedAsAFailedStart) {
    EXPECT_FALSE(launcher.Start(folder / "tarnel.exe", "tarnel.exe", ShowWindow::Normal));
    EXPECT_FALSE(launcher.Start("", "empty.exe  *", ShowWindow::Hidden));
    EXPECT_FALSE(launcher.Start(folder.Path(), "empty.exe  *", ShowWindow::Hidden));  // a folder
}

TEST_F(ProcessStartTest, AProgramOfTheSameNameInTheCurrentFolderNeverAnswers) {
    ScratchFolder planted("planted");
    ASSERT_TRUE(CopyFileW(Wide(Recorder()).c_str(), Wide(planted / "empty.exe").c_str(), FALSE));
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(Wide(planted.Path()).c_str()));

    ScratchFolder installation("installation");
    bool missingStarted = launcher.Start(installation / "empty.exe", "empty.exe  *", ShowWindow::Hidden);
    {
        RecorderEvent done(L"VARNIC_RECORDER_DONE", true);
        EXPECT_TRUE(launcher.Start(folder / "empty.exe", "empty.exe  *", ShowWindow::Hidden));
        EXPECT_TRUE(done.WaitSet());
    }
    SetCurrentDirectoryW(previous);

    EXPECT_FALSE(missingStarted);
    EXPECT_EQ(ReadLog(folder / "calls.log").size(), 1u);
    EXPECT_EQ(FileBytes(planted / "calls.log"), "<missing>");
}

TEST_F(ProcessStartTest, TheShellOpensAProgramShownNormally) {
    ASSERT_TRUE(CopyFileW(Wide(Recorder()).c_str(), Wide(folder / "kelvo.exe").c_str(), FALSE));
    RecorderEvent done(L"VARNIC_RECORDER_DONE", true);
    Win32Shell shell;
    shell.Open(folder / "kelvo.exe", folder.Path());
    ASSERT_TRUE(done.WaitSet());
    auto calls = ReadLog(folder / "calls.log");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].program, "kelvo.exe");
    EXPECT_NE(calls[0].commandLine.find("kelvo.exe"), std::string::npos) << calls[0].commandLine;
    EXPECT_EQ(calls[0].show, "1");
}

}  // namespace
}  // namespace varnic::win32
