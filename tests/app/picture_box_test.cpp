// What the picture boxes draw, read back from the screen of the shown main window.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/window_under_test.h"

namespace {

// Ten by ten, two frames of 100 ms: red, then blue, looping (made with ImageMagick).
const Bytes kRedBlueGif = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x0a, 0x00, 0x0a, 0x00, 0xf0, 0x00, 0x00, 0xff, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04, 0x00, 0x0a, 0x00, 0x00, 0x00, 0x21, 0xff, 0x0b,
    0x4e, 0x45, 0x54, 0x53, 0x43, 0x41, 0x50, 0x45, 0x32, 0x2e, 0x30, 0x03, 0x01, 0x00, 0x00,
    0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x0a, 0x00, 0x0a, 0x00, 0x00, 0x02, 0x08, 0x84, 0x8f,
    0xa9, 0xcb, 0xed, 0x0f, 0x63, 0x2b, 0x00, 0x21, 0xf9, 0x04, 0x00, 0x0a, 0x00, 0x00, 0x00,
    0x2c, 0x00, 0x00, 0x00, 0x00, 0x0a, 0x00, 0x0a, 0x00, 0x80, 0x00, 0x00, 0xff, 0x00, 0x00,
    0x00, 0x02, 0x08, 0x84, 0x8f, 0xa9, 0xcb, 0xed, 0x0f, 0x63, 0x2b, 0x00, 0x3b};

// A 24-bit bottom-up Windows bitmap whose pixel (x, y) is colour(x, y).
Bytes MakeBmp(int width, int height, const std::function<COLORREF(int, int)>& colour) {
    int stride = (width * 3 + 3) & ~3;
    std::uint32_t dataSize = std::uint32_t(stride) * height;
    Bytes bmp(54 + dataSize, 0);
    auto put32 = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = std::uint8_t(value >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, std::uint32_t(bmp.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, std::uint32_t(width));
    put32(22, std::uint32_t(height));
    bmp[26] = 1;
    bmp[28] = 24;
    put32(34, dataSize);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            COLORREF c = colour(x, y);
            std::size_t at = 54 + std::size_t(height - 1 - y) * stride + 3 * std::size_t(x);
            bmp[at] = GetBValue(c);
            bmp[at + 1] = GetGValue(c);
            bmp[at + 2] = GetRValue(c);
        }
    }
    return bmp;
}

// A 2 x 1 PCX of 8 bits: palette entry 1 is (10, 200, 30), entry 2 is (40, 50, 250).
Bytes MakePcx() {
    Bytes pcx(128 + 3 + 768, 0);
    pcx[0] = 0x0A;
    pcx[1] = 5;
    pcx[2] = 1;
    pcx[3] = 8;
    pcx[8] = 1;  // x max
    pcx[65] = 1;
    pcx[66] = 2;  // bytes per line
    pcx[128] = 1;
    pcx[129] = 2;
    pcx[130] = 0x0C;
    const std::uint8_t entries[] = {0, 0, 0, 10, 200, 30, 40, 50, 250};
    for (std::size_t i = 0; i < sizeof(entries); ++i) pcx[131 + i] = entries[i];
    return pcx;
}

class PictureBoxTest : public WindowUnderTest {};

TEST_F(PictureBoxTest, DrawsAtNaturalSizeFromTheTopLeftClipped) {
    // Bigger than the box: scaled to fit, the green square would shrink.
    const COLORREF green = RGB(0, 255, 0), white = RGB(255, 255, 255);
    SetPicture(kPictureBox2,
               MakeBmp(400, 500, [&](int x, int y) { return x < 20 && y < 20 ? green : white; }));
    EXPECT_TRUE(PixelBecomes(2, 0, 0, green));
    EXPECT_TRUE(PixelBecomes(2, 19, 19, green));
    EXPECT_TRUE(PixelBecomes(2, 20, 20, white));
    EXPECT_TRUE(PixelBecomes(2, 140, 220, white));

    SetPicture(kPictureBox2, Bytes());
    EXPECT_TRUE(PixelBecomes(2, 0, 0, GetSysColor(COLOR_BTNFACE))) << "empty bytes clear";
}

TEST_F(PictureBoxTest, DrawsPcx) {
    SetPicture(kPictureBox4, MakePcx());
    EXPECT_TRUE(PixelBecomes(4, 0, 0, RGB(10, 200, 30)));
    EXPECT_TRUE(PixelBecomes(4, 1, 0, RGB(40, 50, 250)));
    EXPECT_TRUE(PixelBecomes(4, 2, 0, GetSysColor(COLOR_BTNFACE)));
}

TEST_F(PictureBoxTest, PngShowsNothingButIsKept) {
    const Bytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0x0D};
    SetPicture(kPictureBox5, MakeBmp(4, 4, [](int, int) { return RGB(9, 9, 9); }));
    EXPECT_TRUE(PixelBecomes(5, 1, 1, RGB(9, 9, 9)));
    SetPicture(kPictureBox5, png);
    EXPECT_TRUE(PixelBecomes(5, 1, 1, GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(GetPicture(kPictureBox5), png);
}

TEST_F(PictureBoxTest, AnimatedGifPlays) {
    SetPicture(kPictureBox6, kRedBlueGif);
    EXPECT_TRUE(PixelBecomes(6, 5, 5, RGB(255, 0, 0)));
    EXPECT_TRUE(PixelBecomes(6, 5, 5, RGB(0, 0, 255)));
    EXPECT_TRUE(PixelBecomes(6, 5, 5, RGB(255, 0, 0))) << "it loops";
    SetPicture(kPictureBox6, Bytes());
}

}  // namespace
