// The pause display, pixel by pixel: the darkened screen with the green
// word, the pause picture (stretched, first row at the bottom, blended by its
// alpha plane), the 8-bit dither, and the kept screen coming back exactly.

#include "screen/pause_display.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "graphics/dither.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "windows/window_test_support.h"

namespace qln {
namespace {

template <int W, int H>
void screen_size(Settings& s) {
    s.screen_width = W;
    s.screen_height = H;
}

// Fills the 24-bit display bitmap with B=0x44, G=0x88, R=0xCC and the row
// padding with 0xEE, so channel swaps and padding writes show.
void fill_display(DisplayBitmap& d) {
    std::fill(d.pixels.begin(), d.pixels.end(), uint8_t(0xEE));
    for (int32_t row = 0; row < d.height; ++row) {
        uint8_t* p = d.pixels.data() + size_t(row) * d.stride;
        for (int32_t x = 0; x < d.width; ++x) {
            p[x * 3] = 0x44, p[x * 3 + 1] = 0x88, p[x * 3 + 2] = 0xCC;
        }
    }
}

// One pixel of the bottom-up bitmap as 0xRRGGBB, by bitmap row.
uint32_t bitmap_pixel(const DisplayBitmap& d, int32_t x, int32_t row) {
    const uint8_t* p = d.pixels.data() + size_t(row) * d.stride + size_t(x) * 3;
    return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

TEST(PauseDisplay, DarkensTheScreenAndWritesTheWordUprightInGreen) {
    // 62 x 18: every mask cell is 2 x 2 pixels.
    test::CommandMachine m(screen_size<62, 18>);
    ASSERT_TRUE(m.ready);
    DisplayBitmap& d = m.engine.shared.display;
    ASSERT_EQ(d.bits_per_pixel, 24);
    fill_display(d);
    const std::vector<uint8_t> before = d.pixels;

    PauseCopy copy;
    ASSERT_TRUE(pause_display_show(m.engine, copy));
    // The screen read from the top (the last bitmap row), one letter per
    // cell: G green, . darkened.
    std::string seen;
    for (int32_t row = d.height - 1; row >= 0; row -= 2) {
        for (int32_t x = 0; x < d.width; x += 2) {
            const uint32_t p = bitmap_pixel(d, x, row);
            seen += p == 0x00C000 ? 'G' : p == 0x332211 ? '.' : '?';
            // Both pixels of a cell are alike in both directions.
            EXPECT_EQ(bitmap_pixel(d, x + 1, row), p);
            EXPECT_EQ(bitmap_pixel(d, x, row - 1), p);
        }
        seen += '\n';
    }
    EXPECT_EQ(seen,
              "...............................\n"
              ".GGGG....G...G...G..GGG..GGGGG.\n"
              ".G...G..G.G..G...G.G...G.G.....\n"
              ".G...G.G...G.G...G.G.....G.....\n"
              ".GGGG..GGGGG.G...G..GGG..GGGG..\n"
              ".G.....G...G.G...G.....G.G.....\n"
              ".G.....G...G.G...G.G...G.G.....\n"
              ".G.....G...G..GGG...GGG..GGGGG.\n"
              "...............................\n");
    // Row padding is never written.
    for (int32_t row = 0; row < d.height; ++row) {
        EXPECT_EQ(d.pixels[size_t(row) * d.stride + d.width * 3], 0xEE) << row;
    }

    // A second show keeps the first copy; the restore gives back every byte.
    EXPECT_FALSE(pause_display_show(m.engine, copy));
    EXPECT_TRUE(pause_display_restore(m.engine, copy));
    EXPECT_EQ(d.pixels, before);
    EXPECT_FALSE(copy.held);
    EXPECT_FALSE(pause_display_restore(m.engine, copy));
}

TEST(PauseDisplay, ThePausePictureIsStretchedFirstRowAtTheBottomAndBlendedByAlpha) {
    // Width 5: rows of 15 bytes padded to 16, so each row must start at the
    // stride, not right after the previous one.
    test::CommandMachine m(screen_size<5, 4>);
    ASSERT_TRUE(m.ready);
    DisplayBitmap& d = m.engine.shared.display;
    ASSERT_EQ(d.stride, 16u);
    fill_display(d);

    // A 2 x 2 picture: the top row opaque red and green, the bottom row with
    // alpha 0 and 128.
    Picture* p = buf_new_picture(m.engine, 7, 2, 2);
    ASSERT_NE(p, nullptr);
    test::set_pixel(*p, 0, 0, 0xFF0000);
    test::set_pixel(*p, 1, 0, 0x00FF00);
    test::set_pixel(*p, 0, 1, 0x0000FF);
    test::set_pixel(*p, 1, 1, 0xC8C8C8);
    p->alpha.reset(new uint8_t[4]{255, 255, 0, 128});
    m.engine.shell.pause_picture = 7;

    PauseCopy copy;
    ASSERT_TRUE(pause_display_show(m.engine, copy));
    // Steps of 2/5 and 2/4 in 16.16: columns 0-2 take picture column 0,
    // columns 3-4 column 1; bitmap rows 0-1 (the bottom of the screen) take
    // picture row 0.
    for (int32_t row : {0, 1}) {
        for (int32_t x = 0; x < 5; ++x) {
            EXPECT_EQ(bitmap_pixel(d, x, row), x < 3 ? 0xFF0000u : 0x00FF00u) << x << "," << row;
        }
    }
    // Alpha 0 leaves the screen; alpha 128 blends 200 with the screen's
    // bytes: floor((128 * 200 + 128) / 255) + floor((127 * byte + 128) / 255).
    for (int32_t row : {2, 3}) {
        for (int32_t x = 0; x < 5; ++x) {
            EXPECT_EQ(bitmap_pixel(d, x, row), x < 3 ? 0xCC8844u : 0xCAA886u) << x << "," << row;
        }
    }
    for (int32_t row = 0; row < d.height; ++row) {
        EXPECT_EQ(d.pixels[size_t(row) * d.stride + 15], 0xEE) << row;
    }

    // A pause picture buffer that holds no picture falls back to the word.
    EXPECT_TRUE(pause_display_restore(m.engine, copy));
    m.engine.shell.pause_picture = 8;
    ASSERT_TRUE(pause_display_show(m.engine, copy));
    EXPECT_EQ(bitmap_pixel(d, 0, 0), 0x332211u);
}

TEST(PauseDisplay, EightBitOutputIsDitheredOntoThePalette) {
    test::CommandMachine m(screen_size<62, 18>);
    ASSERT_TRUE(m.ready);
    display_setup(m.engine, 8, 1920, 1080);
    DisplayBitmap& d = m.engine.shared.display;
    ASSERT_EQ(d.bits_per_pixel, 8);
    // Every pixel white: palette entry 10 + 36 * 5 + 6 * 5 + 5.
    std::fill(d.pixels.begin(), d.pixels.end(), uint8_t(225));
    PauseCopy copy;
    ASSERT_TRUE(pause_display_show(m.engine, copy));
    // Darkened white is 63 in each channel: cube level (63 + dither) / 51.
    // The top screen row is the last bitmap row; dither values by screen row.
    const int32_t top = d.height - 1;
    EXPECT_EQ(d.pixels[size_t(top) * d.stride + 0], 10 + 36 + 6 + 1);       // dither 0
    EXPECT_EQ(d.pixels[size_t(top - 1) * d.stride + 0], 10 + 72 + 12 + 2);  // dither 40
    // Green (0, 192, 0) at the top of the P, screen row 2 and 3, column 2.
    EXPECT_EQ(d.pixels[size_t(top - 2) * d.stride + 2], 10 + 6 * 3);  // dither 3
    EXPECT_EQ(d.pixels[size_t(top - 3) * d.stride + 3], 10 + 6 * 4);  // dither 17
    EXPECT_TRUE(pause_display_restore(m.engine, copy));
    EXPECT_EQ(d.pixels[size_t(top) * d.stride], 225);
}

}  // namespace
}  // namespace qln
