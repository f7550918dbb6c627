// The progress bar as a real window: its own bitmap shown on WM_PAINT and WM_PRINTCLIENT, never erased, at 100, 150
// and 200 % in each look's colours; no GDI objects made by settings; its window goes with its object or its parent.
#include "controls/progressbar/win32/progress_bar_control.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/win32/dib_section.h"

namespace varnic::win32 {
namespace {

struct NoBoxes final : MessageBoxes {
    void Show(const std::string& text, const std::string&, MessageIcon) override { ADD_FAILURE() << text; }
};

// W white, F grey (the frame, metallic grey), - light grey, r red, o orange, y gold, g green,
// b blue, ? anything else.
char Colour(std::uint32_t c) {
    const int r = c >> 16 & 0xFF, g = c >> 8 & 0xFF, b = c & 0xFF;
    if (std::max({r, g, b}) - std::min({r, g, b}) < 16) return r + g + b == 765 ? 'W' : r < 235 ? 'F' : '-';
    if (r > g + 90 && std::abs(g - b) < 16) return 'r';
    if (r > g + 70 && g > b + 30) return 'o';
    if (r >= g && g > b + 50) return 'y';
    if (g > r + 30 && g > b + 30) return 'g';
    return b > r + 50 && b > g + 20 ? 'b' : '?';
}

// Wine's GetGuiResources counts nothing: there the handles are probed.
DWORD GdiObjects() {
    DWORD probed = 0;
    for (UINT_PTR h = 1; h <= 0xFFFF; ++h) probed += GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0;
    return std::max(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), probed);
}

TEST(ProgressBarWindow, ShowsItsOwnDrawingAtEachScaleInEachLook) {
    for (int look = 0; look < 8; ++look) {
        const int scale = 100 + look % 3 * 50;
        SCOPED_TRACE("look " + std::to_string(look) + " at " + std::to_string(scale) + " %");
        UniqueWindow host(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 100, 0, 0, 0, 0));
        NoBoxes boxes;
        auto control = std::make_unique<ProgressBarControl>(boxes);
        control->Bar().ReadProperties(look == 6 ? HostBarDesign() : StoredDesign{{"ProgressLook", look}});
        const int across = 100, high = 17, w = across * scale / 100, h = high * scale / 100;
        ASSERT_TRUE(control->Create(host.Get(), 101, RECT{0, 0, w, h}, scale));
        const HWND bar = control->Window();
        auto print = [&](HDC dc) { SendMessageW(bar, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT); };
        // The colours `paint` leaves on a bitmap of the test's own (magenta before) at the centres of these
        // pixels of the bar; * is the look's.
        auto expect = [&](auto paint, std::string colours, std::initializer_list<std::pair<int, int>> spots) {
            UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
            std::uint32_t* p = nullptr;  // 0x00RRGGBB from the top
            GdiObject<HBITMAP> bitmap(CreateTopDownDib(w, h, reinterpret_cast<void**>(&p)));
            std::fill_n(p, w * h, 0xFF00FFu);
            SelectedObject selected(dc.Get(), bitmap.Get());
            paint(dc.Get()), GdiFlush();
            std::string found;
            for (auto [x, y] : spots) found += Colour(p[(2 * y + 1) * h / high / 2 * w + (2 * x + 1) * w / across / 2]);
            std::replace(colours.begin(), colours.end(), '*', "gbbygFor"[look]);  // green, blue, blue, gold, ...
            EXPECT_EQ(found, colours);
        };
        expect(print, "FFFFFFFFWWWW", {{0, 8}, {2, 8}, {50, 0}, {50, 2}, {97, 8}, {99, 8}, {50, 14}, {50, 16}, {3, 8},
                                       {96, 8}, {50, 3}, {50, 10}});
        control->Bar().SetValue(50);
        expect(print, "F**FW*W", {{8, 2}, {8, 8}, {8, 13}, {8, 14}, {13, 8}, {48, 8}, {60, 8}});
        UpdateWindow(bar);
        expect([&](HDC dc) { EXPECT_TRUE(SendMessageW(bar, WM_ERASEBKGND, (WPARAM)dc, 0)); }, "??", {{1, 8}, {60, 8}});
        control->Bar().SetValue(30);  // a fall: repainted, and shown at the next WM_PAINT
        UpdateWindow(bar);
        expect([&](HDC dc) { BitBlt(dc, 0, 0, w, h, WindowDc(bar).Get(), 0, 0, SRCCOPY); }, "*W", {{28, 8}, {40, 8}});

        control->Bar().ReadProperties(StoredDesign{{"Style", 1}, {"ProgressLook", look}});
        control->Bar().SetValue(1), control->Bar().SetValue(2);  // the group at 9: the eraser at 4, its block at 19
        expect(print, "W*", {{5, 8}, {20, 8}});
        const DWORD gdiObjects = GdiObjects();  // the control's own bitmaps among them
        for (int setting = 0; look == 0 && setting < 2000; ++setting)  // steps, repaints at the end
            control->Bar().SetValue(setting * 37 % 101), UpdateWindow(bar);
        EXPECT_TRUE(gdiObjects > 26 && GdiObjects() == gdiObjects) << "GDI objects: " << gdiObjects;

        if (look % 2 == 0) host.Reset();  // the parent takes the control's window with it,
        EXPECT_EQ(control->Window() == nullptr, look % 2 == 0);
        control.reset();  // and so does the control's object
        EXPECT_FALSE(IsWindow(bar));
    }
}

}  // namespace
}  // namespace varnic::win32
