// The background picture: decoded by OLE, whose libraries the loader brings in only for it.
#include <gtest/gtest.h>

#include <cstdint>

#include "monitor/win32/picture_file.h"
#include "platform/win32/dib_section.h"
#include "scratch_folder.h"

namespace varnic::win32 {
namespace {

// A 1 x 1 GIF whose one pixel is pure red (palette entry 0), and a file that is no picture.
const std::string kRedGif("GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\x00\x00\x00\x00\x00\x2C\x00\x00\x00\x00\x01\x00\x01"
                          "\x00\x00\x02\x02\x44\x01\x00\x3B", 35);

TEST(PictureFile, DrawsADecodedPictureAndRefusesOtherFiles) {
    testing::ScratchFolder folder("picture");
    ASSERT_TRUE(testing::PutFile(folder / "back.gif", kRedGif) && testing::PutFile(folder / "back.jpg", "no picture"));
    EXPECT_EQ(PictureFile::Load(Wide(folder / "back.jpg")), nullptr);
    EXPECT_EQ(PictureFile::Load(Wide(folder / "missing.gif")), nullptr);
    auto picture = PictureFile::Load(Wide(folder / "back.gif"));
    ASSERT_NE(picture, nullptr);

    void* bits = nullptr;
    GdiObject<HBITMAP> target(CreateTopDownDib(4, 4, &bits));
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    HGDIOBJ previous = SelectObject(dc.Get(), target.Get());
    picture->Draw(dc.Get(), RECT{0, 0, 4, 4});
    SelectObject(dc.Get(), previous);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(pixels[i] & 0xFFFFFF, 0xFF0000u) << "pixel " << i;  // B, G, R in memory
}

}  // namespace
}  // namespace varnic::win32
