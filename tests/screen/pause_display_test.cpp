// The pause display: the darkened screen with the green word, or the pause
// picture stretched and blended by its alpha; the kept screen comes back whole.

#include "screen/pause_display.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/dither.h"
#include "screen/screen.h"
#include "support/pixels.h"
#include "tables/tables.h"
#include "windows/window_test_support.h"

namespace qln {
namespace {

template <int W, int H>
void screen_size(Settings& s) {
    s.screen_width = W;
    s.screen_height = H;
}

// Every pixel of the 24-bit display B=0x44, G=0x88, R=0xCC, the row padding
// 0xEE, so channel swaps and padding writes show.
void fill_display(DisplayBitmap& d) {
    std::fill(d.pixels.begin(), d.pixels.end(), uint8_t(0xEE));
    for (int32_t row = 0; row < d.height; ++row) {
        uint8_t* p = d.pixels.data() + size_t(row) * d.stride;
        for (int32_t x = 0; x < d.width; ++x)
            p[x * 3] = 0x44, p[x * 3 + 1] = 0x88, p[x * 3 + 2] = 0xCC;
    }
}

// The bottom-up display as character art from the top screen row down, and
// the row padding checked untouched.
std::string display_art(const DisplayBitmap& d, test::ArtLegend legend) {
    std::string art;
    for (int32_t row = d.height - 1; row >= 0; --row) {
        const uint8_t* p = d.pixels.data() + size_t(row) * d.stride;
        for (int32_t x = 0; x < d.width; ++x, p += 3) {
            const uint32_t rgb = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
            char c = '?';
            for (const auto& [colour, mark] : legend) c = colour == rgb ? mark : c;
            art += c;
        }
        art += p[0] == 0xEE ? '\n' : '!';
    }
    return art;
}

// Each character of art as a 2 x 2 cell.
std::string doubled(const std::string& art) {
    std::string row, out;
    for (char c : art) {
        if (c != '\n')
            row += std::string(2, c);
        else
            out += row + '\n' + row + '\n', row.clear();
    }
    return out;
}

TEST(PauseDisplay, DarkensTheScreenAndWritesTheWordUprightInGreen) {
    test::CommandMachine m(screen_size<62, 18>);
    ASSERT_TRUE(m.ready);
    DisplayBitmap& d = m.engine.shared.display;
    ASSERT_EQ(d.bits_per_pixel, 24);
    fill_display(d);
    const std::vector<uint8_t> before = d.pixels;

    PauseCopy copy;
    ASSERT_TRUE(pause_display_show(m.engine, copy));
    EXPECT_EQ(display_art(d, {{0x00C000, 'G'}, {0x332211, '.'}}),
              doubled("...............................\n"
                      ".GGGG....G...G...G..GGG..GGGGG.\n"
                      ".G...G..G.G..G...G.G...G.G.....\n"
                      ".G...G.G...G.G...G.G.....G.....\n"
                      ".GGGG..GGGGG.G...G..GGG..GGGG..\n"
                      ".G.....G...G.G...G.....G.G.....\n"
                      ".G.....G...G.G...G.G...G.G.....\n"
                      ".G.....G...G..GGG...GGG..GGGGG.\n"
                      "...............................\n"));
    // A second show keeps the first copy; the restore gives back every byte.
    EXPECT_FALSE(pause_display_show(m.engine, copy));
    EXPECT_TRUE(pause_display_restore(m.engine, copy));
    EXPECT_EQ(d.pixels, before);
    EXPECT_FALSE(copy.held);
    EXPECT_FALSE(pause_display_restore(m.engine, copy));
}

TEST(PauseDisplay, ThePausePictureIsStretchedFirstRowAtTheBottomAndBlendedByAlpha) {
    // Rows of 15 bytes padded to 16: each row must start at the stride.
    test::CommandMachine m(screen_size<5, 4>);
    ASSERT_TRUE(m.ready);
    DisplayBitmap& d = m.engine.shared.display;
    ASSERT_EQ(d.stride, 16u);
    fill_display(d);

    // Top row opaque red and green; bottom row alpha 0 and 128.
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
    // Steps of 2/5 and 2/4 in 16.16; the picture's first row is the screen's
    // bottom. b: 200 at alpha 128 over the screen, each term rounded apart:
    // floor((128 * 200 + 128) / 255) + floor((127 * byte + 128) / 255).
    EXPECT_EQ(display_art(d, {{0xFF0000, 'R'}, {0x00FF00, 'G'}, {0xCC8844, '.'}, {0xCAA886, 'b'}}),
              "...bb\n"
              "...bb\n"
              "RRRGG\n"
              "RRRGG\n");

    // A pause picture buffer that holds no picture falls back to the word.
    EXPECT_TRUE(pause_display_restore(m.engine, copy));
    m.engine.shell.pause_picture = 8;
    ASSERT_TRUE(pause_display_show(m.engine, copy));
    EXPECT_EQ(display_art(d, {{0x332211, '.'}}), ".....\n.....\n.....\n.....\n");
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
    // Darkened white is 63 in each channel: cube level (63 + dither) / 51,
    // dither values by screen row; the top screen row is the last bitmap row.
    const auto at = [&](int32_t screen_row, int32_t x) {
        return d.pixels[size_t(d.height - 1 - screen_row) * d.stride + size_t(x)];
    };
    EXPECT_EQ(at(0, 0), 10 + 36 + 6 + 1);   // dither 0
    EXPECT_EQ(at(1, 0), 10 + 72 + 12 + 2);  // dither 40
    // Green (0, 192, 0) at the top of the P.
    EXPECT_EQ(at(2, 2), 10 + 6 * 3);  // dither 3
    EXPECT_EQ(at(3, 3), 10 + 6 * 4);  // dither 17
    EXPECT_TRUE(pause_display_restore(m.engine, copy));
    EXPECT_EQ(at(0, 0), 225);
}

}  // namespace
}  // namespace qln
