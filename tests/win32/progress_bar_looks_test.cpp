// A picture of the eight looks, each filled to 70 % at 100 % and at 200 % scale, written as
// screenshots/progress_bar_looks.bmp in the folder named by VARNIC_SCREENSHOTS (a folder of
// this drive) or else in the current folder, for a person to look at.
#include "controls/progressbar/win32/progress_bar_control.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/wide.h"

namespace varnic::win32 {
namespace {

class NoBoxes final : public MessageBoxes {
public:
    void Show(const std::string& text, const std::string&, MessageIcon) override { ADD_FAILURE() << text; }
};

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

UniqueWindow MakeHostWindow(int width, int height) {
    static const ATOM atom = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = L"VarnicProgressLooksHost";
        return RegisterClassExW(&windowClass);
    }();
    if (atom == 0) return UniqueWindow();
    return UniqueWindow(CreateWindowExW(0, L"VarnicProgressLooksHost", L"Looks", WS_POPUP | WS_VISIBLE, 0, 0, width,
                                        height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
}

// An image of 0x00RRGGBB pixels, row by row from the top.
struct Image {
    int width, height;
    std::vector<std::uint32_t> pixels;
    void Put(int left, int top, int w, int h, const std::vector<std::uint32_t>& from) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                pixels[static_cast<std::size_t>((top + y) * width + left + x)] = from[static_cast<std::size_t>(y * w + x)];
    }
};

std::size_t RowBytes(int width) { return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3}; }

// A 24-bit bottom-up BMP file.
std::string BmpBytes(const Image& image) {
    const std::size_t rowBytes = RowBytes(image.width);
    const std::size_t dataBytes = rowBytes * static_cast<std::size_t>(image.height);
    std::string bytes(54 + dataBytes, '\0');
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i) & 0xFF);
    };
    bytes[0] = 'B', bytes[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(image.width));
    put32(22, static_cast<std::uint32_t>(image.height));
    bytes[26] = 1;   // planes
    bytes[28] = 24;  // bits per pixel
    put32(34, static_cast<std::uint32_t>(dataBytes));
    put32(38, 3780), put32(42, 3780);  // 96 DPI
    for (int y = 0; y < image.height; ++y) {
        std::size_t at = 54 + rowBytes * static_cast<std::size_t>(image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.pixels[static_cast<std::size_t>(y * image.width + x)];
            bytes[at++] = static_cast<char>(p & 0xFF);
            bytes[at++] = static_cast<char>(p >> 8 & 0xFF);
            bytes[at++] = static_cast<char>(p >> 16 & 0xFF);
        }
    }
    return bytes;
}

std::string ScreenshotFolder() {
    const char* named = std::getenv("VARNIC_SCREENSHOTS");
    std::string folder = named != nullptr && *named != '\0' ? named : "screenshots";
    CreateDirectoryW(Wide(folder).c_str(), nullptr);
    return folder;
}

TEST(ProgressBarLooks, AllEightLooksAreWrittenAsAPicture) {
    constexpr int kGap = 10, kWidth = 240, kHeight = 18, kRow = 2 * kHeight + kGap;
    Image image{kGap + kWidth + kGap + 2 * kWidth + kGap, kGap + 8 * kRow, {}};
    image.pixels.assign(static_cast<std::size_t>(image.width * image.height), 0xF0F0F0u);

    UniqueWindow host = MakeHostWindow(image.width, image.height);
    ASSERT_TRUE(host);
    NoBoxes boxes;
    for (int look = 0; look < 8; ++look) {
        for (int scale : {100, 200}) {
            const int left = scale == 100 ? kGap : kGap + kWidth + kGap;
            const int top = kGap + look * kRow;
            const int w = kWidth * scale / 100, h = kHeight * scale / 100;
            ProgressBarControl bar(boxes);
            bar.Bar().SetProgressLook(look);
            ASSERT_TRUE(bar.Create(host.Get(), 100 + look, RECT{left, top, left + w, top + h}, scale));
            bar.Bar().SetValue(70);
            PumpMessages();
            ASSERT_EQ(bar.SurfaceWidth(), w);
            ASSERT_EQ(bar.SurfaceHeight(), h);
            const std::vector<std::uint32_t> pixels = bar.SurfacePixels();
            // Blocks are drawn up to 70 % and the rest of the interior is empty.
            EXPECT_NE(pixels[static_cast<std::size_t>(h / 2 * w + w / 2)], 0xFFFFFFu) << look << " at " << scale;
            EXPECT_EQ(pixels[static_cast<std::size_t>(h / 3 * w + w * 9 / 10)], 0xFFFFFFu) << look << " at " << scale;
            image.Put(left, top, w, h, pixels);
        }
    }

    const std::string path = ScreenshotFolder() + "\\progress_bar_looks.bmp";
    const std::string bytes = BmpBytes(image);
    {
        std::ofstream out(Wide(path).c_str(), std::ios::binary | std::ios::trunc);
        ASSERT_TRUE(out) << path;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::ifstream in(Wide(path).c_str(), std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(written.size(), 54 + RowBytes(750) * 378) << path;
    EXPECT_EQ(written, bytes) << path;
    std::printf("written: %s (%d x %d)\n", path.c_str(), image.width, image.height);
}

}  // namespace
}  // namespace varnic::win32
