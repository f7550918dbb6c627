// GaugeCanvas: the gauge drawn as the monitor tick draws it, its 16 x 16 icon, and the proof
// that drawing and handing over a new icon twice a second leaks no GDI or USER objects.
#include "monitor/win32/gauge_canvas.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "controls/win32/tray_icon.h"
#include "platform/win32/dib_section.h"

namespace varnic::win32 {
namespace {

constexpr Rgb kBar{96, 96, 191};
constexpr Rgb kFill{250, 250, 250};
constexpr Rgb kFrame{0, 0, 0};

// The drawing steps of the monitor tick, in twips, for `availableMb` and `freePercent`.
void DrawGauge(GaugeSurface& p1, int availableMb, int freePercent) {
    p1.Clear();
    p1.SetFontName("Abadi MT Condensed Extra Bold");
    p1.Print(std::to_string(availableMb));
    p1.Line(20, 370, p1.InnerWidth() - 20, 370, kBar);
    p1.Line(20, 370, static_cast<int>((p1.InnerWidth() - 20) * freePercent / 100.0), 370, kFill);
    p1.SetLineWidth(2);
    p1.Line(20, 320, p1.InnerWidth() - 20, 320, kFrame);
    p1.Line(20, 420, p1.InnerWidth() - 20, 420, kFrame);
    p1.Line(20, 320, 20, 420, kFrame);
    p1.Line(p1.InnerWidth() - 20, 320, p1.InnerWidth() - 20, 420, kFrame);
    p1.SetLineWidth(6);
}

bool Near(Rgb a, Rgb b, int tolerance = 12) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// The colour pixels of an icon, read back as the shell would read them.
std::vector<Rgb> IconPixels(HICON icon, int* width) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {};
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    *width = bitmap.bmWidth;
    BITMAPINFO format = TopDownDibFormat(bitmap.bmWidth, bitmap.bmHeight);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(bitmap.bmWidth) * bitmap.bmHeight * 4);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, bitmap.bmHeight, bytes.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    std::vector<Rgb> pixels;
    for (std::size_t i = 0; i + 3 < bytes.size(); i += 4) pixels.push_back(Rgb{bytes[i + 2], bytes[i + 1], bytes[i]});
    return pixels;
}

// The process's live GDI and USER objects. Wine answers GetGuiResources with "not
// implemented"; there, the live GDI objects are counted from the handle table, which hands
// out the lowest free slots before new ones: after `kProbes` new objects the highest index
// in use is the number of objects alive plus the probes (plus a fixed offset). Wine keeps
// an icon's pictures as GDI bitmaps of the process, so leaked icons show there too.
struct GuiCounts {
    DWORD gdi = 0;
    DWORD user = 0;
    friend bool operator==(const GuiCounts&, const GuiCounts&) = default;
};

GuiCounts CountGuiObjects() {
    SetLastError(0);
    GuiCounts counts{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                     GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
    if (counts.gdi != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return counts;
    constexpr int kProbes = 2000;
    std::vector<HRGN> probes;
    DWORD highest = 0;
    for (int i = 0; i < kProbes; ++i) {
        probes.push_back(CreateRectRgn(0, 0, 1, 1));
        highest = std::max<DWORD>(highest, LOWORD(reinterpret_cast<UINT_PTR>(probes.back())));
    }
    for (auto it = probes.rbegin(); it != probes.rend(); ++it) DeleteObject(*it);
    return GuiCounts{highest + 1 - kProbes, 0};
}

std::ostream& operator<<(std::ostream& out, const GuiCounts& c) {
    return out << "GDI " << c.gdi << ", USER " << c.user;
}

TEST(GaugeCanvas, IsTheSizeOfP1InPixelsOfTheScreen) {
    GaugeCanvas at96(96);
    EXPECT_EQ(at96.PixelWidth(), 37);
    EXPECT_EQ(at96.PixelHeight(), 33);
    EXPECT_EQ(at96.InnerWidth(), 555);
    GaugeCanvas at192(192);
    EXPECT_EQ(at192.PixelWidth(), 74);
    EXPECT_EQ(at192.PixelHeight(), 66);
    EXPECT_EQ(at192.InnerWidth(), 555);
    GaugeCanvas at120(120);
    EXPECT_EQ(at120.PixelWidth(), 46);
    EXPECT_NEAR(at120.InnerWidth(), 555, 12);
}

TEST(GaugeCanvas, ClearingLeavesOneLightColourEverywhere) {
    GaugeCanvas p1;
    DrawGauge(p1, 1234, 40);
    p1.Clear();
    const Rgb background = p1.PixelAt(0, 0);
    EXPECT_GT(background.r + background.g + background.b, 600) << "a light background";
    for (int y = 0; y < p1.PixelHeight(); ++y)
        for (int x = 0; x < p1.PixelWidth(); ++x) ASSERT_EQ(p1.PixelAt(x, y), background) << x << "," << y;
}

TEST(GaugeCanvas, ShowsTheFreeShareAsALightBarOverTheBlueOneInABlackFrame) {
    GaugeCanvas p1;
    DrawGauge(p1, 200, 40);
    const int barRow = MulDiv(370, 96, 1440);  // 24
    // (555 - 20) x 40 % = 214 twips = 14 pixels of light bar from 1 pixel on.
    EXPECT_TRUE(Near(p1.PixelAt(4, barRow), kFill));
    EXPECT_TRUE(Near(p1.PixelAt(12, barRow), kFill));
    EXPECT_TRUE(Near(p1.PixelAt(18, barRow), kBar));
    EXPECT_TRUE(Near(p1.PixelAt(33, barRow), kBar));
    EXPECT_TRUE(Near(p1.PixelAt(18, MulDiv(320, 96, 1440)), kFrame, 40)) << "top of the frame";
    EXPECT_TRUE(Near(p1.PixelAt(18, MulDiv(420, 96, 1440)), kFrame, 40)) << "bottom of the frame";
    EXPECT_TRUE(Near(p1.PixelAt(1, 25), kFrame, 40)) << "left side";
    EXPECT_TRUE(Near(p1.PixelAt(35, 25), kFrame, 40)) << "right side";
}

TEST(GaugeCanvas, PrintsTheFigureAtTheTopLeftInADarkColour) {
    GaugeCanvas p1;
    p1.Clear();
    p1.Print("888");
    const Rgb background{236, 240, 255};
    int dark = 0, elsewhere = 0;
    for (int y = 0; y < p1.PixelHeight(); ++y)
        for (int x = 0; x < p1.PixelWidth(); ++x) {
            const Rgb c = p1.PixelAt(x, y);
            if (c.r + c.g + c.b < 200) ++(y < 20 ? dark : elsewhere);
            if (y >= 20) {
                EXPECT_EQ(c, background);
            }
        }
    EXPECT_GT(dark, 20);
    EXPECT_EQ(elsewhere, 0);
}

TEST(GaugeCanvas, AFullGaugeAndAnEmptyOneDiffer) {
    GaugeCanvas p1;
    DrawGauge(p1, 100, 0);
    const Rgb empty = p1.PixelAt(10, 24);
    DrawGauge(p1, 100, 100);
    const Rgb full = p1.PixelAt(10, 24);
    EXPECT_TRUE(Near(empty, kBar));
    EXPECT_TRUE(Near(full, kFill));
    EXPECT_TRUE(Near(p1.PixelAt(33, 24), kFill));
}

TEST(GaugeCanvas, BecomesASixteenPixelIconThatShowsTheGauge) {
    GaugeCanvas p1;
    DrawGauge(p1, 512, 30);
    UniqueIcon icon = p1.MakeIcon16();
    ASSERT_TRUE(icon);
    int width = 0;
    const std::vector<Rgb> pixels = IconPixels(icon.Get(), &width);
    ASSERT_EQ(width, 16);
    ASSERT_EQ(pixels.size(), 256u);
    std::set<std::uint32_t> colours;
    bool bluish = false, dark = false;
    for (const Rgb& c : pixels) {
        colours.insert(c.r << 16 | c.g << 8 | c.b);
        bluish |= c.b > c.r + 40;
        dark |= c.r + c.g + c.b < 150;
    }
    EXPECT_GT(colours.size(), 4u);
    EXPECT_TRUE(bluish) << "the bar";
    EXPECT_TRUE(dark) << "the frame and the figure";

    UniqueIcon large = p1.MakeIcon(32);
    ASSERT_TRUE(large);
    IconPixels(large.Get(), &width);
    EXPECT_EQ(width, 32);
}

TEST(GaugeCanvas, TheCounterOfLiveObjectsSeesALeak) {
    const GuiCounts before = CountGuiObjects();
    std::vector<HBITMAP> leaked;
    for (int i = 0; i < 10; ++i) leaked.push_back(CreateBitmap(4, 4, 1, 32, nullptr));
    GaugeCanvas p1;
    DrawGauge(p1, 1, 1);
    UniqueIcon icon = p1.MakeIcon16();
    const GuiCounts during = CountGuiObjects();
    EXPECT_GE(during.gdi, before.gdi + 10);
    for (HBITMAP bitmap : leaked) DeleteObject(bitmap);
}

// Twice a second for weeks: every drawing, icon and hand-over must give back what it took.
TEST(GaugeCanvas, ThousandsOfRedrawsAndHandOversLeaveTheObjectCountsFlat) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"gauge", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    {
        GaugeCanvas p1;
        TrayIcon tray(owner, WM_APP + 1, 9);
        tray.Add();  // without a tray the icons are still made, kept and destroyed
        auto tick = [&](int i) {
            DrawGauge(p1, 100 + i % 900, i % 101);
            UniqueIcon icon = p1.MakeIcon16();
            ASSERT_TRUE(icon);
            tray.SetOwnedIcon(std::move(icon));
            tray.SetTip(L"可用内存数：" + std::to_wstring(100 + i % 900) + L"M");
        };
        for (int i = 0; i < 5; ++i) tick(i);
        const GuiCounts before = CountGuiObjects();
        for (int i = 0; i < 5000; ++i) tick(i);
        const GuiCounts after = CountGuiObjects();
        EXPECT_EQ(after, before);
        EXPECT_NE(tray.CurrentIcon(), nullptr);
    }
    DestroyWindow(owner);
}

TEST(GaugeCanvas, KeepsItsFontsWhileTheNameSwitchesBackAndForth) {
    GaugeCanvas p1;
    p1.SetFontName("Abadi MT Condensed Extra Bold");
    p1.SetFontName("Arial");
    const GuiCounts before = CountGuiObjects();
    for (int i = 0; i < 200; ++i) {
        p1.SetFontName(i % 2 ? "Arial" : "Abadi MT Condensed Extra Bold");
        p1.Print("1");
    }
    EXPECT_EQ(CountGuiObjects(), before);
}

}  // namespace
}  // namespace varnic::win32
