// progress_bar_looks.exe: a window showing the progress bar in each of its eight looks, filled
// to 70 %, at 100 % scale on the left and 200 % on the right, until it is closed. `./x
// screenshots` takes it as docs/screenshots/progress_bar_looks.png.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/progressbar/win32/progress_bar_control.h"

namespace {

constexpr wchar_t kCaption[] = L"Xp_ProgressBar looks";
constexpr int kGap = 10, kWidth = 240, kHeight = 18, kRow = 2 * kHeight + kGap;

class NoBoxes final : public varnic::MessageBoxes {
public:
    void Show(const std::string&, const std::string&, varnic::MessageIcon) override {}
};

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main() {
    using varnic::win32::ProgressBarControl;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = L"VarnicProgressBarLooks";
    if (RegisterClassExW(&windowClass) == 0) return 1;

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, kGap + kWidth + kGap + 2 * kWidth + kGap, kGap + 8 * kRow};
    AdjustWindowRect(&frame, style, FALSE);
    varnic::win32::UniqueWindow window(CreateWindowExW(0, windowClass.lpszClassName, kCaption, style, 20, 20,
                                                       frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                                       nullptr, windowClass.hInstance, nullptr));
    if (!window) return 1;

    NoBoxes boxes;
    std::vector<std::unique_ptr<ProgressBarControl>> bars;
    for (int look = 0; look < 8; ++look) {
        for (int scale : {100, 200}) {
            const int left = scale == 100 ? kGap : kGap + kWidth + kGap, top = kGap + look * kRow;
            auto bar = std::make_unique<ProgressBarControl>(boxes);
            bar->Bar().ReadProperties(varnic::StoredDesign{{"ProgressLook", look}});
            bar->Create(window.Get(), 100 + static_cast<int>(bars.size()),
                        RECT{left, top, left + kWidth * scale / 100, top + kHeight * scale / 100}, scale);
            bar->Bar().SetValue(70);
            bars.push_back(std::move(bar));
        }
    }
    ShowWindow(window.Get(), SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    window.Release();  // closing it destroyed it
    return 0;
}
