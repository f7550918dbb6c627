// Win32ProcessCounter. A Toolhelp snapshot copies the process list into a new shared section
// and hands it out entry by entry; the process list itself is one system call into a buffer
// of the caller's. Both list the same processes, the idle process included.
#include "platform/win32/process_counter.h"

#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <cstring>
#include <new>

#include "platform/win32/handles.h"

namespace varnic::win32 {
namespace {

constexpr unsigned long kSystemProcessInformation = 5;
constexpr long kInfoLengthMismatch = static_cast<long>(0xC0000004);
constexpr unsigned long kFirstBufferSize = 64 * 1024;  // a few hundred processes with their threads
constexpr unsigned long kLargestBufferSize = 64ul * 1024 * 1024;

}  // namespace

Win32ProcessCounter::Win32ProcessCounter() {
    // Present in every ntdll since Windows NT; looked up so that nothing is imported from ntdll.
    if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll"))
        query_ = reinterpret_cast<QueryFunction>(
            reinterpret_cast<void*>(GetProcAddress(ntdll, "NtQuerySystemInformation")));
}

int Win32ProcessCounter::CountInProcessList() {
    if (!query_) return -1;
    for (;;) {
        if (!buffer_) {
            bufferSize_ = bufferSize_ ? bufferSize_ : kFirstBufferSize;
            buffer_.reset(new (std::nothrow) std::byte[bufferSize_]);
            if (!buffer_) return -1;
        }
        unsigned long needed = 0;
        const long status = query_(kSystemProcessInformation, buffer_.get(), bufferSize_, &needed);
        if (status == kInfoLengthMismatch && bufferSize_ < kLargestBufferSize) {
            // The list grew beyond the buffer: a larger one, with room for the next processes.
            bufferSize_ = needed > bufferSize_ ? needed + needed / 4 : bufferSize_ * 2;
            buffer_.reset();
            continue;
        }
        if (status < 0) return -1;
        // Each entry starts with the offset of the next one; the last one's is 0.
        int count = 1;
        for (unsigned long at = 0;; ++count) {
            unsigned long next = 0;
            std::memcpy(&next, buffer_.get() + at, sizeof next);
            if (next == 0) return count;
            if (next > bufferSize_ - sizeof next - at) return -1;  // a list that leaves the buffer
            at += next;
        }
    }
}

int Win32ProcessCounter::Count() {
    const int count = CountInProcessList();
    return count >= 0 ? count : CountProcessesInSnapshot(TH32CS_SNAPPROCESS);
}

int CountProcessesInSnapshot(unsigned long flags) {
    HANDLE raw = CreateToolhelp32Snapshot(flags, 0);
    if (raw == INVALID_HANDLE_VALUE) return 0;
    UniqueHandle snapshot(raw);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    if (!Process32FirstW(snapshot.Get(), &entry)) return 0;
    int count = 1;
    while (Process32NextW(snapshot.Get(), &entry)) ++count;
    return count;
}

}  // namespace varnic::win32
