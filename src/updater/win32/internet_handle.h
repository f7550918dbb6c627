// Owner of a WinINet handle (a session from InternetOpenW, a request from InternetOpenUrlW),
// closed with InternetCloseHandle.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "platform/win32/handles.h"

namespace varnic::win32 {

struct InternetHandleTraits {
    static HINTERNET Invalid() { return nullptr; }
    static void Close(HINTERNET h) { InternetCloseHandle(h); }
};
using UniqueInternet = Unique<HINTERNET, InternetHandleTraits>;

}  // namespace varnic::win32
