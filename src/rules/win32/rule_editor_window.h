// The Win32 view of the rule editor (Form2): a fixed dialog-like window that creates the
// controls at their twips places scaled to the screen, forwards what the user does to the
// model and reflects the model back with change notifications suppressed. There is at most one
// editor per thread; the window owns its object and frees it when it is destroyed.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "controls/win32/image_button_group.h"
#include "controls/win32/modeless_window.h"
#include "platform/win32/ansi_codec.h"
#include "platform/win32/files.h"
#include "platform/win32/handles.h"
#include "platform/win32/message_boxes.h"
#include "rules/rule_editor_form.h"

namespace varnic::win32 {

class RuleEditorWindow final : public ModelessWindow<RuleEditorWindow> {
public:
    static constexpr const wchar_t* kClassName = L"VarnicRuleEditor";

    // Shows the editor: the first call creates it and loads the four rules; while it is open,
    // a call brings the same window to the front. It takes `mainIcon` (still owned by the
    // caller) as its own, calls `checkState` when it closes, and shows its messages through
    // `messages`, or, when that is null, in boxes owned by the editor window. It speaks
    // `language`. Answers the window, or null when it could not be created.
    static HWND Show(HINSTANCE instance, HICON mainIcon, const std::string& appDir, std::function<void()> checkState,
                     MessageBoxes* messages = nullptr, Language language = Language::kChinese);

private:
    friend class ModelessWindow<RuleEditorWindow>;

    RuleEditorWindow(HINSTANCE instance, const std::string& appDir, std::function<void()> checkState,
                     MessageBoxes* messages, Language language);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool Build();
    void CreateControls();
    HWND AddControl(const wchar_t* windowClass, DWORD style, DWORD exStyle, int id, const TwipsRect& place,
                    const std::string& text, int extraHeight = 0);
    void OnCommand(int id, int code, HWND control);
    void Reflect();
    void ReflectText(int id, const TextBoxModel& box);
    int Px(int twips) const { return Pixels(twips, dpi_); }
    static TwipsRect InFrame(const TwipsRect& frame, const TwipsRect& place);

    HINSTANCE instance_;
    Win32FileSystem files_;
    Win32AnsiCodec codec_;
    Win32MessageBoxes ownBoxes_;
    kelvo::Form2 form_;
    HICON mainIcon_ = nullptr;  // the main window's, taken as the editor's own
    int dpi_ = 96;
    GdiObject<HFONT> font_;
    std::unique_ptr<ImageButtonGroup> buttons_;
    bool reflecting_ = false;  // our own SetWindowText raises no EN_CHANGE for the model
};

}  // namespace varnic::win32
