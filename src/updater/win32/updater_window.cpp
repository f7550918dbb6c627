#include "updater/win32/updater_window.h"

#include "controls/progressbar/stored_design.h"
#include "controls/win32/control_kit.h"
#include "controls/win32/screen_units.h"
#include "platform/win32/wide.h"
#include "updater/updater_texts.h"
#include "updater/win32/updater_ids.h"

namespace varnic::win32 {
namespace {

using namespace updater_ids;

constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW;

}  // namespace

UpdaterWindow::UpdaterWindow(HINSTANCE instance, UpdaterForm& form, Win32MessageBoxes& messages, UpdaterIcons icons)
    : instance_(instance), form_(form), messages_(messages), icons_(icons) {}

UpdaterWindow::~UpdaterWindow() {
    form_.Changed = nullptr;
    form_.UnloadRequested = nullptr;
    form_.Yield = nullptr;
    if (window_) DestroyWindow(window_);
}

bool UpdaterWindow::RegisterClassOnce() {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance_, kClassName, &existing)) return true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = BoundWindow<UpdaterWindow>::Procedure;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    if (icons_.window) {
        windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(icons_.window));
        windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(icons_.window), IMAGE_ICON,
                                                            GetSystemMetrics(SM_CXSMICON),
                                                            GetSystemMetrics(SM_CYSMICON), 0));
    }
    return RegisterClassExW(&windowClass) != 0;
}

RECT UpdaterWindow::Pixels(const TwipsRect& twips) const {
    const int left = win32::Pixels(twips.left, dpi_), top = win32::Pixels(twips.top, dpi_);
    return RECT{left, top, left + win32::Pixels(twips.width, dpi_), top + win32::Pixels(twips.height, dpi_)};
}

bool UpdaterWindow::Create(int showCommand) {
    if (window_ || !RegisterClassOnce()) return false;
    dpi_ = ScreenDpi();
    RECT frame{0, 0, win32::Pixels(UpdaterForm::kClientWidth, dpi_), win32::Pixels(UpdaterForm::kClientHeight, dpi_)};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    HWND created = CreateWindowExW(0, kClassName, Wide(form_.caption).c_str(), kWindowStyle, CW_USEDEFAULT,
                                   CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                   nullptr, instance_, this);
    if (!created) return false;

    form_.Changed = [this] { Reflect(); };
    form_.UnloadRequested = [this] {
        if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    };
    form_.Yield = [this] { PumpMessages(); };
    messages_.SetOwner(window_);
    CreateControls();
    Reflect();
    ::ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    form_.Form_Load();
    Reflect();
    return true;
}

void UpdaterWindow::AddChild(const FormControl& model, int id, const wchar_t* className, DWORD style) {
    const RECT r = Pixels(model.position);
    HWND child = CreateControl(window_, {className, style, id, model.position, model.caption}, r, buttons_->Font());
    children_.push_back(Child{&model, child, Wide(model.caption), true, false});
}

void UpdaterWindow::CreateControls() {
    buttons_ = std::make_unique<ImageButtonGroup>(window_, form_.SpokenLanguage());
    const DWORD label = SS_LEFT | SS_NOPREFIX;
    AddChild(form_.Label8, kUpdaterLabel8, L"STATIC", label);
    AddChild(form_.Option1, kUpdaterOption1, L"BUTTON", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP);
    AddChild(form_.Option2, kUpdaterOption2, L"BUTTON", BS_AUTORADIOBUTTON);
    struct ButtonPlan {
        const FormControl* model;
        int id;
        int icon;
    };
    for (const ButtonPlan& plan : {ButtonPlan{&form_.Command2, kUpdaterCommand2, icons_.check},
                                   ButtonPlan{&form_.Command1, kUpdaterCommand1, icons_.update},
                                   ButtonPlan{&form_.Command3, kUpdaterCommand3, icons_.exit}}) {
        const FormControl* model = plan.model;
        const RECT pixels = Pixels(model->position);
        ImageButton& button = plan.icon ? buttons_->Add(plan.id, pixels, Wide(model->caption), plan.icon)
                                        : buttons_->Add(plan.id, pixels, Wide(model->caption), UniqueIcon{});
        SetWindowLongPtrW(button.Handle(), GWL_STYLE, GetWindowLongPtrW(button.Handle(), GWL_STYLE) | WS_TABSTOP);
        children_.push_back(Child{model, button.Handle(), Wide(model->caption), true, false});
    }
    AddChild(form_.Label6, kUpdaterLabel6, L"STATIC", label);
    AddChild(form_.Label4, kUpdaterLabel4, L"STATIC", label);
    AddChild(form_.Label7, kUpdaterLabel7, L"STATIC", label);
    AddChild(form_.Label5, kUpdaterLabel5, L"STATIC", label);
    AddChild(form_.Label3, kUpdaterLabel3, L"STATIC", label);
    AddChild(form_.L, kUpdaterL, L"STATIC", label);
    AddChild(form_.Label1, kUpdaterLabel1, L"STATIC", label);
    AddChild(form_.T1, kUpdaterT1, L"EDIT", ES_AUTOHSCROLL | WS_BORDER);
    AddChild(form_.Label2, kUpdaterLabel2, L"STATIC", label);
    AddChild(form_.T2, kUpdaterT2, L"EDIT", ES_AUTOHSCROLL | WS_BORDER);

    pb1_ = std::make_unique<ProgressBarControl>(messages_);
    pb1_->Bar().ReadProperties(HostBarDesign());
    pb1_->Create(window_, kUpdaterPb1, Pixels(form_.pb1.position));
    // Every child is shown by Reflect, so a hidden control never flashes.
    for (Child& child : children_) child.shownEnabled = !IsWindowEnabled(child.window);
}

void UpdaterWindow::ReflectChild(Child& child) {
    const FormControl& model = *child.model;
    std::wstring text = Wide(model.caption);
    if (text != child.shownText) {
        SetWindowTextW(child.window, text.c_str());
        child.shownText = std::move(text);
    }
    if (model.enabled != child.shownEnabled) {
        EnableWindow(child.window, model.enabled);
        child.shownEnabled = model.enabled;
    }
    if (model.value != child.shownValue) {
        SendMessageW(child.window, BM_SETCHECK, model.value ? BST_CHECKED : BST_UNCHECKED, 0);
        child.shownValue = model.value;
    }
    const bool visible = (GetWindowLongPtrW(child.window, GWL_STYLE) & WS_VISIBLE) != 0;
    if (model.visible != visible) ::ShowWindow(child.window, model.visible ? SW_SHOWNA : SW_HIDE);
}

void UpdaterWindow::Reflect() {
    if (!window_) return;
    reflecting_ = true;
    for (Child& child : children_) ReflectChild(child);
    if (pb1_ && pb1_->Window() && form_.pb1.value != shownBarValue_) {
        shownBarValue_ = form_.pb1.value;
        if (pb1_->Bar().Value() != shownBarValue_) pb1_->Bar().SetValue(shownBarValue_);
        // The bar's value as its window text, for screen readers and test probes.
        SetWindowTextW(pb1_->Window(), std::to_wstring(shownBarValue_).c_str());
    }
    reflecting_ = false;
}

void UpdaterWindow::PumpMessages() {
    MSG message;
    while (!quitSeen_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitSeen_ = true;
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (PreTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool UpdaterWindow::PreTranslate(MSG& message) {
    return window_ && IsDialogMessageW(window_, &message);
}

void UpdaterWindow::OnCommand(int id, int code) {
    if (reflecting_ || code != BN_CLICKED) return;
    switch (id) {
        case kUpdaterOption1: form_.Option1_Click(); break;
        case kUpdaterOption2: form_.Option2_Click(); break;
        case kUpdaterCommand2: form_.Command2_Click(); break;
        case kUpdaterCommand1: form_.Command1_Click(); break;
        case kUpdaterCommand3: form_.Command3_Click(); break;
        default: break;
    }
}

LRESULT UpdaterWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_DRAWITEM:
            if (buttons_ && buttons_->Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
            break;
        case WM_CLOSE:
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            messages_.SetOwner(nullptr);
            form_.Form_Unload();
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace varnic::win32
