// Win32Beeper: MessageBeep with MB_OK plays the sound the user chose as "Default Beep".
#include "platform/win32/beeper.h"

#include <windows.h>

namespace varnic::win32 {

void Win32Beeper::Beep() { MessageBeep(MB_OK); }

}  // namespace varnic::win32
