// The progress bar as a Win32 child window: kelvo's bar1 and tarnel's pb1. The window keeps
// its drawing in its own off-screen bitmap and repaints itself from it, so the host only
// creates it, loads its design and sets Value:
//
//     ProgressBarControl bar1{messages};
//     bar1.Bar().ReadProperties(HostBarDesign());  // ProgressLook 6
//     bar1.Create(window, kBar1Id, pixels);
//     bar1.Bar().SetValue(load);
#pragma once

#include <windows.h>

#include "base/ports.h"
#include "controls/win32/bound_window.h"
#include "controls/progressbar/stored_design.h"
#include "controls/progressbar/win32/gdi_progress_canvas.h"
#include "controls/progressbar/xp_progress_bar.h"

namespace varnic::win32 {

class ProgressBarControl {
public:
    // `messages` shows the bar's "Error" boxes; it must outlive the control.
    explicit ProgressBarControl(MessageBoxes& messages);
    ProgressBarControl(const ProgressBarControl&) = delete;
    ProgressBarControl& operator=(const ProgressBarControl&) = delete;
    ~ProgressBarControl();  // destroys the window if its parent has not already

    // Creates the visible child window at `pixels` (the parent's client coordinates) and draws
    // the empty frame. `scalePercent` is the bar's drawing scale; 0 takes the screen's DPI
    // (96 DPI is 100). False when the window could not be made or one exists already.
    bool Create(HWND parent, int id, const RECT& pixels, int scalePercent = 0);

    HWND Window() const { return window_; }
    XpProgressBar& Bar() { return bar_; }

    static const wchar_t* ClassName() { return L"VarnicXpProgressBar"; }

private:
    static bool RegisterClassOnce();
    friend struct BoundWindow<ProgressBarControl>;
    void Bind(HWND window);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnSize(int width, int height);
    void OnPaint();
    void OnPrintClient(HDC target);

    GdiProgressCanvas canvas_;
    XpProgressBar bar_;
    HWND window_ = nullptr;
    int scalePercent_ = 100;
};

}  // namespace varnic::win32
