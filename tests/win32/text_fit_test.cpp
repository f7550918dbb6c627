// Every text of kelvo's windows stays whole in its control at 100 %, 150 % and 200 % scale, in
// both languages: each control's text is measured in its own font grown to that scale against
// the control grown the same way, less what the control draws beside its text.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <string>

#include "about/win32/about_window.h"
#include "fakes.h"
#include "monitor/win32/main_window.h"
#include "platform/win32/files.h"
#include "platform/win32/ansi_codec.h"
#include "platform/win32/wide.h"
#include "rules/win32/rule_editor_window.h"
#include "scratch_folder.h"

namespace varnic::win32 {
namespace {

struct Scale {
    int dpi;
    int Of(int pixels) const { return static_cast<int>(std::lround(pixels * dpi / double(ScreenDpi()))); }
};

// The room a control leaves its text, and whether the text may wrap; width 0: no text to fit.
SIZE RoomFor(HWND control, const wchar_t* kind, Scale scale, bool& wraps) {
    RECT r;
    GetWindowRect(control, &r);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const int width = scale.Of(r.right - r.left), height = scale.Of(r.bottom - r.top);
    wraps = !wcscmp(kind, L"Static") && (style & SS_TYPEMASK) <= SS_RIGHT;
    if (!wcscmp(kind, L"Static")) return {(style & SS_TYPEMASK) == SS_OWNERDRAW ? 0 : width, height};
    if (!wcscmp(kind, L"ComboBox")) return {width - scale.Of(GetSystemMetrics(SM_CXVSCROLL) + 6), height};
    if (!wcscmp(kind, L"Edit")) return {style & ES_MULTILINE ? 0 : width - scale.Of(6), height};
    switch (style & BS_TYPEMASK) {
    case BS_OWNERDRAW: return {width - 2 * std::max(3, height / 10), height};  // an image button's margins
    case BS_GROUPBOX: return {width - scale.Of(16), height};
    default: return {width - scale.Of(18), height};  // the box or the circle and its gap
    }
}

std::string Misfits(HWND window, Scale scale) {
    std::string found;
    WindowDc screen(nullptr);
    for (HWND control = GetWindow(window, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        wchar_t kind[32] = L"", text[512] = L"";
        GetClassNameW(control, kind, 32);
        const bool combo = !wcscmp(kind, L"ComboBox");
        bool wraps;
        const int texts = combo ? static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0)) : 1;
        const SIZE room = RoomFor(control, kind, scale, wraps);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
        font.lfHeight = -scale.Of(std::abs(font.lfHeight));
        GdiObject<HFONT> grown(CreateFontIndirectW(&font));
        SelectedObject selected(screen.Get(), grown.Get());
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen.Get(), &metrics);  // the leading above the letters may be cut, the letters not
        for (int i = 0; i < texts && room.cx; ++i) {
            if (combo) SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            else GetWindowTextW(control, text, 512);
            RECT need{0, 0, room.cx, 0};
            DrawTextW(screen.Get(), text, -1, &need, DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
            if (*text && (need.right > room.cx || need.bottom - metrics.tmInternalLeading > room.cy))
                found += Utf8(text) + " needs " + std::to_string(need.right) + "x" + std::to_string(need.bottom) + "\n";
        }
    }
    return found;
}

TEST(EveryWindow, KeepsEachTextWholeAtEveryScaleInBothLanguages) {
    testing::ScratchFolder folder{"fit"};
    Win32FileSystem files;
    Win32AnsiCodec codec;
    fakes::CallLog log;
    fakes::FakeSystem sys{log};  // the main window's ports but its boxes and shell; the other windows' all
    Win32MessageBoxes boxes;
    Win32Shell mainShell;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (Language language : {Language::kChinese, Language::kEnglish}) {
        MainWindow main(instance, {files, codec, sys, sys, sys, sys, sys, boxes, mainShell},
                        folder.Path(), {}, language);
        ASSERT_TRUE(main.Create());
        main.Load("");
        SendMessageW(main.Handle(), WM_TIMER, 1, 0);  // the tick's figures and rule caption
        const std::pair<const char*, HWND> windows[] = {
            {"main", main.Handle()}, {"about", AboutWindow::Show(instance, folder.Path(), &sys, language)},
            {"rule editor", RuleEditorWindow::Show(instance, nullptr, folder.Path(), [] {}, &sys, language)}};
        for (const auto& [name, window] : windows) {
            ASSERT_TRUE(window) << name;
            for (int dpi : {96, 144, 192})
                EXPECT_EQ(Misfits(window, {dpi}), "") << name << " at " << dpi << " dpi, language " << int(language);
            if (window != main.Handle()) DestroyWindow(window);
        }
    }
}

}  // namespace
}  // namespace varnic::win32
