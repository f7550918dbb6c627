// The small system ports: memory figures, process count, clipboard and message boxes.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <cstdlib>
#include <thread>

#include "platform/win32/clipboard.h"
#include "platform/win32/handles.h"
#include "platform/win32/memory_probe.h"
#include "platform/win32/message_boxes.h"
#include "platform/win32/process_counter.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {
namespace {

TEST(MemoryProbe, FiguresAreTheSystemsSixtyFourBitOnes) {
    MEMORYSTATUSEX system{};
    system.dwLength = sizeof system;
    ASSERT_TRUE(GlobalMemoryStatusEx(&system));
    MemoryStatus status = Win32MemoryProbe().Read();

    EXPECT_EQ(status.totalPhys, system.ullTotalPhys);
    EXPECT_GT(status.totalPhys, 0u);
    EXPECT_LE(status.availPhys, status.totalPhys);
    EXPECT_LE(status.memoryLoad, 100u);
    // Available memory and load move between the two readings; a little only.
    const std::int64_t drift =
        static_cast<std::int64_t>(status.availPhys) - static_cast<std::int64_t>(system.ullAvailPhys);
    EXPECT_LT(std::llabs(drift), 256ll << 20);
    EXPECT_LE(std::abs(static_cast<int>(status.memoryLoad) - static_cast<int>(system.dwMemoryLoad)), 5);
}

// A suspended child: it exists for the process list until the test ends it.
class SuspendedChild {
public:
    SuspendedChild() {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring line = L"child --gtest_list_tests";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (CreateProcessW(self, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                           &started)) {
            process_.Reset(started.hProcess);
            thread_.Reset(started.hThread);
        }
    }
    ~SuspendedChild() { End(); }
    explicit operator bool() const { return static_cast<bool>(process_); }
    void End() {
        if (!process_) return;
        TerminateProcess(process_.Get(), 0);
        WaitForSingleObject(process_.Get(), 10000);
        thread_.Reset();
        process_.Reset();
    }

private:
    UniqueHandle process_;
    UniqueHandle thread_;
};

// Counted here by hand, independent of the code under test.
int CountByHand(DWORD flags) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(flags, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
        ++count;
    return count;
}

TEST(ProcessCounter, CountsWhatTheAllInclusiveSnapshotLists) {
    // Taken one after the other: a process may start or end in between.
    int byHand = CountByHand(TH32CS_SNAPALL);
    int count = Win32ProcessCounter().Count();
    int full = CountProcessesInFullSnapshot();
    EXPECT_GT(count, 1);  // at least this test and the system's own processes
    EXPECT_LE(std::abs(count - byHand), 2) << "counted " << count << ", by hand " << byHand;
    EXPECT_LE(std::abs(full - byHand), 2) << "full snapshot " << full << ", by hand " << byHand;
}

TEST(ProcessCounter, FollowsAProcessThatStartsAndEnds) {
    Win32ProcessCounter counter;
    int before = counter.Count();
    SuspendedChild child;
    ASSERT_TRUE(child);
    int during = counter.Count();
    child.End();
    int after = counter.Count();
    EXPECT_GT(during, before);
    EXPECT_LT(after, during);
}

TEST(ProcessCounter, IsZeroWhenTheSnapshotHoldsNoProcessList) {
    EXPECT_EQ(CountProcessesInSnapshot(TH32CS_SNAPTHREAD), 0);
    EXPECT_GT(CountProcessesInSnapshot(TH32CS_SNAPPROCESS), 0);
}

bool PutTextOnClipboard(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    bool placed = false;
    if (memory) {
        void* bytes = GlobalLock(memory);
        memcpy(bytes, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(memory);
        placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        if (!placed) GlobalFree(memory);
    }
    CloseClipboard();
    return placed;
}

TEST(Clipboard, ClearEmptiesEveryFormat) {
    ASSERT_TRUE(PutTextOnClipboard(L"内存"));
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_TRUE(Win32Clipboard().Clear());
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_EQ(CountClipboardFormats(), 0);
}

TEST(Clipboard, ClearFailsAndKeepsTheContentsWhileAnotherWindowHoldsIt) {
    ASSERT_TRUE(PutTextOnClipboard(L"keep me"));
    UniqueHandle held(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    bool opened = false;
    std::thread holder([&] {
        HWND window = CreateWindowW(L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        opened = OpenClipboard(window) != 0;
        SetEvent(held.Get());
        WaitForSingleObject(release.Get(), 20000);
        if (opened) CloseClipboard();
        DestroyWindow(window);
    });
    WaitForSingleObject(held.Get(), 20000);
    bool clearedWhileHeld = Win32Clipboard().Clear();
    SetEvent(release.Get());
    holder.join();

    ASSERT_TRUE(opened);
    EXPECT_FALSE(clearedWhileHeld);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_TRUE(Win32Clipboard().Clear());  // once released, the next clear works
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
}

// What a message box looked like when it came up; it is closed with OK right away.
struct SeenBox {
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
    bool seen = false;
    HWND box = nullptr;
    HWND watched = nullptr;      // a window of the program other than the box
    bool watchedEnabled = true;  // whether that window took input while the box was up
};
thread_local SeenBox* tSeenBox = nullptr;

// Runs from the box's own message loop once it is up and idle, so its text is in place.
void CALLBACK ReadAndCloseBox(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (!tSeenBox || !tSeenBox->box) return;
    HWND box = tSeenBox->box;
    wchar_t buffer[512];
    GetWindowTextW(box, buffer, 512);
    tSeenBox->caption = buffer;
    GetDlgItemTextW(box, 0xFFFF, buffer, 512);
    tSeenBox->text = buffer;
    tSeenBox->owner = GetWindow(box, GW_OWNER);
    if (tSeenBox->watched) tSeenBox->watchedEnabled = IsWindowEnabled(tSeenBox->watched) != 0;
    tSeenBox->seen = true;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && tSeenBox && !tSeenBox->box) {
        tSeenBox->box = reinterpret_cast<HWND>(wParam);
        SetTimer(nullptr, 0, 10, ReadAndCloseBox);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(MessageBoxes, ShowTheTextAndCaptionModallyAndReturnOnOk) {
    HWND owner =
        CreateWindowW(L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    SeenBox seen;
    tSeenBox = &seen;
    HHOOK hook = SetWindowsHookExW(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    Win32MessageBoxes boxes(owner);
    boxes.Show("文件C:\\Varnic\\kelvo.exe正在使用,无法进行操作", "错误", MessageIcon::Critical);
    SeenBox withOwner = seen;
    seen = SeenBox{};
    seen.watched = owner;
    boxes.SetOwner(nullptr);
    boxes.Show("内存优化组件错误！", "Varnic", MessageIcon::None);
    UnhookWindowsHookEx(hook);
    tSeenBox = nullptr;
    DestroyWindow(owner);

    ASSERT_TRUE(withOwner.seen);
    EXPECT_EQ(Utf8(withOwner.caption), "错误");
    EXPECT_EQ(Utf8(withOwner.text), "文件C:\\Varnic\\kelvo.exe正在使用,无法进行操作");
    EXPECT_EQ(withOwner.owner, owner);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(Utf8(seen.caption), "Varnic");
    EXPECT_EQ(Utf8(seen.text), "内存优化组件错误！");
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_FALSE(seen.watchedEnabled) << "an ownerless box left the program's window usable";
}

TEST(MessageBoxes, IconsMapToTheSystemsStyles) {
    EXPECT_EQ(Win32MessageBoxes::Style(MessageIcon::None), static_cast<UINT>(MB_OK));
    EXPECT_EQ(Win32MessageBoxes::Style(MessageIcon::Critical), static_cast<UINT>(MB_OK | MB_ICONHAND));
    EXPECT_EQ(Win32MessageBoxes::Style(MessageIcon::Information), static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
}

}  // namespace
}  // namespace varnic::win32
