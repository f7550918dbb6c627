// The window procedure of a window whose C++ object is handed over as the creation parameter
// and outlives the window (the main window, the updater window, the progress bar control).
#pragma once

#include <windows.h>

namespace varnic::win32 {

// T provides `void Bind(HWND)`, told its window at WM_NCCREATE and null after WM_NCDESTROY,
// and `LRESULT HandleMessage(UINT, WPARAM, LPARAM)` for every message in between; it
// befriends BoundWindow<T> when these are private. Nothing thrown may cross into the system:
// a handler that throws gets the default handling instead.
template <typename T>
struct BoundWindow {
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        try {
            if (message == WM_NCCREATE) {
                auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
                SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
                self->Bind(window);
            }
            if (auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
                if (message != WM_NCDESTROY) return self->HandleMessage(message, wParam, lParam);
                SetWindowLongPtrW(window, GWLP_USERDATA, 0);
                self->Bind(nullptr);
            }
        } catch (...) {
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

}  // namespace varnic::win32
