// Win32ProcessLauncher.
//
// The image is always named by its full path in lpApplicationName, and the command line is
// passed on unchanged as the program's arguments. With a bare name ("empty.exe  *") alone,
// CreateProcess would search the current folder, the system folders and PATH for empty.exe:
// a program planted in any of them under that name would run in our place. Naming the file
// in the installation folder leaves no search at all.
#include "platform/win32/process_launcher.h"

#include <algorithm>
#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {
namespace {

constexpr UINT kProcessEnded = WM_APP + 1;    // wParam: the Followed record
constexpr UINT kProcessStarted = WM_APP + 2;  // wParam: the Followed record, its creating thread done
constexpr const wchar_t* kMessageWindowClass = L"VarnicProcessLauncher";

// The process's handle, or null when it could not be created. `line` may be written into.
HANDLE CreateProgram(const std::wstring& image, std::wstring& line, ShowWindow show) {
    if (image.empty()) return nullptr;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(image.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return nullptr;
    UniqueHandle thread(started.hThread);
    return started.hProcess;
}

std::wstring CommandLineBuffer(const std::string& commandLine) {
    std::wstring line = Wide(commandLine);  // CreateProcessW may write into its command line
    line.push_back(L'\0');
    return line;
}

}  // namespace

// One followed process: its handle, the thread pool's wait on it, and what to run at its end;
// for a start in the background, also the thread that creates it and what to run then. The
// thread and the wait only post messages; the record waits for the thread and unregisters the
// wait (waiting for a callback under way) before it goes, so neither outlives it.
class Win32ProcessLauncher::Followed {
public:
    Followed(std::function<void()> ended, HWND owner, std::function<void(bool)> started = {})
        : ended_(std::move(ended)), started_(std::move(started)), owner_(owner) {}
    Followed(const Followed&) = delete;
    Followed& operator=(const Followed&) = delete;
    ~Followed() {
        if (creator_) WaitForSingleObject(creator_.Get(), INFINITE);
        if (wait_) UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
    }

    void Adopt(HANDLE process) { process_.Reset(process); }
    // The thread creates the process and posts kProcessStarted; false when no thread could be made.
    bool CreateInBackground(const std::string& program, const std::string& commandLine, ShowWindow show) {
        image_ = Wide(program);
        line_ = CommandLineBuffer(commandLine);
        show_ = show;
        creator_.Reset(CreateThread(nullptr, 0, &Followed::Create, this, 0, nullptr));
        return static_cast<bool>(creator_);
    }
    // Once kProcessStarted has come: whether the process was created.
    bool Created() {
        WaitForSingleObject(creator_.Get(), INFINITE);  // it has posted; this lets it go
        creator_.Reset();
        return static_cast<bool>(process_);
    }
    bool Watch() {
        return RegisterWaitForSingleObject(&wait_, process_.Get(), &Followed::Ended, this, INFINITE,
                                           WT_EXECUTEONLYONCE) != FALSE;
    }
    std::function<void()> TakeEnded() { return std::move(ended_); }
    std::function<void(bool)> TakeStarted() { return std::move(started_); }

private:
    static DWORD WINAPI Create(LPVOID self) {
        auto* followed = static_cast<Followed*>(self);
        followed->process_.Reset(CreateProgram(followed->image_, followed->line_, followed->show_));
        PostMessageW(followed->owner_, kProcessStarted, reinterpret_cast<WPARAM>(followed), 0);
        return 0;
    }
    static VOID CALLBACK Ended(PVOID self, BOOLEAN) {
        auto* followed = static_cast<Followed*>(self);
        PostMessageW(followed->owner_, kProcessEnded, reinterpret_cast<WPARAM>(followed), 0);
    }

    UniqueHandle process_;
    std::function<void()> ended_;
    std::function<void(bool)> started_;
    HWND owner_;
    HANDLE wait_ = nullptr;
    UniqueHandle creator_;  // touches the fields below and process_ until it has posted
    std::wstring image_, line_;
    ShowWindow show_ = ShowWindow::Hidden;
};

Win32ProcessLauncher::Win32ProcessLauncher() = default;

Win32ProcessLauncher::~Win32ProcessLauncher() {
    followed_.clear();  // every start under way finished and every wait let go before the window goes
    messages_.Reset();
}

bool Win32ProcessLauncher::MakeMessageWindow() {
    if (messages_) return true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Win32ProcessLauncher::MessageWindowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kMessageWindowClass;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    messages_.Reset(CreateWindowExW(0, kMessageWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    windowClass.hInstance, nullptr));
    if (!messages_) return false;
    SetWindowLongPtrW(messages_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

LRESULT CALLBACK Win32ProcessLauncher::MessageWindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                              LPARAM lParam) {
    if (message != kProcessEnded && message != kProcessStarted) return DefWindowProcW(window, message, wParam, lParam);
    auto* launcher = reinterpret_cast<Win32ProcessLauncher*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (launcher && message == kProcessStarted) launcher->RunStarted(wParam);
    if (launcher && message == kProcessEnded) launcher->RunEnded(wParam);
    return 0;
}

bool Win32ProcessLauncher::Start(const std::string& program, const std::string& commandLine, ShowWindow show) {
    std::wstring line = CommandLineBuffer(commandLine);
    UniqueHandle process(CreateProgram(Wide(program), line, show));  // not followed: let go at once
    return static_cast<bool>(process);
}

bool Win32ProcessLauncher::StartFollowed(const std::string& program, const std::string& commandLine,
                                         ShowWindow show, std::function<void()> ended) {
    if (!MakeMessageWindow()) return Start(program, commandLine, show);
    std::wstring line = CommandLineBuffer(commandLine);
    HANDLE process = CreateProgram(Wide(program), line, show);
    if (!process) return false;
    auto followed = std::make_unique<Followed>(std::move(ended), messages_.Get());
    followed->Adopt(process);
    if (followed->Watch()) followed_.push_back(std::move(followed));  // else it simply runs unfollowed
    return true;
}

void Win32ProcessLauncher::StartInBackground(const std::string& program, const std::string& commandLine,
                                             ShowWindow show, std::function<void(bool)> started,
                                             std::function<void()> ended) {
    if (MakeMessageWindow()) {
        auto followed = std::make_unique<Followed>(std::move(ended), messages_.Get(), std::move(started));
        if (followed->CreateInBackground(program, commandLine, show)) {
            followed_.push_back(std::move(followed));
            return;
        }
        ended = followed->TakeEnded();  // no thread to spare: started at once
        started = followed->TakeStarted();
    }
    ProcessLauncher::StartInBackground(program, commandLine, show, std::move(started), std::move(ended));
}

std::list<std::unique_ptr<Win32ProcessLauncher::Followed>>::iterator Win32ProcessLauncher::Held(WPARAM which) {
    // Only a record still held is touched: the message may come from a wait already let go.
    return std::find_if(followed_.begin(), followed_.end(),
                        [which](const auto& f) { return reinterpret_cast<WPARAM>(f.get()) == which; });
}

void Win32ProcessLauncher::RunStarted(WPARAM which) {
    const auto held = Held(which);
    if (held == followed_.end()) return;
    std::function<void(bool)> started = (*held)->TakeStarted();
    const bool created = (*held)->Created();
    if (!created || !(*held)->Watch()) followed_.erase(held);  // not watched: it runs unfollowed
    if (started) started(created);
}

void Win32ProcessLauncher::RunEnded(WPARAM which) {
    const auto held = Held(which);
    if (held == followed_.end()) return;
    std::function<void()> ended = (*held)->TakeEnded();
    followed_.erase(held);
    if (ended) ended();
}

}  // namespace varnic::win32
