// The Win32 view of kelvo's main window: creates the controls at their twips places scaled to
// the screen, forwards what the user does to the Form1 model and reflects the model back. It
// also is the model's tray (the notification-area icon with its gauge and menu) and host.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "cleaner/win32/hotkey_system.h"
#include "controls/progressbar/stored_design.h"
#include "controls/progressbar/win32/progress_bar_control.h"
#include "controls/win32/bound_window.h"
#include "controls/win32/image_button_group.h"
#include "controls/win32/tray_icon.h"
#include "monitor/main_form.h"
#include "monitor/win32/gauge_canvas.h"
#include "monitor/win32/picture_file.h"
#include "platform/win32/handles.h"
#include "platform/win32/message_boxes.h"
#include "platform/win32/shell.h"

namespace varnic::win32 {

struct MainWindowPorts {
    FileSystem& files;
    AnsiCodec& codec;
    ProcessLauncher& launcher;
    MemoryProbe& memory;
    ProcessCounter& processes;
    Clipboard& clipboard;
    Beeper& beeper;
    Win32MessageBoxes& messages;
    Win32Shell& shell;
};

// The other windows the main window opens; the program wires them in.
struct SecondaryWindows {
    // `checkState` reloads the rule in effect when the editor closes.
    std::function<void(HICON icon, std::function<void()> checkState)> showRuleEditor;
    std::function<void()> showAbout;
};

class MainWindow final : public kelvo::MainWindowHost, public Tray {
public:
    MainWindow(HINSTANCE instance, MainWindowPorts ports, std::string appDir, SecondaryWindows secondary,
               Language language = Language::kChinese);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window and its controls and starts the monitor timer; then runs start-up.
    bool Create();
    void Load(const std::string& argumentString);
    HWND Handle() const { return window_; }
    kelvo::Form1& Form() { return form_; }

    // kelvo::MainWindowHost
    bool LoadBackground(const std::string& path) override;
    void HideWindow() override;
    void StartMinuteTimer() override;
    void ShowRuleEditor() override;
    void ShowAbout() override;
    void EndProgram() override;
    bool IsElevated() override;
    bool RestartElevated() override;
    kelvo::ClockTime LocalTime() override;

    // Tray
    void SendToTray() override;
    void ShowFromTray() override;
    void SetTip(const std::string& text) override;
    void SetMenuEnabled() override;
    void ShowProgramIcon() override;
    void ShowGaugeIcon() override;
    void ShowBalloon(const std::string& title, const std::string& text) override;

    static constexpr const wchar_t* kClassName = L"VarnicMainWindow";

private:
    friend struct BoundWindow<MainWindow>;
    void Bind(HWND window) { window_ = window; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void OnCommand(int id, int code);
    bool HandleControlEvent(int id, int code);  // false when the event means nothing to the model
    void OnTimer(UINT_PTR id);
    void OnPaint();
    void OnTrayCallback(WPARAM wParam, LPARAM lParam);
    void OnClose();
    bool IsBackground(POINT at) const;
    bool OnSetCursor(HWND over);
    void ShowTrayMenu();
    void AppendAreaMenu(HMENU menu);
    void Reflect();
    void ReflectTick();
    void ReflectLayout();

    int Px(int twips) const { return Pixels(twips, dpi_); }
    RECT PxRect(const TwipsRect& place, int dx = 0, int dy = 0) const;
    HWND AddControl(const wchar_t* windowClass, DWORD style, int id, const TwipsRect& place, const std::string& text,
                    HFONT font, const std::string& tooltip = "");

    HINSTANCE instance_;
    MainWindowPorts ports_;
    std::string appDir_;
    Language language_;
    SecondaryWindows secondary_;
    Win32HotkeySystem hotkeySystem_;
    GaugeCanvas gauge_;
    kelvo::Form1 form_;
    HWND window_ = nullptr;
    int dpi_ = 96;
    HICON programIcon_ = nullptr;
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<ImageButtonGroup> buttons_;
    std::unique_ptr<PictureFile> background_;
    GdiObject<HBITMAP> builtInBackground_;
    GdiObject<HFONT> font_, linkFont_;
    bool menuEnabled_ = false;
    bool reflecting_ = false;  // set while the view writes to its controls: no events back
    int laidOutHeight_ = 0;
    std::array<std::string, 5> shownFigures_;  // what the figure labels and Label15 show
    std::string shownCheck2Tip_;
    class FreeMemoryBarControl;
    std::unique_ptr<ProgressBarControl> bar1Control_;
    std::unique_ptr<FreeMemoryBarControl> bar1_;
};

}  // namespace varnic::win32
