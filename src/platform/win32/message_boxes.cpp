// Win32MessageBoxes.
#include "platform/win32/message_boxes.h"

#include "platform/win32/wide.h"

namespace varnic::win32 {

UINT Win32MessageBoxes::Style(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical: return MB_OK | MB_ICONHAND;
        case MessageIcon::Information: return MB_OK | MB_ICONINFORMATION;
        case MessageIcon::None: break;
    }
    return MB_OK;
}

void Win32MessageBoxes::Show(const std::string& text, const std::string& caption, MessageIcon icon) {
    MessageBoxW(owner_, Wide(text).c_str(), Wide(caption).c_str(), Style(icon));
}

}  // namespace varnic::win32
