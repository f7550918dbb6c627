// Starts a program with CreateProcessW and does not wait for it. A followed start keeps the
// process's handle and lets the thread pool watch it: when the process ends, the wait posts a
// message to the launcher's own message-only window, made on the thread of the first followed
// start, so its `ended` runs there from that thread's message loop. A start in the background
// creates the process on a thread of its own, which posts its outcome to the same window.
#pragma once

#include <windows.h>

#include <list>
#include <memory>

#include "base/ports.h"
#include "platform/win32/handles.h"

namespace varnic::win32 {

class Win32ProcessLauncher final : public ProcessLauncher {
public:
    Win32ProcessLauncher();
    Win32ProcessLauncher(const Win32ProcessLauncher&) = delete;
    Win32ProcessLauncher& operator=(const Win32ProcessLauncher&) = delete;
    // Waits for the starts under way and stops following: no `started` or `ended` runs afterwards.
    ~Win32ProcessLauncher() override;

    bool Start(const std::string& program, const std::string& commandLine, ShowWindow show) override;
    bool StartFollowed(const std::string& program, const std::string& commandLine, ShowWindow show,
                       std::function<void()> ended) override;
    void StartInBackground(const std::string& program, const std::string& commandLine, ShowWindow show,
                           std::function<void(bool)> started, std::function<void()> ended) override;

private:
    class Followed;
    static LRESULT CALLBACK MessageWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool MakeMessageWindow();
    std::list<std::unique_ptr<Followed>>::iterator Held(WPARAM which);
    void RunStarted(WPARAM which);
    void RunEnded(WPARAM which);

    UniqueWindow messages_;
    std::list<std::unique_ptr<Followed>> followed_;
};

}  // namespace varnic::win32
