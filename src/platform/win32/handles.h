// Move-only owners of Win32 handles, one job each. Every handle the programs open is held
// by one of these, so it is released on every path.
#pragma once

#include <windows.h>

#include <utility>

namespace varnic::win32 {

template <typename Handle, typename Traits>
class Unique {
public:
    Unique() = default;
    explicit Unique(Handle handle) : handle_(handle) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
    Unique& operator=(Unique&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, Traits::Invalid()));
        return *this;
    }
    ~Unique() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid()) {
        if (handle_ != Traits::Invalid()) Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {  // processes, threads, snapshots, events
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct FileHandleTraits {  // CreateFile and FindFirstFile answer INVALID_HANDLE_VALUE on failure
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
struct GdiObjectTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};
struct WindowTraits {
    static HWND Invalid() { return nullptr; }
    static void Close(HWND h) { DestroyWindow(h); }
};
struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { DestroyMenu(h); }
};

struct ModuleTraits {  // LoadLibrary
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE m) { FreeLibrary(m); }
};

using UniqueHandle = Unique<HANDLE, KernelHandleTraits>;
using UniqueFile = Unique<HANDLE, FileHandleTraits>;
using UniqueFind = Unique<HANDLE, FindHandleTraits>;
using UniqueGdiObject = Unique<HGDIOBJ, GdiObjectTraits>;
using UniqueMemoryDc = Unique<HDC, MemoryDcTraits>;
using UniqueIcon = Unique<HICON, IconTraits>;
using UniqueWindow = Unique<HWND, WindowTraits>;
using UniqueMenu = Unique<HMENU, MenuTraits>;
using UniqueModule = Unique<HMODULE, ModuleTraits>;

// A GDI object of a specific type (HBITMAP, HFONT, HPEN, HBRUSH), deleted with DeleteObject.
template <typename T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T object) : object_(object) {}
    T Get() const { return static_cast<T>(object_.Get()); }
    explicit operator bool() const { return static_cast<bool>(object_); }
    void Reset(T object = nullptr) { object_.Reset(object); }

private:
    UniqueGdiObject object_;
};

// A DC borrowed from a window with GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a DC for one scope; the previous object is selected back at its end.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (previous_) SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace varnic::win32
