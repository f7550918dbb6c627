// Win32ProcessLauncher.
//
// The image is always named by its full path in lpApplicationName, and the command line is
// passed on unchanged as the program's arguments. With a bare name ("empty.exe  *") alone,
// CreateProcess would search the current folder, the system folders and PATH for empty.exe:
// a program planted in any of them under that name would run in our place. Naming the file
// in the installation folder leaves no search at all.
#include "platform/win32/process_launcher.h"

#include <algorithm>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {
namespace {

constexpr UINT kProcessEnded = WM_APP + 1;  // wParam: the Followed record
constexpr const wchar_t* kMessageWindowClass = L"VarnicProcessLauncher";

}  // namespace

// One followed process: its handle, the thread pool's wait on it, and what to run at its end.
// The wait only posts a message; unregistering it waits for a callback that is under way, so
// no callback outlives the record.
class Win32ProcessLauncher::Followed {
public:
    Followed(HANDLE process, std::function<void()> ended, HWND owner, UINT message)
        : process_(process), ended_(std::move(ended)), owner_(owner), message_(message) {}
    Followed(const Followed&) = delete;
    Followed& operator=(const Followed&) = delete;
    ~Followed() {
        if (wait_) UnregisterWaitEx(wait_, INVALID_HANDLE_VALUE);
    }

    bool Watch() {
        return RegisterWaitForSingleObject(&wait_, process_.Get(), &Followed::Ended, this, INFINITE,
                                           WT_EXECUTEONLYONCE) != FALSE;
    }
    std::function<void()> TakeEnded() { return std::move(ended_); }

private:
    static VOID CALLBACK Ended(PVOID self, BOOLEAN) {
        auto* followed = static_cast<Followed*>(self);
        PostMessageW(followed->owner_, followed->message_, reinterpret_cast<WPARAM>(followed), 0);
    }

    UniqueHandle process_;
    std::function<void()> ended_;
    HWND owner_;
    UINT message_;
    HANDLE wait_ = nullptr;
};

Win32ProcessLauncher::Win32ProcessLauncher() = default;

Win32ProcessLauncher::~Win32ProcessLauncher() {
    followed_.clear();  // every wait let go before the window its messages go to
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
    if (message != kProcessEnded) return DefWindowProcW(window, message, wParam, lParam);
    if (auto* launcher = reinterpret_cast<Win32ProcessLauncher*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
        launcher->RunEnded(wParam);
    return 0;
}

HANDLE Win32ProcessLauncher::Create(const std::string& program, const std::string& commandLine, ShowWindow show) {
    if (program.empty()) return nullptr;
    const std::wstring image = Wide(program);
    std::wstring line = Wide(commandLine);  // CreateProcessW may write into its command line
    line.push_back(L'\0');

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

bool Win32ProcessLauncher::Start(const std::string& program, const std::string& commandLine, ShowWindow show) {
    UniqueHandle process(Create(program, commandLine, show));  // not followed: let go at once
    return static_cast<bool>(process);
}

bool Win32ProcessLauncher::StartFollowed(const std::string& program, const std::string& commandLine,
                                         ShowWindow show, std::function<void()> ended) {
    if (!MakeMessageWindow()) return Start(program, commandLine, show);
    HANDLE process = Create(program, commandLine, show);
    if (!process) return false;
    auto followed = std::make_unique<Followed>(process, std::move(ended), messages_.Get(), kProcessEnded);
    if (followed->Watch()) followed_.push_back(std::move(followed));  // else it simply runs unfollowed
    return true;
}

void Win32ProcessLauncher::RunEnded(WPARAM which) {
    // Only a record still held is touched: the message may come from a wait already let go.
    const auto held = std::find_if(followed_.begin(), followed_.end(),
                                   [which](const auto& f) { return reinterpret_cast<WPARAM>(f.get()) == which; });
    if (held == followed_.end()) return;
    std::function<void()> ended = (*held)->TakeEnded();
    followed_.erase(held);
    if (ended) ended();
}

}  // namespace varnic::win32
