// Composition in layer order, the dirty rectangle, and the conversion into
// the display bitmap (24-bit copy and 8-bit ordered dither).

#include <gtest/gtest.h>

#include <vector>

#include "graphics/draw.h"
#include "platform/platform.h"
#include "tables/tables.h"
#include "effects/picture_fade.h"
#include "windows/window_test_support.h"

namespace qln::test {
namespace {

// Blue, green and red of the display bitmap at screen (x, y), rows bottom-up.
uint32_t display_pixel(const Engine& e, int32_t x, int32_t y) {
    const DisplayBitmap& d = e.shared.display;
    const uint8_t* q = d.pixels.data() + size_t(d.height - 1 - y) * d.stride + size_t(x) * 3;
    return uint32_t(q[2]) << 16 | uint32_t(q[1]) << 8 | q[0];
}

uint8_t display_index(const Engine& e, int32_t x, int32_t y) {
    const DisplayBitmap& d = e.shared.display;
    return d.pixels[size_t(d.height - 1 - y) * d.stride + size_t(x)];
}

void small_screen(Settings& s) {
    s.screen_width = 63;
    s.screen_height = 20;
    s.view_width = 0;
    s.view_height = 0;
}

class RecordingPlatform : public NullPlatform {
  public:
    std::vector<Rect> invalidated;
    void display_invalidate(const Rect& r) override { invalidated.push_back(r); }
};

TEST(ScreenUpdate, ComposesVisibleWindowsBottomToTopWithTheirOpacity) {
    ScreenMachine m(small_screen);
    ASSERT_TRUE(m.ready);
    fill_rgb(*m.win(0).picture, 0x102030);
    ASSERT_TRUE(m.open(1, 20, 10, 0, 0));
    fill_rgb(*m.win(1).picture, 0xFFFFFF);
    ASSERT_TRUE(m.open(2, 20, 10, 10, 5));
    fill_rgb(*m.win(2).picture, 0xCC8844);
    m.win(2).transp = 128;
    ASSERT_TRUE(m.open(3, 4, 2, 40, 0));
    fill_rgb(*m.win(3).picture, 0xCC8844);
    m.win(3).picture->alpha.reset(new uint8_t[8]{255, 0, 255, 0, 0, 0, 0, 0});
    ASSERT_TRUE(m.open(4, 5, 5, 50, 10));  // never shown
    fill_rgb(*m.win(4).picture, 0xFF0000);
    for (int32_t n : {1, 2, 3}) ASSERT_TRUE(win_show(m.engine, n, true));
    screen_update(m.engine);

    const Picture& screen = *m.engine.screen.screen;
    EXPECT_EQ(pixel(screen, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(pixel(screen, 25, 0), 0x102030u);
    // Half of 0xCC8844 over white: table[128][s] + table[127][255] per byte.
    EXPECT_EQ(pixel(screen, 15, 7), 0xE5C3A1u);
    // Over the 0x102030 of window 0: 102 + 8, 68 + 16, 34 + 24.
    EXPECT_EQ(pixel(screen, 25, 7), 0x6E543Au);
    // The alpha plane lets window 0 through where it is 0.
    EXPECT_EQ(pixel(screen, 40, 0), 0xCC8844u);
    EXPECT_EQ(pixel(screen, 41, 0), 0x102030u);
    EXPECT_EQ(pixel(screen, 40, 1), 0x102030u);
    EXPECT_EQ(pixel(screen, 52, 12), 0x102030u);  // the hidden window
    // The display bitmap holds the same bytes, bottom row first.
    EXPECT_EQ(display_pixel(m.engine, 15, 7), 0xE5C3A1u);
    EXPECT_EQ(display_pixel(m.engine, 40, 0), 0xCC8844u);
    EXPECT_EQ(m.engine.shared.display.pixels[size_t(19) * 192], 0xFF);  // (0, 0) blue
    EXPECT_EQ(m.engine.shared.display.stride, 192u);
    EXPECT_TRUE(m.engine.screen.dirty.empty());

    // Raising window 1 puts it over window 2.
    ASSERT_TRUE(win_show(m.engine, 1, true));
    screen_update(m.engine);
    EXPECT_EQ(pixel(screen, 15, 7), 0xFFFFFFu);
    // Hiding it uncovers what lies below.
    ASSERT_TRUE(win_show(m.engine, 1, false));
    screen_update(m.engine);
    EXPECT_EQ(pixel(screen, 5, 2), 0x102030u);
    EXPECT_EQ(pixel(screen, 25, 7), 0x6E543Au);
}

TEST(ScreenUpdate, ConvertsOnlyTheDirtyRectangle) {
    ScreenMachine m(small_screen);
    RecordingPlatform platform;
    m.engine.platform = platform.services();
    ASSERT_TRUE(m.open(1, 20, 10, 30, 4));
    ASSERT_TRUE(win_show(m.engine, 1, true));
    screen_update(m.engine);
    ASSERT_EQ(platform.invalidated.size(), 1u);
    EXPECT_EQ(platform.invalidated[0].right, 63);

    std::vector<uint8_t>& bits = m.engine.shared.display.pixels;
    std::fill(bits.begin(), bits.end(), uint8_t(0x5A));
    fill_rgb(*m.win(1).picture, 0xCC8844);
    fill_rgb(*m.win(0).picture, 0x010203);  // changed but not marked
    const Rect part{2, 3, 6, 8};
    mark_dirty(m.engine, &m.win(1), &part);
    EXPECT_EQ(m.engine.screen.dirty.left, 32);
    EXPECT_EQ(m.engine.screen.dirty.top, 7);
    screen_update(m.engine);
    ASSERT_EQ(platform.invalidated.size(), 2u);
    EXPECT_EQ(platform.invalidated[1].left, 32);
    EXPECT_EQ(platform.invalidated[1].bottom, 12);
    int changed = 0, wrong = 0;
    for (int32_t y = 0; y < 20; ++y) {
        for (int32_t x = 0; x < 63; ++x) {
            const bool inside = x >= 32 && x < 36 && y >= 7 && y < 12;
            const uint32_t v = display_pixel(m.engine, x, y);
            if (inside) {
                changed += v == 0xCC8844u;
            } else {
                wrong += v != 0x5A5A5Au;
            }
        }
    }
    EXPECT_EQ(changed, 20);
    EXPECT_EQ(wrong, 0);
    // The padding bytes at each row's end are never written.
    EXPECT_EQ(bits[189], 0x5A);
    EXPECT_EQ(bits[191], 0x5A);

    // A rectangle that misses the window, a hidden window and an empty update
    // change nothing.
    const Rect outside{25, 0, 30, 5};
    mark_dirty(m.engine, &m.win(1), &outside);
    EXPECT_TRUE(m.engine.screen.dirty.empty());
    ASSERT_TRUE(win_show(m.engine, 1, false));
    screen_update(m.engine);
    mark_dirty(m.engine, &m.win(1));
    EXPECT_TRUE(m.engine.screen.dirty.empty());
    const size_t before = platform.invalidated.size();
    screen_update(m.engine);
    EXPECT_EQ(platform.invalidated.size(), before);
    // No window: the whole screen.
    mark_dirty(m.engine, nullptr);
    EXPECT_EQ(m.engine.screen.dirty.right, 63);
    EXPECT_EQ(m.engine.screen.dirty.bottom, 20);
}

TEST(ScreenUpdate, EightBitDisplayDithersOntoTheColourCube) {
    ScreenMachine m(small_screen);
    display_setup(m.engine, 8, 1024, 768);
    EXPECT_TRUE(m.engine.screen.eight_bit);
    EXPECT_EQ(m.engine.shared.display.bits_per_pixel, 8);
    EXPECT_EQ(m.engine.shared.display.stride, 64u);
    EXPECT_EQ(m.engine.shared.display.colours_used, 256u);
    Picture& root = *m.win(0).picture;
    fill_rgb(root, 0xCC8844);
    set_pixel(root, 10, 10, 0xFFFFFF);
    set_pixel(root, 11, 10, 0x000000);
    set_pixel(root, 62, 19, 0xFFFFFF);
    mark_dirty(m.engine, nullptr);
    screen_update(m.engine);
    // Red 204, green 136, blue 68 plus the matrix value at (x mod 4, y mod 4).
    EXPECT_EQ(display_index(m.engine, 0, 0), 167);  // + 0
    EXPECT_EQ(display_index(m.engine, 1, 0), 173);  // + 27
    EXPECT_EQ(display_index(m.engine, 3, 3), 173);  // + 17
    EXPECT_EQ(display_index(m.engine, 2, 1), 174);  // + 47
    EXPECT_EQ(display_index(m.engine, 0, 3), 174);  // + 50
    EXPECT_EQ(display_index(m.engine, 6, 5), 174);  // same matrix cell as (2, 1)
    EXPECT_EQ(display_index(m.engine, 10, 10), 225);
    EXPECT_EQ(display_index(m.engine, 11, 10), 10);
    EXPECT_EQ(display_index(m.engine, 62, 19), 225);
    // The bitmap's colour table matches: entry 167 is red 204, green 102, blue 51.
    const uint8_t* c = m.engine.shared.display.colours[167];
    EXPECT_EQ(c[0], 51);
    EXPECT_EQ(c[1], 102);
    EXPECT_EQ(c[2], 204);
    // Back to a true-colour display: the same screen copies again.
    display_setup(m.engine, 32, 1024, 768);
    mark_dirty(m.engine, nullptr);
    screen_update(m.engine);
    EXPECT_EQ(display_pixel(m.engine, 0, 0), 0xCC8844u);
}

TEST(ScreenUpdate, WindowFillAndInvertClipAndMark) {
    ScreenMachine m(small_screen);
    colour_set(m.engine, 2, 0xCC, 0x88, 0x44);
    ASSERT_TRUE(m.open(1, 10, 6, 20, 10));
    ASSERT_TRUE(win_show(m.engine, 1, true));
    screen_update(m.engine);
    window_fill(m.engine, m.win(1), -3, 4, 5, 100, 2, -1);
    EXPECT_EQ(pixel(*m.win(1).picture, 0, 4), 0xCC8844u);
    EXPECT_EQ(pixel(*m.win(1).picture, 1, 5), 0xCC8844u);
    EXPECT_EQ(pixel(*m.win(1).picture, 2, 5), 0u);
    EXPECT_EQ(pixel(*m.win(1).picture, 1, 3), 0u);
    EXPECT_EQ(m.engine.screen.dirty.left, 20);
    EXPECT_EQ(m.engine.screen.dirty.top, 14);
    EXPECT_EQ(m.engine.screen.dirty.right, 22);
    EXPECT_EQ(m.engine.screen.dirty.bottom, 16);
    window_invert(m.engine, m.win(1), 1, 5, 50, 50);
    EXPECT_EQ(pixel(*m.win(1).picture, 1, 5), 0x3377BBu);
    EXPECT_EQ(pixel(*m.win(1).picture, 9, 5), 0xFFFFFFu);
    int32_t x = 4, y = 9, w = 3, h = 3;
    EXPECT_FALSE(window_clip(m.engine, m.win(1), x, y, w, h));
    x = -2147483647;
    y = 0;
    w = 2147483647;
    h = 1;
    EXPECT_FALSE(window_clip(m.engine, m.win(1), x, y, w, h));
}

void framed_view(Settings& s) {
    s.screen_width = 800;
    s.screen_height = 600;
    s.view_width = 640;
    s.view_height = 480;
}

TEST(ScreenUpdate, ContentOffsetShiftsWindowZeroDrawing) {
    ScreenMachine m(framed_view);
    ASSERT_TRUE(m.ready);
    EXPECT_EQ(m.engine.screen.content_x, 80);
    EXPECT_EQ(m.engine.screen.content_y, 60);
    EXPECT_EQ(m.engine.screen.view_width, 640);
    colour_set(m.engine, 1, 0xCC, 0x88, 0x44);
    window_fill(m.engine, m.win(0), 0, 0, 1, 1, 1, -1);
    EXPECT_EQ(pixel(*m.win(0).picture, 80, 60), 0xCC8844u);
    EXPECT_EQ(pixel(*m.win(0).picture, 0, 0), 0u);
    Picture* src = picture_create(2, 2);
    ASSERT_NE(src, nullptr);
    fill_rgb(*src, 0x446688);
    EXPECT_TRUE(window_draw_picture(m.engine, 0, 1, 0, 0, 0, src, 0, 0, 0, 0, 0, 255, 0, 0));
    EXPECT_EQ(pixel(*m.win(0).picture, 81, 60), 0x446688u);
    EXPECT_EQ(pixel(*m.win(0).picture, 82, 61), 0x446688u);
    EXPECT_EQ(pixel(*m.win(0).picture, 83, 61), 0u);
    // Other windows are not shifted inside their pictures.
    ASSERT_TRUE(m.open(1, 4, 4));
    EXPECT_TRUE(window_draw_picture(m.engine, 1, 0, 0, 0, 0, src, 0, 0, 0, 0, 0, 255, 0, 0));
    EXPECT_EQ(pixel(*m.win(1).picture, 0, 0), 0x446688u);
    EXPECT_FALSE(window_draw_picture(m.engine, 2, 0, 0, 0, 0, src, 0, 0, 0, 0, 0, 255, 0, 0));
    picture_free(src);

    // A view size of 0 in either direction means no offset.
    m.engine.settings.view_height = 0;
    display_setup(m.engine, 24, 1024, 768);
    EXPECT_EQ(m.engine.screen.content_x, 0);
    EXPECT_EQ(m.engine.screen.content_y, 0);
    EXPECT_EQ(m.engine.screen.view_width, 800);
    EXPECT_EQ(m.engine.screen.view_height, 600);
}

}  // namespace
}  // namespace qln::test
