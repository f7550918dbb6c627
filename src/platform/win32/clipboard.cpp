// Win32Clipboard: one attempt to open the clipboard; while another window holds it open the
// clear fails and the caller reports it, nothing is retried.
#include "platform/win32/clipboard.h"

#include <windows.h>

namespace varnic::win32 {

bool Win32Clipboard::Clear() {
    if (!OpenClipboard(nullptr)) return false;
    bool emptied = EmptyClipboard() != 0;
    CloseClipboard();
    return emptied;
}

}  // namespace varnic::win32
