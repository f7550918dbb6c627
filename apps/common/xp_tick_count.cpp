// GetTickCount64 for the 32-bit programs on Windows XP.
//
// The posix-thread flavour of the mingw-w64 toolchain links libwinpthread statically (the C++
// runtime's exception and once-only code go through it). Its timing helper reads the clock
// through kernel32's GetTickCount64, which only exists from Windows Vista on, so a plain link
// puts that name into the import table and the loader of Windows XP refuses the program.
//
// This file defines the import slot that winpthread's code calls through. An object file on
// the link line comes before the import libraries, so the linker takes this slot and never
// asks kernel32 for the name. The slot leads to a function that uses the real GetTickCount64
// where kernel32 has it, and the performance counter (always present from XP on) elsewhere.
// The programs themselves start no threads; this only keeps the runtime's code loadable.
// The 64-bit programs are not meant for XP and keep the real import.
#include <windows.h>

#if defined(__i386__)

namespace varnic::win32 {
namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();

// Milliseconds from the performance counter, split so that the product cannot overflow.
ULONGLONG TickCountFromPerformanceCounter() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER now{};
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0 || !QueryPerformanceCounter(&now))
        return GetTickCount();
    const auto ticks = static_cast<ULONGLONG>(now.QuadPart);
    const auto perSecond = static_cast<ULONGLONG>(frequency.QuadPart);
    return ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
}

// Looked up on every call: the callers are the runtime's rare timed waits, and a cached
// pointer would be a global written from any thread.
ULONGLONG WINAPI TickCount64() {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto real = kernel != nullptr ? reinterpret_cast<TickCount64Function>(
                                              reinterpret_cast<void*>(GetProcAddress(kernel, "GetTickCount64")))
                                        : nullptr;
    return real != nullptr ? real() : TickCountFromPerformanceCounter();
}

}  // namespace
}  // namespace varnic::win32

// The name the 32-bit import library gives kernel32's slot for GetTickCount64 (stdcall, no
// arguments).
extern "C" {
extern varnic::win32::TickCount64Function const varnic_tick_count_64_slot __asm__("__imp__GetTickCount64@0");
varnic::win32::TickCount64Function const varnic_tick_count_64_slot = &varnic::win32::TickCount64;
}
#endif  // __i386__
