// The life of a modeless window of which a thread shows at most one (the rule editor, the about
// window). Show either brings the open window to the front or creates a new one; the window
// takes its C++ object over at WM_NCCREATE and frees it after WM_NCDESTROY, once no call of the
// object is running any more (a handler may close its own window).
#pragma once

#include <windows.h>

#include <cwchar>
#include <memory>

#include "controls/win32/screen_units.h"
#include "platform/win32/handles.h"

namespace varnic::win32 {

// Derived provides `static constexpr const wchar_t* kClassName`, `bool Build()` (creates the
// controls; false when the window cannot be used) and `LRESULT HandleMessage(UINT, WPARAM, LPARAM)`,
// and befriends ModelessWindow<Derived>.
template <typename Derived>
class ModelessWindow {
public:
    ModelessWindow(const ModelessWindow&) = delete;
    ModelessWindow& operator=(const ModelessWindow&) = delete;

    // The open window of this thread, or null.
    static HWND Find() {
        Search search{nullptr};
        EnumThreadWindows(GetCurrentThreadId(), FindClass, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

protected:
    ModelessWindow() = default;
    ~ModelessWindow() = default;

    // The open window, brought to the front; null when none is open.
    static HWND BringOpenWindowToFront() {
        HWND open = Find();
        if (open) {
            ::ShowWindow(open, IsIconic(open) ? SW_RESTORE : SW_SHOW);
            SetForegroundWindow(open);
        }
        return open;
    }

    // Creates the window for `object` at x, y (or CW_USEDEFAULT) with the outer size given in
    // pixels, lets it build its controls and shows it. Answers the window, or null; the object
    // goes either way.
    static HWND Create(HINSTANCE instance, std::unique_ptr<Derived> object, DWORD exStyle, const wchar_t* caption,
                       DWORD style, int x, int y, int width, int height, HWND owner) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = Derived::kClassName;
        if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;

        Derived* self = object.get();
        HWND window = CreateWindowExW(exStyle, Derived::kClassName, caption, style, x, y, width, height, owner,
                                      nullptr, instance, &object);
        if (!window) return nullptr;  // the object went with the window, or with `object`
        try {
            Busy busy(self);
            if (!self->Build() || !self->window_) return nullptr;
            ::ShowWindow(window, SW_SHOWNORMAL);
            UpdateWindow(window);
            SetForegroundWindow(window);
            return window;
        } catch (...) {
            if (IsWindow(window)) DestroyWindow(window);
            return nullptr;
        }
    }

    HWND window_ = nullptr;

private:
    struct Search {
        HWND found;
    };

    // Keeps the object alive while one of its calls runs, even if the window goes meanwhile.
    class Busy {
    public:
        explicit Busy(Derived* self) : self_(self) { ++self_->depth_; }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;
        ~Busy() {
            if (--self_->depth_ == 0 && self_->destroyed_) delete self_;
        }

    private:
        Derived* self_;
    };

    static BOOL CALLBACK FindClass(HWND window, LPARAM state) {
        wchar_t name[64] = {};
        if (GetClassNameW(window, name, 64) && std::wcscmp(name, Derived::kClassName) == 0) {
            reinterpret_cast<Search*>(state)->found = window;
            return FALSE;
        }
        return TRUE;
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        try {
            if (message == WM_NCCREATE) {
                auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
                Derived* self = static_cast<std::unique_ptr<Derived>*>(create->lpCreateParams)->release();
                self->window_ = window;
                SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            }
            auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            if (!self) return DefWindowProcW(window, message, wParam, lParam);
            Busy busy(self);
            if (message == WM_NCDESTROY) {
                SetWindowLongPtrW(window, GWLP_USERDATA, 0);
                self->window_ = nullptr;
                self->destroyed_ = true;  // freed once no call of it is running any more
                return DefWindowProcW(window, message, wParam, lParam);
            }
            return self->HandleMessage(message, wParam, lParam);
        } catch (...) {
            return DefWindowProcW(window, message, wParam, lParam);  // nothing may cross into the system
        }
    }

    int depth_ = 0;
    bool destroyed_ = false;
};

}  // namespace varnic::win32
