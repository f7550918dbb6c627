// The Win32 view of tarnel's updater window: creates the controls at their twips places
// scaled to the screen's DPI, forwards what the user does to the UpdaterForm model and
// reflects the model back with notifications suppressed. While a transfer runs, the model's
// Yield lands in PumpMessages, so the window repaints and stays usable.
//
// Control ids are stable; tests and probes find the controls by them:
//   1001 Label8 (instructions)   1002 Option1 "主力服务器"   1003 Option2 "备用服务器"
//   1004 Command2 "检查新版本"   1005 Command1 "更新"       1006 Command3 "退出"
//   1007 Label6 "当前版本："     1008 Label4 (installed)    1009 Label7 "最新版本："
//   1010 Label5 (latest)         1011 Label3 "进度"         1012 L (counter, "received/total")
//   1013 pb1 (progress bar; its window text is its value, "0" to "100")
//   1014 Label1, 1015 T1, 1016 Label2, 1017 T2 (hidden)
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "controls/progressbar/win32/progress_bar_control.h"
#include "controls/win32/bound_window.h"
#include "controls/win32/image_button_group.h"
#include "platform/win32/message_boxes.h"
#include "updater/updater_form.h"

namespace varnic::win32 {

// Icon resources of the program for the window and its three buttons (0: none).
struct UpdaterIcons {
    int window = 0;
    int check = 0;   // "检查新版本"
    int update = 0;  // "更新"
    int exit = 0;    // "退出"
};

class UpdaterWindow {
public:
    // `form` and `messages` must outlive the window.
    UpdaterWindow(HINSTANCE instance, UpdaterForm& form, Win32MessageBoxes& messages, UpdaterIcons icons);
    ~UpdaterWindow();
    UpdaterWindow(const UpdaterWindow&) = delete;
    UpdaterWindow& operator=(const UpdaterWindow&) = delete;

    // Creates and shows the window with its controls, then runs the model's Form_Load.
    bool Create(int showCommand);
    HWND Handle() const { return window_; }

    // Handles the pending messages of the thread and returns; a WM_QUIT found here is posted
    // again for the main loop.
    void PumpMessages();
    // For the program's message loop: keyboard navigation between the controls.
    bool PreTranslate(MSG& message);

    static constexpr const wchar_t* kClassName = L"VarnicUpdaterWindow";

private:
    struct Child {
        const FormControl* model;
        HWND window;
        std::wstring shownText;
        bool shownEnabled;
        bool shownValue;
    };

    friend struct BoundWindow<UpdaterWindow>;
    void Bind(HWND window) { window_ = window; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool RegisterClassOnce();
    RECT Pixels(const TwipsRect& twips) const;
    void CreateControls();
    void AddChild(const FormControl& model, int id, const wchar_t* className, DWORD style);
    void OnCommand(int id, int code);
    void Reflect();
    void ReflectChild(Child& child);

    HINSTANCE instance_;
    UpdaterForm& form_;
    Win32MessageBoxes& messages_;
    UpdaterIcons icons_;
    HWND window_ = nullptr;
    int dpi_ = 96;
    std::unique_ptr<ImageButtonGroup> buttons_;
    std::unique_ptr<ProgressBarControl> pb1_;
    std::int32_t shownBarValue_ = -1;
    std::vector<Child> children_;
    bool reflecting_ = false;
    bool quitSeen_ = false;
};

}  // namespace varnic::win32
