// Win32MessageBoxes.
#include "platform/win32/message_boxes.h"

#include "platform/win32/wide.h"

namespace varnic::win32 {

UINT Win32MessageBoxes::Style(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical:
            return MB_OK | MB_ICONHAND;
        case MessageIcon::Information:
            return MB_OK | MB_ICONINFORMATION;
        case MessageIcon::None:
            break;
    }
    return MB_OK;
}

void Win32MessageBoxes::Show(const std::string& text, const std::string& caption, MessageIcon icon) {
    // Without an owner the box would leave the program's other windows usable; task-modal
    // disables every window of this thread while it is up, as a box over its owner would.
    const UINT modality = owner_ ? 0 : MB_TASKMODAL;
    MessageBoxW(owner_, Wide(text).c_str(), Wide(caption).c_str(), Style(icon) | modality);
}

}  // namespace varnic::win32
