// TrayIcon: Shell_NotifyIconW for one window.
#include "controls/win32/tray_icon.h"

#include <shellapi.h>

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <utility>

namespace varnic::win32 {
namespace {

// Names of the Vista shell, absent from headers that target Windows XP.
constexpr UINT kNotifyIconVersion4 = 4;
constexpr UINT kShowStandardTip = 0x00000080;  // NIF_SHOWTIP: version 4 hides the tip otherwise

// The record of Windows Vista and later: the XP record followed by the balloon icon.
struct FullRecord {
    NOTIFYICONDATAW data;
    HICON balloonIcon;
};

// Headers that target Windows XP describe the XP record, which ends with guidItem.
constexpr DWORD kFullSize = sizeof(FullRecord);
constexpr DWORD kXpSize = sizeof(NOTIFYICONDATAW);
constexpr DWORD k2000Size = NOTIFYICONDATAW_V2_SIZE;
#ifndef _WIN64
static_assert(k2000Size == 936 && kXpSize == 952 && kFullSize == 956, "the sizes the 32-bit shells know");
#endif

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The record the running system was built for. Older shells refuse a record larger than
// their own, and a newer one only reads the newer fields from a record that holds them.
DWORD PreferredRecordSize() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExW(&version)) return kXpSize;
    if (version.dwMajorVersion >= 6) return kFullSize;
    if (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1) return kXpSize;
    return k2000Size;
}

}  // namespace

TrayIcon::TrayIcon(HWND owner, UINT callbackMessage, UINT id)
    : owner_(owner), callbackMessage_(callbackMessage), id_(id), recordSize_(PreferredRecordSize()) {}

TrayIcon::~TrayIcon() { Remove(); }

bool TrayIcon::Notify(DWORD message, UINT flags, const std::wstring* balloonTitle, const std::wstring* balloonText) {
    FullRecord record{};
    NOTIFYICONDATAW& data = record.data;
    data.cbSize = recordSize_;
    data.hWnd = owner_;
    data.uID = id_;
    data.uFlags = flags;
    data.uCallbackMessage = callbackMessage_;
    data.hIcon = icon_;
    if (flags & NIF_TIP) {
        const std::wstring tip = FitTip(tip_, TipCapacity(recordSize_));
        tip.copy(data.szTip, tip.size());
        if (version4_) data.uFlags |= kShowStandardTip;
    }
    if (flags & NIF_INFO) {
        constexpr std::size_t kTitle = std::size(NOTIFYICONDATAW{}.szInfoTitle) - 1;
        constexpr std::size_t kText = std::size(NOTIFYICONDATAW{}.szInfo) - 1;
        FitTip(*balloonTitle, kTitle).copy(data.szInfoTitle, kTitle);
        FitTip(*balloonText, kText).copy(data.szInfo, kText);
        data.dwInfoFlags = NIIF_INFO;
        data.uTimeout = 10000;  // what shells before Vista keep it for; later ones choose themselves
    }
    if (message == NIM_SETVERSION) data.uVersion = version4_ ? kNotifyIconVersion4 : NOTIFYICON_VERSION;
    return Shell_NotifyIconW(message, &data) != FALSE;
}

bool TrayIcon::Add() {
    wanted_ = true;
    if (shown_) {
        Notify(NIM_MODIFY, NIF_MESSAGE | NIF_ICON | NIF_TIP);
        return true;
    }
    for (DWORD size : {kFullSize, kXpSize, k2000Size}) {
        if (size > PreferredRecordSize()) continue;
        if (AddWithSize(size)) return true;
    }
    recordSize_ = PreferredRecordSize();
    return false;
}

bool TrayIcon::AddWithSize(DWORD size) {
    recordSize_ = size;
    version4_ = versionSet_ = false;
    const UINT flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    // A busy shell may time out and still add the icon; an icon that is already there
    // refuses NIM_ADD. Either way NIM_MODIFY tells whether the shell holds it.
    if (!Notify(NIM_ADD, flags) && !Notify(NIM_MODIFY, flags)) return false;
    shown_ = true;
    ApplyVersion();
    return true;
}

void TrayIcon::ApplyVersion() {
    version4_ = recordSize_ >= kFullSize;
    if (version4_ && Notify(NIM_SETVERSION, 0)) {
        versionSet_ = true;
        Notify(NIM_MODIFY, NIF_TIP);  // ask for the standard tip again
        return;
    }
    version4_ = false;
    versionSet_ = Notify(NIM_SETVERSION, 0);
}

bool TrayIcon::Remove() {
    wanted_ = false;
    if (!shown_) return true;
    shown_ = false;
    return Notify(NIM_DELETE, 0);
}

void TrayIcon::ShowChange() {
    if (shown_) Notify(NIM_MODIFY, NIF_ICON | NIF_TIP);
}

void TrayIcon::SetSharedIcon(HICON icon) {
    icon_ = icon;
    ShowChange();
    owned_.Reset();
}

void TrayIcon::SetOwnedIcon(UniqueIcon icon) {
    icon_ = icon.Get();
    ShowChange();
    owned_ = std::move(icon);
}

void TrayIcon::SetTip(const std::wstring& tip) {
    if (tip == tip_) return;
    tip_ = tip;
    ShowChange();
}

bool TrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text) {
    return shown_ && Notify(NIM_MODIFY, NIF_INFO, &title, &text);
}

bool TrayIcon::OnTaskbarCreated() {
    shown_ = false;
    version4_ = versionSet_ = false;
    return wanted_ && Add();
}

UINT TrayIcon::TaskbarCreatedMessage() { return RegisterWindowMessageW(L"TaskbarCreated"); }

bool TrayIcon::ShowMenu(HWND owner, HMENU menu) {
    if (!menu) return false;
    POINT at{};
    GetCursorPos(&at);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(owner);
    const UINT align = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const BOOL shown = TrackPopupMenuEx(menu, align | TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, at.x, at.y, owner, nullptr);
    // Lets the owner's thread leave the menu mode cleanly, so the next click opens it again.
    PostMessageW(owner, WM_NULL, 0, 0);
    return shown != FALSE;
}

std::size_t TrayIcon::TipCapacity(DWORD recordSize) {
    constexpr std::size_t kOldTip = 64, kNewTip = sizeof(NOTIFYICONDATAW::szTip) / sizeof(wchar_t);
    return (recordSize >= k2000Size ? kNewTip : kOldTip) - 1;
}

std::wstring TrayIcon::FitTip(const std::wstring& tip, std::size_t capacity) {
    if (tip.size() <= capacity) return tip;
    std::size_t length = capacity;
    if (length > 0 && IsHighSurrogate(tip[length - 1])) --length;
    while (length > 0 && (tip[length - 1] == L'\r' || tip[length - 1] == L'\n')) --length;
    return tip.substr(0, length);
}

}  // namespace varnic::win32
