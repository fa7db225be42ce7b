// Composition in layer order, the dirty rectangle, and the conversion into
// the display bitmap (24-bit copy and 8-bit ordered dither).

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "effects/picture_fade.h"
#include "graphics/draw.h"
#include "platform/platform.h"
#include "tables/tables.h"
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

std::array<int32_t, 4> box(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

class RecordingPlatform : public NullPlatform {
  public:
    std::vector<Rect> invalidated;
    void display_invalidate(const Rect& r) override { invalidated.push_back(r); }
};

TEST(ScreenUpdate, ComposesVisibleWindowsBottomToTopWithTheirOpacity) {
    ScreenMachine m(small_screen);
    ASSERT_TRUE(m.ready);
    const struct {
        int32_t w, h, x, y;
        uint32_t rgb;
    } windows[] = {{4, 3, 0, 0, 0xFFFFFF},
                   {4, 3, 2, 1, 0xCC8844},
                   {4, 1, 7, 0, 0xCC8844},
                   {3, 2, 9, 2, 0xFF0000}};
    fill_rgb(*m.win(0).picture, 0x102030);
    for (int32_t n = 1; n <= 4; ++n) {
        const auto& w = windows[n - 1];
        ASSERT_TRUE(m.open(n, w.w, w.h, w.x, w.y));
        fill_rgb(*m.win(n).picture, w.rgb);
        if (n < 4) {
            ASSERT_TRUE(win_show(m.engine, n, true));  // window 4 stays hidden
        }
    }
    m.win(2).transp = 128;
    m.win(3).picture->alpha.reset(new uint8_t[4]{255, 0, 255, 0});
    screen_update(m.engine);

    // h is half of 0xCC8844 over white, table[128][s] + table[127][255] per
    // byte; g the same over 0x102030: 102 + 8, 68 + 16, 34 + 24. Window 3's
    // alpha lets window 0 through where it is 0.
    const ArtLegend legend = {{0x102030, '.'}, {0xFFFFFF, '#'}, {0xCC8844, 'o'},
                              {0xE5C3A1, 'h'}, {0x6E543A, 'g'}, {0xFF0000, 'r'}};
    const Picture& screen = *m.engine.screen.screen;
    EXPECT_EQ(picture_art(screen, legend, 0, 0, 12, 4),
              "####...o.o..\n"
              "##hhgg......\n"
              "##hhgg......\n"
              "..gggg......\n");
    // The display bitmap holds the same bytes, bottom row first.
    EXPECT_EQ(display_pixel(m.engine, 2, 1), 0xE5C3A1u);
    EXPECT_EQ(display_pixel(m.engine, 7, 0), 0xCC8844u);
    EXPECT_EQ(m.engine.shared.display.pixels[size_t(19) * 192], 0xFF);  // (0, 0) blue
    EXPECT_EQ(m.engine.shared.display.stride, 192u);
    EXPECT_TRUE(m.engine.screen.dirty.empty());

    // Raising window 1 puts it over window 2; hiding it uncovers what is below.
    ASSERT_TRUE(win_show(m.engine, 1, true));
    screen_update(m.engine);
    EXPECT_EQ(picture_art(screen, legend, 0, 1, 6, 3), "####gg\n####gg\n..gggg\n");
    ASSERT_TRUE(win_show(m.engine, 1, false));
    screen_update(m.engine);
    EXPECT_EQ(picture_art(screen, legend, 0, 0, 6, 3), "......\n..gggg\n..gggg\n");
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
    EXPECT_EQ(box(m.engine.screen.dirty), (std::array<int32_t, 4>{32, 7, 36, 12}));
    screen_update(m.engine);
    ASSERT_EQ(platform.invalidated.size(), 2u);
    EXPECT_EQ(box(platform.invalidated[1]), (std::array<int32_t, 4>{32, 7, 36, 12}));
    // Only the 4 x 5 pixels from (32, 7) changed, to 0xCC8844; every other
    // pixel and the padding at each row's end kept their 0x5A.
    EXPECT_EQ(bytes_hash(bits.data(), bits.size()), 0x14688b404024f6b5u);
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
    EXPECT_EQ(box(m.engine.screen.dirty), (std::array<int32_t, 4>{0, 0, 63, 20}));
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
    // Red 204, green 136, blue 68 plus the matrix value at (x mod 4, y mod 4):
    // + 0, + 27, + 17, + 47, + 50, and (6, 5) shares the cell of (2, 1).
    const int32_t expected[][3] = {{0, 0, 167},   {1, 0, 173},  {3, 3, 173},
                                   {2, 1, 174},   {0, 3, 174},  {6, 5, 174},
                                   {10, 10, 225}, {11, 10, 10}, {62, 19, 225}};
    for (const auto& [x, y, index] : expected)
        EXPECT_EQ(display_index(m.engine, x, y), index) << x << "," << y;
    // The bitmap's colour table matches: entry 167 is red 204, green 102, blue 51.
    const uint8_t* c = m.engine.shared.display.colours[167];
    EXPECT_EQ((std::array<int, 3>{c[0], c[1], c[2]}), (std::array<int, 3>{51, 102, 204}));
    // Back to a true-colour display: the same screen copies again.
    display_setup(m.engine, 32, 1024, 768);
    mark_dirty(m.engine, nullptr);
    screen_update(m.engine);
    EXPECT_EQ(display_pixel(m.engine, 0, 0), 0xCC8844u);
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
    const ScreenState& s = m.engine.screen;
    EXPECT_EQ((std::array{s.content_x, s.content_y, s.view_width, s.view_height}),
              (std::array{80, 60, 640, 480}));
    colour_set(m.engine, 1, 0xCC, 0x88, 0x44);
    window_fill(m.engine, m.win(0), 0, 0, 1, 1, 1, -1);
    Picture* src = picture_create(2, 2);
    fill_rgb(*src, 0x446688);
    EXPECT_TRUE(window_draw_picture(m.engine, 0, 1, 0, 0, 0, src, 0, 0, 0, 0, 0, 255, 0, 0));
    const ArtLegend legend = {{0, '.'}, {0xCC8844, 'o'}, {0x446688, 'p'}};
    EXPECT_EQ(picture_art(*m.win(0).picture, legend, 79, 59, 5, 4), ".....\n.opp.\n..pp.\n.....\n");
    // Other windows are not shifted inside their pictures.
    ASSERT_TRUE(m.open(1, 4, 4));
    EXPECT_TRUE(window_draw_picture(m.engine, 1, 0, 0, 0, 0, src, 0, 0, 0, 0, 0, 255, 0, 0));
    EXPECT_EQ(pixel(*m.win(1).picture, 0, 0), 0x446688u);
    EXPECT_FALSE(window_draw_picture(m.engine, 2, 0, 0, 0, 0, src, 0, 0, 0, 0, 0, 255, 0, 0));
    picture_free(src);
    // Far off the left edge, a width that reaches back without overflowing.
    int32_t x = -2147483647, y = 0, w = 2147483647, h = 1;
    EXPECT_FALSE(window_clip(m.engine, m.win(1), x, y, w, h));

    // A view size of 0 in either direction means no offset.
    m.engine.settings.view_height = 0;
    display_setup(m.engine, 24, 1024, 768);
    EXPECT_EQ((std::array{s.content_x, s.content_y, s.view_width, s.view_height}),
              (std::array{0, 0, 800, 600}));
}

}  // namespace
}  // namespace qln::test
