// The notification-area icon of one window: shown, changed and removed through
// Shell_NotifyIconW, re-added when Explorer restarts, with a pop-up menu that closes when
// the user clicks elsewhere. Runs on Windows XP SP3 and later: the record handed to the
// shell is sized for the running system and the newer callback format is used where the
// shell offers it.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/handles.h"

namespace varnic::win32 {

class TrayIcon {
public:
    // The tray calls back `owner` with `callbackMessage`; decode it with MouseMessage and
    // IsMenuRequest. `id` tells apart several icons of one window.
    TrayIcon(HWND owner, UINT callbackMessage, UINT id = 1);
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;
    ~TrayIcon();  // removes the icon

    // Shows the icon with the current picture and tip. True when the shell holds it. When no
    // tray exists yet the icon stays wanted and OnTaskbarCreated shows it later.
    bool Add();
    // Takes the icon out of the tray; it is no longer wanted.
    bool Remove();
    bool IsShown() const { return shown_; }

    // The picture belongs to someone else (e.g. the window's class icon) and must outlive
    // its use here. A previously owned picture is destroyed once the shell has the new one.
    void SetSharedIcon(HICON icon);
    // The tray takes the picture over; the previous owned picture is destroyed after the
    // shell has switched to the new one, so the icon never points at a destroyed picture.
    void SetOwnedIcon(UniqueIcon icon);
    HICON CurrentIcon() const { return icon_; }

    // Lines separated by CR LF. Cut to what the shell can hold (127 characters on current
    // systems) without splitting a character or a line break.
    void SetTip(const std::wstring& tip);
    const std::wstring& Tip() const { return tip_; }

    // A balloon notice by the icon (Windows 2000 and later), cut to what the shell holds. The
    // shell shows it for a while and drops it by itself; false when the icon is not shown.
    bool ShowBalloon(const std::wstring& title, const std::wstring& text);

    // The owner calls this on TaskbarCreatedMessage(): Explorer restarted and forgot every
    // icon. Shows the icon again if it is wanted. True when it is shown afterwards.
    bool OnTaskbarCreated();
    static UINT TaskbarCreatedMessage();

    // True when the shell agreed to the version 4 callback format.
    bool UsesVersion4() const { return version4_; }
    // The mouse or notification message of a callback (WM_LBUTTONUP, WM_RBUTTONUP,
    // WM_CONTEXTMENU, NIN_SELECT...). It is the low word of lParam in every format: version 4
    // puts the icon's id in the high word, older versions send the bare message.
    static UINT MouseMessage(LPARAM lParam) { return LOWORD(lParam); }
    UINT MouseMessage(WPARAM, LPARAM lParam) const { return MouseMessage(lParam); }
    // True when a callback asks for the pop-up menu. Shells that accepted version 3 or 4
    // follow a right-click with WM_CONTEXTMENU, which is also what the keyboard sends: that
    // one opens the menu, so a right-click does not open it twice. Older shells send only
    // WM_RBUTTONUP.
    bool IsMenuRequest(LPARAM lParam) const {
        return MouseMessage(lParam) == (versionSet_ ? WM_CONTEXTMENU : WM_RBUTTONUP);
    }

    // Shows `menu` (a pop-up menu, e.g. GetSubMenu of a menu bar) at the cursor. A chosen
    // entry reaches `owner` as WM_COMMAND. Returns when the menu has closed; false when it
    // could not be shown.
    static bool ShowMenu(HWND owner, HMENU menu);

    // The longest tip the running shell accepts, and `tip` cut to it.
    static std::size_t TipCapacity(DWORD recordSize);
    static std::wstring FitTip(const std::wstring& tip, std::size_t capacity);

private:
    bool Notify(DWORD message, UINT flags, const std::wstring* balloonTitle = nullptr,
                const std::wstring* balloonText = nullptr);
    bool AddWithSize(DWORD size);
    void ApplyVersion();
    void ShowChange();

    HWND owner_;
    UINT callbackMessage_;
    UINT id_;
    DWORD recordSize_;
    HICON icon_ = nullptr;
    UniqueIcon owned_;
    std::wstring tip_;
    bool wanted_ = false;
    bool shown_ = false;
    bool version4_ = false;
    bool versionSet_ = false;  // the shell accepted version 3 or 4
};

}  // namespace varnic::win32
