// The progress bar's window: the pixels of its retained bitmap against what the bar asked
// to paint, painting from that bitmap on WM_PAINT and WM_PRINTCLIENT, repainting on resize,
// and no GDI objects made per setting.
#include "controls/progressbar/win32/progress_bar_control.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "controls/progressbar/progress_artwork.h"
#include "platform/win32/dib_section.h"
#include "platform/win32/handles.h"

namespace varnic::win32 {
namespace {

class RecordingBoxes final : public MessageBoxes {
public:
    void Show(const std::string& text, const std::string& caption, MessageIcon) override {
        shown.push_back(caption + ": " + text);
    }
    std::vector<std::string> shown;
};

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// A plain top-level window to hold the control.
UniqueWindow MakeHostWindow() {
    static const ATOM atom = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = L"VarnicProgressBarTestHost";
        return RegisterClassExW(&windowClass);
    }();
    if (atom == 0) return UniqueWindow();
    UniqueWindow window(CreateWindowExW(0, L"VarnicProgressBarTestHost", L"Progress bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        40, 40, 420, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    PumpMessages();
    return window;
}

// A 32-bit top-down bitmap of the test's own, selected into a memory DC.
class TestBitmap {
public:
    TestBitmap(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
        void* bits = nullptr;
        bitmap_.Reset(CreateTopDownDib(width, height, &bits));
        original_ = SelectObject(dc_.Get(), bitmap_.Get());
        const RECT all{0, 0, width, height};
        HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(dc_.Get(), &all, magenta);
        DeleteObject(magenta);
    }
    ~TestBitmap() { SelectObject(dc_.Get(), original_); }
    HDC Dc() const { return dc_.Get(); }

    // Read back with GetDIBits, the bitmap taken out of its DC first as GDI asks.
    std::vector<std::uint32_t> Pixels() {
        SelectObject(dc_.Get(), original_);
        BITMAPINFO info = TopDownDibFormat(width_, height_);
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width_ * height_));
        WindowDc screen(nullptr);
        const int lines = GetDIBits(screen.Get(), bitmap_.Get(), 0, static_cast<UINT>(height_), pixels.data(), &info,
                                    DIB_RGB_COLORS);
        SelectObject(dc_.Get(), bitmap_.Get());
        if (lines != height_) return {};
        for (std::uint32_t& pixel : pixels) pixel &= 0x00FFFFFFu;
        return pixels;
    }

private:
    int width_, height_;
    UniqueMemoryDc dc_;
    GdiObject<HBITMAP> bitmap_;
    HGDIOBJ original_ = nullptr;
};

std::uint32_t Rgb(std::uint32_t argb) { return argb & 0x00FFFFFFu; }
int Channel(std::uint32_t pixel, int shift) { return static_cast<int>(pixel >> shift & 0xFF); }

// Forwards to the GDI canvas and remembers every paint since the last clear.
class RecordingGdiCanvas final : public ProgressCanvas {
public:
    struct Paint {
        ProgressPicture picture;
        PixelRect destination, source;
    };
    explicit RecordingGdiCanvas(GdiProgressCanvas& inner) : inner_(inner) {}
    int Width() const override { return inner_.Width(); }
    int Height() const override { return inner_.Height(); }
    void Clear() override {
        paints.clear();
        inner_.Clear();
    }
    void PaintPicture(ProgressPicture picture, PixelRect destination, PixelRect source) override {
        paints.push_back({picture, destination, source});
        inner_.PaintPicture(picture, destination, source);
    }
    std::vector<Paint> paints;

private:
    GdiProgressCanvas& inner_;
};

// Every device pixel checked against the last recorded paint that covers it: its colour must
// lie within the colours of the picture's pixels around the matching source position (a
// nearest-pixel or an averaging stretch both pass; a wrong picture, place or order does not).
std::string MismatchesWithRecording(const GdiProgressCanvas& canvas, const std::vector<RecordingGdiCanvas::Paint>& paints) {
    const int w = canvas.Width(), h = canvas.Height(), dw = canvas.DeviceWidth(), dh = canvas.DeviceHeight();
    const std::vector<std::uint32_t> pixels = canvas.Pixels();
    if (pixels.size() != static_cast<std::size_t>(dw * dh)) return "no surface";
    std::vector<Picture> pictures;
    for (const auto& p : paints) pictures.push_back(PictureOf(p.picture));
    std::ostringstream out;
    int count = 0, covered = 0;
    for (int y = 0; y < dh; ++y) {
        for (int x = 0; x < dw; ++x) {
            for (std::size_t i = paints.size(); i-- > 0;) {
                const PixelRect& d = paints[i].destination;
                const PixelRect& s = paints[i].source;
                if (d.width <= 0 || d.height <= 0) continue;
                const int left = MulDiv(d.x, dw, w), right = MulDiv(d.x + d.width, dw, w);
                const int top = MulDiv(d.y, dh, h), bottom = MulDiv(d.y + d.height, dh, h);
                if (x < left || x >= right || y < top || y >= bottom) continue;
                ++covered;
                const Picture& picture = pictures[i];
                const double sx = s.x + (x + 0.5 - left) * s.width / (right - left);
                const double sy = s.y + (y + 0.5 - top) * s.height / (bottom - top);
                const int rx = static_cast<int>(std::ceil(static_cast<double>(s.width) / (right - left))) + 1;
                const int ry = static_cast<int>(std::ceil(static_cast<double>(s.height) / (bottom - top))) + 1;
                bool fits = true;
                for (int shift : {0, 8, 16}) {
                    int low = 255, high = 0;
                    for (int py = std::max(0, static_cast<int>(sy) - ry); py <= std::min(picture.height - 1, static_cast<int>(sy) + ry); ++py)
                        for (int px = std::max(0, static_cast<int>(sx) - rx); px <= std::min(picture.width - 1, static_cast<int>(sx) + rx); ++px) {
                            low = std::min(low, Channel(picture.At(px, py), shift));
                            high = std::max(high, Channel(picture.At(px, py), shift));
                        }
                    const int got = Channel(pixels[static_cast<std::size_t>(y * dw + x)], shift);
                    if (got < low - 4 || got > high + 4) fits = false;
                }
                if (!fits && ++count <= 5)
                    out << "(" << x << "," << y << ") paint " << i << " has " << std::hex
                        << pixels[static_cast<std::size_t>(y * dw + x)] << std::dec << "; ";
                break;
            }
        }
    }
    if (covered != dw * dh) out << covered << " of " << dw * dh << " pixels covered by the frame and tiles; ";
    if (count > 0) out << count << " pixels differ";
    return out.str();
}

class CanvasPixels : public ::testing::TestWithParam<int> {};

TEST_P(CanvasPixels, TheBitmapShowsWhatTheBarPainted) {
    const int scale = GetParam();
    GdiProgressCanvas gdi;
    ASSERT_TRUE(gdi.SetSize(100 * scale / 100, 17 * scale / 100, scale));
    ASSERT_EQ(gdi.Width(), 100);
    ASSERT_EQ(gdi.Height(), 17);
    RecordingGdiCanvas canvas(gdi);
    RecordingBoxes boxes;
    XpProgressBar bar(canvas, boxes);
    bar.ReadProperties(HostBarDesign());

    bar.Resize();
    EXPECT_EQ(MismatchesWithRecording(gdi, canvas.paints), "") << "the empty frame";
    bar.SetValue(50);
    EXPECT_EQ(MismatchesWithRecording(gdi, canvas.paints), "") << "blocks up to 50";
    bar.SetValue(100);
    bar.SetValue(100);
    EXPECT_EQ(MismatchesWithRecording(gdi, canvas.paints), "") << "the last block squeezed";
    bar.SetStyle(1);
    bar.SetProgressLook(2);
    for (int step = 0; step < 7; ++step) bar.SetValue(step);
    EXPECT_EQ(MismatchesWithRecording(gdi, canvas.paints), "") << "the moving group over the blocks";

    // And in plain words, at 100 %: the block at 4 is orange, the gap after it and the empty
    // interior are white, the border is the frame's grey.
    if (scale == 100) {
        bar.SetStyle(0);
        bar.SetProgressLook(6);
        bar.SetValue(30);  // a fall: repainted from scratch
        const std::vector<std::uint32_t> pixels = gdi.Pixels();
        auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * 100 + x)]; };
        const Picture frame = PictureOf({PictureSet::img, 0});
        const std::uint32_t orange = Rgb(PictureOf({PictureSet::orangemet, 2}).At(4, 5));
        EXPECT_EQ(at(50, 0), Rgb(frame.At(20, 0)));
        EXPECT_EQ(at(0, 8), Rgb(frame.At(0, 6)));
        EXPECT_EQ(at(99, 8), Rgb(frame.At(58, 6)));
        EXPECT_NE(at(50, 0), 0xFFFFFFu);
        EXPECT_LT(std::abs(Channel(at(8, 8), 16) - Channel(orange, 16)) + std::abs(Channel(at(8, 8), 8) - Channel(orange, 8)), 40);
        EXPECT_EQ(at(12, 5), 0xFFFFFFu);
        EXPECT_EQ(at(13, 5), 0xFFFFFFu);
        EXPECT_EQ(at(60, 5), 0xFFFFFFu);
    }
}

INSTANTIATE_TEST_SUITE_P(AtScreenScales, CanvasPixels, ::testing::Values(100, 200, 150));

class Control : public ::testing::Test {
protected:
    void SetUp() override {
        host = MakeHostWindow();
        ASSERT_TRUE(host);
        ASSERT_TRUE(control.Create(host.Get(), 101, RECT{10, 10, 110, 27}, 100));
        PumpMessages();
    }

    std::vector<std::uint32_t> ShownOnScreen() {
        TestBitmap shot(control.SurfaceWidth(), control.SurfaceHeight());
        WindowDc window(control.Window());
        BitBlt(shot.Dc(), 0, 0, control.SurfaceWidth(), control.SurfaceHeight(), window.Get(), 0, 0, SRCCOPY);
        return shot.Pixels();
    }

    UniqueWindow host;
    RecordingBoxes boxes;
    ProgressBarControl control{boxes};
};

TEST_F(Control, CreatingItDrawsTheEmptyFrame) {
    EXPECT_EQ(GetDlgItem(host.Get(), 101), control.Window());
    ASSERT_EQ(control.SurfaceWidth(), 100);
    ASSERT_EQ(control.SurfaceHeight(), 17);
    const std::vector<std::uint32_t> pixels = control.SurfacePixels();
    const Picture frame = PictureOf({PictureSet::img, 0});
    for (int x : {0, 2, 97, 99})
        for (int y : {0, 2, 14, 16}) {
            const int fx = x < 3 ? x : x - 100 + 59, fy = y < 3 ? y : y - 17 + 13;
            EXPECT_EQ(pixels[static_cast<std::size_t>(y * 100 + x)], Rgb(frame.At(fx, fy))) << x << "," << y;
        }
    for (int x = 3; x < 97; ++x) EXPECT_EQ(pixels[static_cast<std::size_t>(5 * 100 + x)], 0xFFFFFFu) << x;
}

TEST_F(Control, PrintClientAndPaintShowTheRetainedDrawing) {
    control.Bar().ReadProperties(HostBarDesign());
    control.Bar().SetValue(50);
    control.Bar().SetValue(50);
    PumpMessages();
    const std::vector<std::uint32_t> drawn = control.SurfacePixels();
    ASSERT_NE(drawn[static_cast<std::size_t>(8 * 100 + 8)], 0xFFFFFFu) << "a block at 4";

    TestBitmap printed(100, 17);
    SendMessageW(control.Window(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed.Dc()), PRF_CLIENT);
    EXPECT_EQ(printed.Pixels(), drawn);

    TestBitmap erased(100, 17);
    EXPECT_NE(SendMessageW(control.Window(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.Dc()), 0), 0);
    EXPECT_EQ(erased.Pixels(), std::vector<std::uint32_t>(100 * 17, 0xFF00FFu)) << "erasing leaves the bitmap to WM_PAINT";

    // Hidden, as in the tray, and shown again: painted from the bitmap, nothing redrawn.
    ::ShowWindow(host.Get(), SW_HIDE);
    PumpMessages();
    ::ShowWindow(host.Get(), SW_SHOW);
    UpdateWindow(host.Get());
    PumpMessages();
    EXPECT_EQ(ShownOnScreen(), drawn);
    RedrawWindow(control.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(ShownOnScreen(), drawn);
    EXPECT_EQ(control.SurfacePixels(), drawn);
}

TEST_F(Control, ResizingRepaintsAnEmptyFrameOfTheNewSize) {
    control.Bar().SetValue(40);
    ASSERT_TRUE(SetWindowPos(control.Window(), nullptr, 0, 0, 150, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    PumpMessages();
    ASSERT_EQ(control.SurfaceWidth(), 150);
    ASSERT_EQ(control.SurfaceHeight(), 20);
    std::vector<std::uint32_t> pixels = control.SurfacePixels();
    const Picture frame = PictureOf({PictureSet::img, 0});
    EXPECT_EQ(pixels[static_cast<std::size_t>(10 * 150 + 149)], Rgb(frame.At(58, 6)));
    EXPECT_EQ(pixels[static_cast<std::size_t>(19 * 150 + 70)], Rgb(frame.At(20, 12)));
    EXPECT_EQ(pixels[static_cast<std::size_t>(6 * 150 + 8)], 0xFFFFFFu) << "the blocks are gone";

    control.Bar().SetValue(40);  // 40 % of 150 pixels: blocks at 4 ... 54
    PumpMessages();
    pixels = control.SurfacePixels();
    EXPECT_NE(pixels[static_cast<std::size_t>(6 * 150 + 58)], 0xFFFFFFu);
    EXPECT_EQ(pixels[static_cast<std::size_t>(6 * 150 + 68)], 0xFFFFFFu);
    EXPECT_EQ(ShownOnScreen(), pixels);
}

TEST_F(Control, RejectedValuesReachTheHostsMessageBoxes) {
    control.Bar().SetValue(101);
    EXPECT_EQ(boxes.shown, (std::vector<std::string>{"Error: Value can NOT be higher than Maximum !"}));
}

// The GDI objects of this process. Wine's GetGuiResources counts nothing; its handle table
// also answers for a handle's 16-bit index alone, so there the objects are counted by probing.
DWORD GdiObjectCount() {
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0) return counted;
    DWORD probed = 0;
    for (UINT_PTR handle = 1; handle <= 0xFFFF; ++handle)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(handle)) != 0) ++probed;
    return probed;
}

TEST_F(Control, TwoThousandSettingsMakeNoGdiObjects) {
    auto settle = [&] {
        for (int i = 0; i < 5; ++i) {
            control.Bar().SetValue(i * 20);
            UpdateWindow(control.Window());
            PumpMessages();
        }
    };
    settle();
    const DWORD gdiBefore = GdiObjectCount();
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    ASSERT_GT(gdiBefore, 26u) << "the control's own bitmaps at least";
    for (int setting = 0; setting < 2000; ++setting) {
        if (setting == 1000) control.Bar().SetStyle(1);
        control.Bar().SetValue((setting * 37) % 101);  // rises, falls, repaints, the end
        if (setting % 50 == 0) UpdateWindow(control.Window());
        PumpMessages();
    }
    control.Bar().SetStyle(0);
    settle();
    EXPECT_EQ(GdiObjectCount(), gdiBefore);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore);
}

TEST(ControlLifetime, ItsWindowGoesWithItAndADestroyedParentIsHarmless) {
    UniqueWindow host = MakeHostWindow();
    ASSERT_TRUE(host);
    RecordingBoxes boxes;
    HWND window = nullptr;
    {
        ProgressBarControl control(boxes);
        ASSERT_TRUE(control.Create(host.Get(), 7, RECT{0, 0, 80, 15}));
        window = control.Window();
        EXPECT_FALSE(control.Create(host.Get(), 8, RECT{0, 0, 80, 15})) << "one window per control";
    }
    EXPECT_FALSE(IsWindow(window));

    ProgressBarControl control(boxes);
    ASSERT_TRUE(control.Create(host.Get(), 9, RECT{0, 0, 80, 15}));
    host.Reset();  // the parent takes the child with it
    EXPECT_EQ(control.Window(), nullptr);
    control.Bar().SetValue(60);  // draws on the kept surface; nothing to invalidate
    EXPECT_EQ(control.Bar().Value(), 60);
}

}  // namespace
}  // namespace varnic::win32
