#include "monitor/win32/main_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include "controls/win32/control_kit.h"
#include "controls/win32/screen_units.h"
#include "controls/win32/text_font.h"
#include "monitor/win32/main_window_ids.h"
#include "monitor/clean_texts.h"
#include "monitor/win32/main_window_resources.h"
#include "platform/win32/elevation.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {
namespace {

using namespace main_window_ids;
constexpr int kFirstMenuId = kFirstMenuEntry;
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT_PTR kTimer2 = 2;
constexpr UINT kTrayCallback = WM_APP + 1;
constexpr TwipsRect kImage1{0, 0, 6690, 1860};
constexpr int kClientWidth = 6630;

HWND Item(HWND window, int id) { return GetDlgItem(window, id); }

}  // namespace

// bar1: the self-drawn progress bar in its orange look, following the free percentage.
class MainWindow::FreeMemoryBarControl final : public kelvo::FreeMemoryBar {
public:
    explicit FreeMemoryBarControl(ProgressBarControl& control) : control_(control) {}
    void SetValue(std::int32_t value) override {
        if (value != control_.Bar().Value()) control_.Bar().SetValue(value);
    }

private:
    ProgressBarControl& control_;
};

MainWindow::MainWindow(HINSTANCE instance, MainWindowPorts ports, std::string appDir, SecondaryWindows secondary,
                       Language language)
    : instance_(instance),
      ports_(ports),
      appDir_(appDir),
      language_(language),
      secondary_(std::move(secondary)),
      gauge_(ScreenDpi()),
      form_({ports.files, ports.codec, ports.launcher, ports.memory, ports.processes, ports.clipboard, ports.beeper,
             ports.messages, ports.shell, *this, gauge_, hotkeySystem_},
            *this, std::move(appDir), language) {}

MainWindow::~MainWindow() {
    if (window_) DestroyWindow(window_);
}

bool MainWindow::Create() {
    programIcon_ = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_KELVO));
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = BoundWindow<MainWindow>::Procedure;
    windowClass.hInstance = instance_;
    windowClass.hIcon = programIcon_;
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_KELVO), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

    dpi_ = ScreenDpi();
    // Not WS_CLIPCHILDREN: the panel's group box paints only its frame and caption, so the window
    // itself must paint the background inside it.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, Px(kClientWidth), Px(form_.height - kelvo::kNonClientHeight)};
    AdjustWindowRect(&frame, style, FALSE);
    window_ = CreateWindowExW(0, kClassName, Wide(form_.caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance_, this);
    if (!window_) return false;
    ports_.messages.SetOwner(window_);
    ports_.shell.SetOwner(window_);
    hotkeySystem_.Attach(window_, &form_.HotkeyModule());
    const int background = dpi_ > 120 ? IDB_BACKGROUND_2X : IDB_BACKGROUND;
    builtInBackground_.Reset(static_cast<HBITMAP>(
        LoadImageW(instance_, MAKEINTRESOURCEW(background), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    CreateControls();

    tray_ = std::make_unique<TrayIcon>(window_, kTrayCallback);
    tray_->SetSharedIcon(programIcon_);
    tray_->SetTip(L"Varnic");
    tray_->Add();

    SetTimer(window_, kTimer1, 500, nullptr);  // ticks from the moment the window exists
    return true;
}

void MainWindow::Load(const std::string& argumentString) {
    // The window is shown once start-up is over, unless start-up sent it to the tray.
    form_.Form_Load(argumentString);
    Reflect();
    if (argumentString != "-sendme" && window_) {
        ::ShowWindow(window_, SW_SHOWNORMAL);
        UpdateWindow(window_);
    }
}

RECT MainWindow::PxRect(const TwipsRect& place, int dx, int dy) const {
    return RectInPixels({place.left + dx, place.top + dy, place.width, place.height}, dpi_);
}

HWND MainWindow::AddControl(const wchar_t* windowClass, DWORD style, int id, const TwipsRect& place,
                            const std::string& text, HFONT font, const std::string& tooltip) {
    HWND control = CreateControl(window_, {windowClass, WS_CLIPSIBLINGS | style, id, place, text}, dpi_, font);
    if (!tooltip.empty()) buttons_->SetTooltip(control, Wide(tooltip));
    return control;
}

void MainWindow::CreateControls() {
    kelvo::Form1& f = form_;
    font_ = CreateTextFont(f.SpokenLanguage(), FontStyle{}, dpi_);
    linkFont_ = CreateTextFont(f.SpokenLanguage(), FontStyle{.underline = true}, dpi_);
    buttons_ = std::make_unique<ImageButtonGroup>(window_, f.SpokenLanguage());
    HFONT font = font_.Get();

    struct LabelRow {
        int id;
        LabelModel& model;
        DWORD extra;
    };
    const LabelRow labels[] = {
        {kLabel2_1, f.Label2_1, 0}, {kLabel1, f.Label1, 0},   {kLabel2_4, f.Label2_4, 0}, {kLabel5, f.Label5, 0},
        {kLabel2_0, f.Label2_0, 0}, {kLabel6, f.Label6, 0},   {kLabel3, f.Label3, 0},     {kLabel10, f.Label10, 0},
        {kLabel15, f.Label15, SS_NOTIFY}, {kLabel4, f.Label4, SS_NOTIFY | SS_CENTER},
    };
    for (const auto& label : labels)
        AddControl(L"STATIC", WS_VISIBLE | label.extra, label.id, label.model.place, label.model.caption,
                   label.id == kLabel4 ? linkFont_.Get() : font, label.model.tooltip);

    struct ButtonRow {
        int id;
        ButtonModel& model;
        int picture;
    };
    const ButtonRow imageButtons[] = {
        {kLabel8, f.Label8, IDI_BUTTON_HELP},      {kCommand3, f.Command3, IDI_BUTTON_PANEL},
        {kLabel7, f.Label7, IDI_BUTTON_UPDATE},    {kLabel9, f.Label9, IDI_BUTTON_DOWNLOAD},
        {kCommand2, f.Command2, IDI_BUTTON_TRAY},  {kCommand1, f.Command1, IDI_BUTTON_CLEAN},
    };
    for (const auto& button : imageButtons)
        buttons_->Add(button.id, PxRect(button.model.place), Wide(button.model.caption), button.picture,
                      Wide(button.model.tooltip));

    AddControl(L"BUTTON", WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, kCheck1, f.Check1.place, f.Check1.caption, font,
               f.Check1.tooltip);
    bar1Control_ = std::make_unique<ProgressBarControl>(ports_.messages);
    bar1Control_->Bar().ReadProperties(HostBarDesign());
    bar1Control_->Create(window_, kBar1, PxRect(TwipsRect{2040, 2400, 4575, 255}));
    bar1_ = std::make_unique<FreeMemoryBarControl>(*bar1Control_);
    form_.ConnectBar(bar1_.get());

    // The advanced panel: a group box with its controls placed relative to it.
    AddControl(L"BUTTON", BS_GROUPBOX, kF1, f.f1.place, f.f1.caption, font);
    AddControl(L"STATIC", 0, kLabel12, f.Label12.place, f.Label12.caption, font);
    AddControl(L"BUTTON", WS_TABSTOP | BS_RADIOBUTTON, kOp1, f.op1.place, f.op1.caption, font);
    AddControl(L"BUTTON", WS_TABSTOP | BS_RADIOBUTTON, kOp2, f.op2.place, f.op2.caption, font);
    AddControl(L"STATIC", 0, kLabel13, f.Label13.place, f.Label13.caption, font);
    HWND combo = AddControl(L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kCb1,
                            TwipsRect{f.cb1.place.left, f.cb1.place.top, f.cb1.place.width, 1800}, "", font);
    (void)combo;
    AddControl(L"STATIC", 0, kLabel14, f.Label14.place, f.Label14.caption, font);
    AddControl(L"BUTTON", WS_TABSTOP | BS_CHECKBOX, kCheck2, f.Check2.place, f.Check2.caption, font);
    AddControl(L"STATIC", 0, kLabel11, f.Label11.place, f.Label11.caption, font);
    AddControl(L"EDIT", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, kText1, f.Text1.place, f.Text1.text, font);
    AddControl(L"STATIC", SS_NOTIFY, kLabel16, f.Label16.place, f.Label16.caption, linkFont_.Get());
    ReflectLayout();
}

// ---------------------------------------------------------------------------------------------
// Model to controls

void MainWindow::ReflectLayout() {
    kelvo::Form1& f = form_;
    if (laidOutHeight_ == f.height) return;  // only the panel toggle changes the layout
    laidOutHeight_ = f.height;
    RECT frame{0, 0, Px(kClientWidth), Px(f.height - kelvo::kNonClientHeight)};
    AdjustWindowRect(&frame, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE);
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const RECT label4 = PxRect(f.Label4.place);
    SetWindowPos(Item(window_, kLabel4), nullptr, label4.left, label4.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    struct PanelItem {
        int id;
        TwipsRect place;
    };
    const PanelItem panel[] = {
        {kLabel12, f.Label12.place}, {kOp1, f.op1.place},       {kOp2, f.op2.place},
        {kLabel13, f.Label13.place}, {kCb1, {f.cb1.place.left, f.cb1.place.top, f.cb1.place.width, 1800}},
        {kLabel14, f.Label14.place}, {kCheck2, f.Check2.place}, {kLabel11, f.Label11.place},
        {kText1, f.Text1.place},     {kLabel16, f.Label16.place},
    };
    const RECT group = PxRect(f.f1.place);
    SetWindowPos(Item(window_, kF1), nullptr, group.left, group.top, group.right - group.left,
                 group.bottom - group.top, SWP_NOZORDER | (f.f1.visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    for (const auto& item : panel) {
        const RECT r = PxRect(item.place, f.f1.place.left, f.f1.place.top);
        SetWindowPos(Item(window_, item.id), HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     f.f1.visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    }
    // The contact line moved: repaint everything, the controls after the background under them.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void MainWindow::Reflect() {
    if (!window_) return;
    reflecting_ = true;
    kelvo::Form1& f = form_;
    ReflectTick();

    auto check = [&](int id, int value) {
        if (static_cast<int>(SendMessageW(Item(window_, id), BM_GETCHECK, 0, 0)) != value)
            SendMessageW(Item(window_, id), BM_SETCHECK, static_cast<WPARAM>(value), 0);
    };
    check(kCheck1, f.Check1.value);
    check(kCheck2, f.Check2.value);
    check(kOp1, f.op1.value ? BST_CHECKED : BST_UNCHECKED);
    check(kOp2, f.op2.value ? BST_CHECKED : BST_UNCHECKED);

    HWND combo = Item(window_, kCb1);
    if (static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)) != static_cast<int>(f.cb1.items.size())) {
        SendMessageW(combo, CB_RESETCONTENT, 0, 0);
        for (const auto& item : f.cb1.items)
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    }
    if (static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)) != f.cb1.listIndex)
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(f.cb1.listIndex), 0);

    HWND text1 = Item(window_, kText1);
    if (TextOf(text1) != f.Text1.text) {
        SetWindowTextW(text1, Wide(f.Text1.text).c_str());
        SendMessageW(text1, EM_SETSEL, static_cast<WPARAM>(-1), -1);  // caret after the letter
    }

    reflecting_ = false;
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (tray_ && message == TrayIcon::TaskbarCreatedMessage()) {
        tray_->OnTaskbarCreated();
        return 0;
    }
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_DRAWITEM:
            if (buttons_ && buttons_->Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
            break;
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == Item(window_, kLabel16)) {
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, RGB(0, 0, 255));
                SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_SETCURSOR:
            if (OnSetCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
            break;
        case WM_LBUTTONDOWN:
            // A double-click arrives as WM_LBUTTONDBLCLK (CS_DBLCLKS), so it toggles once.
            if (IsBackground(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
                form_.Background_Click();
                ReflectLayout();
            }
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MINIMIZE) {  // minimising sends the window to the tray
                SendToTray();
                return 0;
            }
            break;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The session ends: the program really closes, so the settings are written and the
            // hotkey released rather than the window hidden (which would hold up the log-off).
            if (wParam) {
                form_.HideOnClose = 0;
                form_.Form_Unload();
            }
            return 0;
        case WM_DESTROY:
            KillTimer(window_, kTimer1);
            KillTimer(window_, kTimer2);
            tray_.reset();
            PostQuitMessage(0);
            return 0;
        default:
            if (message == kTrayCallback) {
                OnTrayCallback(wParam, lParam);
                return 0;
            }
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::OnCommand(int id, int code) {
    if (id >= kFirstMenuId && id < kFirstMenuId + static_cast<int>(form_.tt.size())) {
        const std::string entry = form_.tt[static_cast<std::size_t>(id - kFirstMenuId)].name;
        form_.MenuClicked(entry);
        Reflect();
        return;
    }
    if (id >= kFirstAreaEntry && id < kFirstAreaEntry + 100) {
        form_.AreaMenuClicked(static_cast<std::size_t>(id - kFirstAreaEntry));
        return;
    }
    if (reflecting_) return;
    if (!HandleControlEvent(id, code)) return;  // e.g. EN_UPDATE: the text is not final yet
    if (window_) {
        ReflectLayout();
        Reflect();
    }
}

bool MainWindow::HandleControlEvent(int id, int code) {
    kelvo::Form1& f = form_;
    const bool clicked = code == BN_CLICKED;  // also STN_CLICKED, which is 0 as well
    switch (id) {
        case kCommand1: if (clicked) f.Command1_Click(); return clicked;
        case kCommand2: if (clicked) f.Command2_Click(); return clicked;
        case kCommand3: if (clicked) f.Command3_Click(); return clicked;
        case kLabel7: if (clicked) f.Label7_Click(); return clicked;
        case kLabel8: if (clicked) f.Label8_Click(); return clicked;
        case kLabel9: if (clicked) f.Label9_Click(); return clicked;
        case kCheck1: if (clicked) f.UserClickedCheck1(); return clicked;
        case kCheck2: if (clicked) f.UserClickedCheck2(); return clicked;
        case kOp1: if (clicked) f.UserClickedOp1(); return clicked;
        case kOp2: if (clicked) f.UserClickedOp2(); return clicked;
        case kLabel4: if (clicked) f.Label4_Click(); return clicked;
        case kLabel15: if (clicked) f.Label15_Click(); return clicked;
        case kLabel16: if (clicked) f.Label16_Click(); return clicked;
        case kText1:
            if (code != EN_CHANGE) return false;
            f.UserEditedText1(TextOf(Item(window_, kText1)));
            return true;
        case kCb1:
            if (code != CBN_SELCHANGE) return false;
            f.UserSelectedCb1(static_cast<int>(SendMessageW(Item(window_, kCb1), CB_GETCURSEL, 0, 0)));
            return true;
        default:
            return false;
    }
}

void MainWindow::OnTimer(UINT_PTR id) {
    if (id == kTimer1) form_.Timer1_Tick();
    if (id == kTimer2) form_.Timer2_Tick();
    ReflectTick();
}

// A tick changes only the figures and the texts that follow the hotkey letter; the view
// remembers what it last showed, so an idle tick costs few calls into the system.
void MainWindow::ReflectTick() {
    if (!window_) return;
    kelvo::Form1& f = form_;
    const std::pair<int, const LabelModel*> labels[] = {
        {kLabel1, &f.Label1}, {kLabel5, &f.Label5}, {kLabel6, &f.Label6}, {kLabel10, &f.Label10}, {kLabel15, &f.Label15},
    };
    for (std::size_t i = 0; i < std::size(labels); ++i) {
        if (shownFigures_[i] == labels[i].second->caption) continue;
        shownFigures_[i] = labels[i].second->caption;
        SetWindowTextW(Item(window_, labels[i].first), Wide(shownFigures_[i]).c_str());
    }
    if (shownCheck2Tip_ != f.Check2.tooltip) {
        shownCheck2Tip_ = f.Check2.tooltip;
        buttons_->SetTooltip(Item(window_, kCheck2), Wide(shownCheck2Tip_));
    }
}

void MainWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    const RECT picture = PxRect(kImage1);
    if (background_) {
        background_->Draw(dc, picture);
    } else if (builtInBackground_) {
        UniqueMemoryDc memory(CreateCompatibleDC(dc));
        SelectedObject selected(memory.Get(), builtInBackground_.Get());
        BITMAP info{};
        GetObjectW(builtInBackground_.Get(), sizeof info, &info);
        SetStretchBltMode(dc, HALFTONE);
        StretchBlt(dc, picture.left, picture.top, picture.right - picture.left, picture.bottom - picture.top,
                   memory.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
    // Line1: the rule under the picture, 3 pixels wide.
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 3, GetSysColor(COLOR_3DSHADOW)));
    SelectedObject selectedPen(dc, pen.Get());
    MoveToEx(dc, 0, Px(1800), nullptr);
    LineTo(dc, Px(6675), Px(1800));
    EndPaint(window_, &paint);
}

// The window's own background: neither the picture nor any control. Labels without SS_NOTIFY
// and the panel's group box let the mouse through to the window, so a click over them arrives
// here too and must not count.
bool MainWindow::IsBackground(POINT at) const {
    const RECT picture = PxRect(kImage1);
    if (PtInRect(&picture, at)) return false;
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT area{};
        GetWindowRect(child, &area);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area), 2);
        if (IsWindowVisible(child) && PtInRect(&area, at)) return false;
    }
    return true;
}

bool MainWindow::OnSetCursor(HWND over) {
    if (over == Item(window_, kLabel16) || over == Item(window_, kLabel4)) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return true;
    }
    return false;
}

void MainWindow::OnTrayCallback(WPARAM wParam, LPARAM lParam) {
    if (tray_->IsMenuRequest(lParam))
        ShowTrayMenu();
    else if (tray_->MouseMessage(wParam, lParam) == WM_LBUTTONDBLCLK)
        ShowFromTray();
}

void MainWindow::ShowTrayMenu() {
    if (!menuEnabled_) return;
    UniqueMenu menu(CreatePopupMenu());
    for (std::size_t i = 0; i < form_.tt.size(); ++i) {
        const auto& entry = form_.tt[i];
        if (entry.IsSeparator())
            AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu.Get(), MF_STRING, kFirstMenuId + static_cast<UINT>(i), Wide(entry.caption).c_str());
        if (entry.name == "nowyouhua") AppendAreaMenu(menu.Get());
    }
    TrayIcon::ShowMenu(window_, menu.Get());
}

// The areas' submenu follows the clean entry; the menu destroys it with itself.
void MainWindow::AppendAreaMenu(HMENU menu) {
    HMENU areas = CreatePopupMenu();
    if (!areas) return;
    const auto entries = form_.AreaMenu();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const UINT flags = MF_STRING | (entries[i].checked ? MF_CHECKED : 0u) | (entries[i].enabled ? 0u : MF_GRAYED);
        if (i == std::size(kMemoryAreas) + 1)
            AppendMenuW(areas, MF_SEPARATOR, 0, nullptr);  // the restart entry stands apart
        AppendMenuW(areas, flags, kFirstAreaEntry + static_cast<UINT>(i), Wide(entries[i].caption).c_str());
    }
    if (!AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(areas),
                     Wide(std::string(kelvo::Text(kelvo::CleanText::kMenuAreas, language_))).c_str()))
        DestroyMenu(areas);
}

void MainWindow::OnClose() {
    if (!form_.Form_Unload()) {
        DestroyWindow(window_);
        return;
    }
    Reflect();
}

// ---------------------------------------------------------------------------------------------
// Host and tray

bool MainWindow::LoadBackground(const std::string& path) {
    auto picture = PictureFile::Load(Wide(path));
    if (!picture) return false;
    background_ = std::move(picture);
    const RECT area = PxRect(kImage1);
    InvalidateRect(window_, &area, TRUE);
    return true;
}

void MainWindow::HideWindow() { ::ShowWindow(window_, SW_HIDE); }

void MainWindow::StartMinuteTimer() { SetTimer(window_, kTimer2, 60000, nullptr); }

void MainWindow::ShowRuleEditor() {
    if (secondary_.showRuleEditor)
        secondary_.showRuleEditor(programIcon_, [this] {
            form_.CheckState();
            Reflect();
        });
}

void MainWindow::ShowAbout() {
    if (secondary_.showAbout) secondary_.showAbout();
}

void MainWindow::EndProgram() { SendMessageW(window_, WM_CLOSE, 0, 0); }

void MainWindow::SendToTray() {
    ::ShowWindow(window_, SW_HIDE);
    if (!tray_->IsShown()) tray_->Add();
}

void MainWindow::ShowFromTray() {
    ::ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
}

void MainWindow::SetTip(const std::string& text) {
    if (tray_->Tip() != Wide(text)) tray_->SetTip(Wide(text));
}

void MainWindow::ShowBalloon(const std::string& title, const std::string& text) {
    tray_->ShowBalloon(Wide(title), Wide(text));
}

bool MainWindow::IsElevated() { return RunsElevated(); }

bool MainWindow::RestartElevated() { return StartElevated(appDir_ + "\\kelvo.exe", appDir_); }

kelvo::ClockTime MainWindow::LocalTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wHour, now.wMinute};
}

void MainWindow::SetMenuEnabled() { menuEnabled_ = true; }

void MainWindow::ShowProgramIcon() { tray_->SetSharedIcon(programIcon_); }

void MainWindow::ShowGaugeIcon() {
    if (auto icon = gauge_.MakeIcon16()) tray_->SetOwnedIcon(std::move(icon));
}

}  // namespace varnic::win32
