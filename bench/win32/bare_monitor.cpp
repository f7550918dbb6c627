// The reference of the idle measurement: the least a memory monitor can be on Windows. One
// window, one label, and a 500 ms timer that reads the memory status and sets the label.
#include <windows.h>

#include <cwchar>

namespace {

constexpr UINT_PTR kTimer = 1;
constexpr int kLabel = 100;

void ShowMemory(HWND window) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    wchar_t text[64];
    std::swprintf(text, 64, L"%lu%% %lluM", status.dwMemoryLoad,
                  static_cast<unsigned long long>(status.ullAvailPhys / (1024 * 1024)));
    SetDlgItemTextW(window, kLabel, text);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLabel)), nullptr, nullptr);
            SetTimer(window, kTimer, 500, nullptr);
            return 0;
        case WM_TIMER:
            ShowMemory(window);
            return 0;
        case WM_DESTROY:
            KillTimer(window, kTimer);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareMonitor";
    if (!RegisterClassW(&windowClass)) return 1;
    HWND window = CreateWindowExW(0, L"BareMonitor", L"Bare monitor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 320, 120, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
