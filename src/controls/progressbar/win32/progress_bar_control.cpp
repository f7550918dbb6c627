// The progress bar's window: a class registered once, a window procedure that forwards to
// the control, and painting from the retained bitmap.
#include "controls/progressbar/win32/progress_bar_control.h"

namespace varnic::win32 {
namespace {

int ScreenScalePercent() {
    WindowDc screen(nullptr);
    const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    return dpi > 0 ? MulDiv(dpi, 100, 96) : 100;
}

// BeginPaint and EndPaint for one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { BeginPaint(window, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(window_, &paint_); }
    HDC Dc() const { return paint_.hdc; }
    const RECT& Area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

}  // namespace

ProgressBarControl::ProgressBarControl(MessageBoxes& messages) : bar_(canvas_, messages) {}

ProgressBarControl::~ProgressBarControl() {
    if (window_ != nullptr) DestroyWindow(window_);  // WM_NCDESTROY lets go of this object
}

bool ProgressBarControl::RegisterClassOnce() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = BoundWindow<ProgressBarControl>::Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = ClassName();
        return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

bool ProgressBarControl::Create(HWND parent, int id, const RECT& pixels, int scalePercent) {
    if (window_ != nullptr || !RegisterClassOnce()) return false;
    scalePercent_ = scalePercent > 0 ? scalePercent : ScreenScalePercent();
    // WM_SIZE during creation sizes the surface and draws the frame.
    HWND window = CreateWindowExW(0, ClassName(), L"", WS_CHILD | WS_VISIBLE, pixels.left, pixels.top,
                                  pixels.right - pixels.left, pixels.bottom - pixels.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this);
    return window != nullptr;
}

void ProgressBarControl::Bind(HWND window) {
    window_ = window;
    canvas_.Attach(window);
}

LRESULT ProgressBarControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            OnSize(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_ERASEBKGND:
            return TRUE;  // WM_PAINT covers every pixel from the bitmap: no flicker
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_PRINTCLIENT:
            OnPrintClient(reinterpret_cast<HDC>(wParam));
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void ProgressBarControl::OnSize(int width, int height) {
    canvas_.SetSize(width, height, scalePercent_);
    bar_.Resize();
    InvalidateRect(window_, nullptr, FALSE);
}

void ProgressBarControl::OnPaint() {
    PaintScope paint(window_);
    canvas_.CopyTo(paint.Dc(), paint.Area());
}

void ProgressBarControl::OnPrintClient(HDC target) {
    RECT client{};
    GetClientRect(window_, &client);
    canvas_.CopyTo(target, client);
}

}  // namespace varnic::win32
