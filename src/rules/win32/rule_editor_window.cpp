// RuleEditorWindow: the rule editor's window, its controls and the traffic between them and
// the Form2 model.
#include "rules/win32/rule_editor_window.h"

#include "controls/win32/control_kit.h"
#include "controls/win32/text_font.h"
#include "platform/win32/wide.h"
#include "rules/win32/rule_editor_ids.h"
#include "rules/win32/rule_editor_resources.h"

namespace varnic::win32 {
namespace {

using namespace rule_editor_ids;

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;  // fixed border, no minimize or maximize
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr int kDropDownRows = 5;  // the combo's list shows every rule without scrolling

}  // namespace

RuleEditorWindow::RuleEditorWindow(HINSTANCE instance, const std::string& appDir, std::function<void()> checkState,
                                   MessageBoxes* messages, Language language)
    : instance_(instance),
      form_({files_, codec_, messages ? *messages : ownBoxes_}, appDir,
            {std::move(checkState),
             [this] {
                 if (window_) DestroyWindow(window_);
             }},
            language) {}

HWND RuleEditorWindow::Show(HINSTANCE instance, HICON mainIcon, const std::string& appDir,
                            std::function<void()> checkState, MessageBoxes* messages, Language language) {
    if (HWND open = BringOpenWindowToFront()) return open;
    std::unique_ptr<RuleEditorWindow> editor(
        new RuleEditorWindow(instance, appDir, std::move(checkState), messages, language));
    editor->dpi_ = ScreenDpi();
    editor->mainIcon_ = mainIcon;
    RECT frame{0, 0, editor->Px(editor->form_.clientWidth), editor->Px(editor->form_.clientHeight)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    const std::wstring caption = Wide(editor->form_.caption);
    return Create(instance, std::move(editor), kExStyle, caption.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                  frame.right - frame.left, frame.bottom - frame.top, nullptr);
}

LRESULT RuleEditorWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_DRAWITEM:
        if (buttons_ && buttons_->Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_DESTROY:
        form_.Form_Unload();
        return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

bool RuleEditorWindow::Build() {
    const HICON mainIcon = mainIcon_;
    ownBoxes_.SetOwner(window_);
    if (mainIcon) {
        SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(mainIcon));
        SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(mainIcon));
    }
    font_ = CreateTextFont(form_.SpokenLanguage(), FontStyle{}, dpi_);
    buttons_ = std::make_unique<ImageButtonGroup>(window_, form_.SpokenLanguage());
    CreateControls();

    form_.Form_Load();
    if (!window_) return false;
    HWND combo = GetDlgItem(window_, kCb1);
    for (const std::string& item : form_.cb1.items)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
    Reflect();
    return true;
}

TwipsRect RuleEditorWindow::InFrame(const TwipsRect& frame, const TwipsRect& place) {
    return {frame.left + place.left, frame.top + place.top, place.width, place.height};
}

HWND RuleEditorWindow::AddControl(const wchar_t* windowClass, DWORD style, DWORD exStyle, int id,
                                  const TwipsRect& place, const std::string& text, int extraHeight) {
    RECT pixels = RectInPixels(place, dpi_);
    pixels.bottom += extraHeight;
    return CreateControl(window_, {windowClass, WS_VISIBLE | style, id, place, text, exStyle}, pixels, font_.Get());
}

void RuleEditorWindow::CreateControls() {
    const kelvo::Form2& f = form_;
    const TwipsRect& frame = f.Frame1.place;
    AddControl(L"STATIC", SS_LEFT, 0, kLabel5, f.Label5.place, f.Label5.caption);
    AddControl(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, kCb1, f.cb1.place, "",
               Px(f.cb1.place.height) * kDropDownRows);
    AddControl(L"BUTTON", BS_GROUPBOX, 0, kFrame1, frame, f.Frame1.caption);
    // Plain (not automatic) check boxes: the model decides their state.
    AddControl(L"BUTTON", BS_CHECKBOX | WS_TABSTOP, 0, kCheck1, InFrame(frame, f.Check1.place), f.Check1.caption);
    AddControl(L"STATIC", SS_LEFT, 0, kLabel1, InFrame(frame, f.Label1.place), f.Label1.caption);
    AddControl(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, kText1, InFrame(frame, f.Text1.place), "");
    AddControl(L"STATIC", SS_LEFT, 0, kLabel2, InFrame(frame, f.Label2.place), f.Label2.caption);
    AddControl(L"BUTTON", BS_CHECKBOX | WS_TABSTOP, 0, kCheck2, InFrame(frame, f.Check2.place), f.Check2.caption);
    AddControl(L"STATIC", SS_LEFT, 0, kLabel3, InFrame(frame, f.Label3.place), f.Label3.caption);
    AddControl(L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, kText2, InFrame(frame, f.Text2.place), "");
    AddControl(L"STATIC", SS_LEFT, 0, kLabel4, InFrame(frame, f.Label4.place), f.Label4.caption);
    // A read-only edit paints on the button face, as the note should.
    AddControl(L"EDIT", ES_MULTILINE | ES_READONLY, WS_EX_CLIENTEDGE, kText3, f.Text3.place, f.Text3.text);

    const struct {
        int id;
        const ButtonModel& model;
        int picture;
    } buttons[] = {
        {kXpButton1, f.xpButton1, IDI_RULE_SAVE},
        {kXpButton2, f.xpButton2, IDI_RULE_CLOSE},
        {kXpButton3, f.xpButton3, IDI_RULE_RESTORE},
    };
    for (const auto& b : buttons) {
        buttons_->Add(b.id, RectInPixels(b.model.place, dpi_), Wide(b.model.caption), b.picture, Wide(b.model.tooltip));
    }
}

void RuleEditorWindow::OnCommand(int id, int code, HWND control) {
    switch (id) {
    case kCheck1:
        if (code != BN_CLICKED) return;
        form_.UserClickedCheck1();
        break;
    case kCheck2:
        if (code != BN_CLICKED) return;
        form_.UserClickedCheck2();
        break;
    case kText1:
        if (code != EN_CHANGE || reflecting_) return;
        form_.UserEditedText1(TextOf(control));
        break;
    case kText2:
        if (code != EN_CHANGE || reflecting_) return;
        form_.UserEditedText2(TextOf(control));
        break;
    case kCb1:
        if (code != CBN_SELCHANGE) return;
        form_.UserSelectedCb1(static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
        break;
    case kXpButton1:
        if (code != BN_CLICKED) return;
        form_.xpButton1_Click();
        break;
    case kXpButton2:
        if (code != BN_CLICKED) return;
        form_.xpButton2_Click();
        break;
    case kXpButton3:
        if (code != BN_CLICKED) return;
        form_.xpButton3_Click();
        break;
    default:
        return;
    }
    Reflect();
}

void RuleEditorWindow::Reflect() {
    if (!window_) return;  // closed by the handler that just ran
    const bool wasReflecting = reflecting_;
    reflecting_ = true;
    const struct {
        int id;
        const CheckBoxModel& model;
    } checks[] = {{kCheck1, form_.Check1}, {kCheck2, form_.Check2}};
    for (const auto& c : checks) {
        const WPARAM state = c.model.value == 1 ? BST_CHECKED : BST_UNCHECKED;
        HWND box = GetDlgItem(window_, c.id);
        if (static_cast<WPARAM>(SendMessageW(box, BM_GETCHECK, 0, 0)) != state)
            SendMessageW(box, BM_SETCHECK, state, 0);
    }
    ReflectText(kText1, form_.Text1);
    ReflectText(kText2, form_.Text2);
    HWND combo = GetDlgItem(window_, kCb1);
    if (static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)) != form_.cb1.listIndex)
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(form_.cb1.listIndex), 0);
    reflecting_ = wasReflecting;
}

void RuleEditorWindow::ReflectText(int id, const TextBoxModel& box) {
    HWND edit = GetDlgItem(window_, id);
    if (TextOf(edit) != box.text) {
        SetWindowTextW(edit, Wide(box.text).c_str());
        // A box the user is typing in keeps its caret at the end of what it now shows.
        if (GetFocus() == edit) {
            const int length = GetWindowTextLengthW(edit);
            SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
        }
    }
    if ((IsWindowEnabled(edit) != FALSE) != box.enabled) EnableWindow(edit, box.enabled);
}

}  // namespace varnic::win32
