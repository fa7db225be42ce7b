// The button highlight by exact pixels: the four looks, what they save and
// put back, and windows that change under a highlight.

#include <gtest/gtest.h>

#include <vector>

#include "input/input_machine.h"
#include "screen/screen.h"

namespace qln::test {
namespace {

// Window 1 at (100, 100), 40 x 30, every pixel telling its place; one button
// at (10, 5), 8 x 6 with the given flags and highlight value; picture buffer
// 20 holds a 8 x 18 look (rows 0, 1, 2 of 6 pixels each) tagged 0x40.
struct HighlightMachine : InputMachine {
    explicit HighlightMachine(uint16_t flags, int32_t highlight = 20) {
        open(1, 100, 100, 40, 30);
        fill_coordinates(*window_picture(1));
        buttons(1, 7, 1)[0] = button(5, flags, 10, 5, 8, 6, highlight);
        Picture* look = buf_new_picture(engine, 20, 8, 18);
        fill_coordinates(*look, 0x40);
        colour_set(engine, 3, 0x11, 0x22, 0x33);
    }
    uint32_t at(int32_t x, int32_t y) { return pixel(*window_picture(1), x, y); }
    // True when the w x h pixels at (x0, y0) are expected(x, y), counted from there.
    template <typename Expected>
    bool shows(int x0, int y0, int w, int h, Expected expected) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (at(x0 + x, y0 + y) != uint32_t(expected(x, y))) return false;
            }
        }
        return true;
    }
    // The button's rectangle shows look row `row`; the window its own pixels.
    bool shows_row(int row) {
        return shows(10, 5, 8, 6, [row](int x, int y) { return coordinate(x, row * 6 + y, 0x40); });
    }
    bool untouched() {
        return shows(0, 0, 40, 30, [](int x, int y) { return coordinate(x, y); });
    }
};

TEST(Highlight, PictureLookSixShowsRowOneHoveredRowTwoPressedAndLeavingRestores) {
    HighlightMachine m(6);
    m.engine.screen.dirty = Rect{};
    EXPECT_EQ(m.hit(115, 110).button_id, 5);
    EXPECT_TRUE(m.shows_row(1));
    EXPECT_EQ(m.at(18, 5), coordinate(18, 5));
    EXPECT_EQ(m.at(10, 11), coordinate(10, 11));
    const Rect& dirty = m.engine.screen.dirty;
    EXPECT_EQ((std::vector{dirty.left, dirty.top, dirty.right, dirty.bottom}),
              (std::vector{110, 105, 118, 111}));
    m.hit(115, 110, 1);
    EXPECT_TRUE(m.shows_row(2));
    m.hit(116, 110, 1);  // moving on the same button changes nothing
    EXPECT_TRUE(m.shows_row(2));
    m.hit(115, 110, 0);
    EXPECT_TRUE(m.shows_row(1));
    m.hit(130, 120, 0);
    EXPECT_TRUE(m.untouched());
}

TEST(Highlight, EachLookShowsItsRowHoveredAndPressedOrNothing) {
    const struct {
        uint16_t flags;
        int32_t highlight;
        int hovered, pressed;  // look rows, -1 for the window's own pixels
    } cases[] = {{2, 20, -1, 1}, {4, 20, 1, 1}, {0xFFFF, 20, -1, -1}, {4, 21, -1, -1}};
    for (const auto& c : cases) {  // buffer 21 holds no picture
        SCOPED_TRACE(c.flags);
        HighlightMachine m(c.flags, c.highlight);
        EXPECT_EQ(m.hit(115, 110).button_id, 5);
        EXPECT_TRUE(c.hovered < 0 ? m.untouched() : m.shows_row(c.hovered));
        m.hit(115, 110, 1);
        EXPECT_TRUE(c.pressed < 0 ? m.untouched() : m.shows_row(c.pressed));
        m.hit(50, 50, 1);  // off the window: back to its own pixels
        EXPECT_TRUE(m.untouched());
    }
}

TEST(Highlight, ColourLookXorsCrosswiseWhileHovered) {
    HighlightMachine m(1, 3);  // colour 3: red 0x11, green 0x22, blue 0x33
    m.hit(111, 106);
    EXPECT_EQ(m.at(10, 5), uint32_t(0xCC ^ 0x33) << 16 | uint32_t(5 ^ 0x22) << 8 | (10 ^ 0x11));
    EXPECT_EQ(m.at(17, 10), uint32_t(0xCC ^ 0x33) << 16 | uint32_t(10 ^ 0x22) << 8 | (17 ^ 0x11));
    EXPECT_EQ(m.at(18, 10), coordinate(18, 10));
    m.hit(111, 100);
    EXPECT_TRUE(m.untouched());
    HighlightMachine no_colour(1, 9999);  // a missing colour draws nothing
    no_colour.hit(111, 106);
    EXPECT_TRUE(no_colour.untouched());
}

TEST(Highlight, PressLookFillsWithTheColourAndShiftsTheOldPixelsTwoRightAndDown) {
    HighlightMachine m(0, 3);
    m.hit(111, 106);
    EXPECT_TRUE(m.untouched());
    m.hit(111, 106, 1);
    EXPECT_TRUE(m.shows(10, 5, 8, 6, [](int x, int y) {
        return x < 2 || y < 2 ? 0x112233 : coordinate(8 + x, 3 + y);
    }));
    EXPECT_EQ(m.at(18, 11), coordinate(18, 11));
    m.hit(111, 106, 0);
    EXPECT_TRUE(m.untouched());
}

TEST(Highlight, AButtonCutByThePictureEdgeKeepsItsLookAligned) {
    HighlightMachine m(4);
    buf_get_regions(m.engine, 7)->entries[0] = button(5, 4, 36, 26, 8, 6, 20);
    m.hit(139, 129);
    EXPECT_TRUE(m.shows(36, 26, 4, 4, [](int x, int y) { return coordinate(x, 6 + y, 0x40); }));
    m.hit(120, 120);
    EXPECT_TRUE(m.untouched());
}

TEST(Highlight, AWindowResizedOrClosedUnderAHighlightIsNeverWrittenWithTheOldPixels) {
    HighlightMachine m(4);
    m.hit(115, 110);
    ASSERT_TRUE(m.shows_row(1));
    ASSERT_TRUE(win_resize(m.engine, m.win(1), 12, 8, true));
    fill_rgb(*m.window_picture(1), 0x123456);
    m.hit(300, 300);
    EXPECT_TRUE(m.shows(0, 0, 12, 8, [](int, int) { return 0x123456; }));
    EXPECT_EQ(m.engine.tracking.highlight.saved, nullptr);

    HighlightMachine closed(6);
    closed.hit(115, 110, 1);
    ASSERT_TRUE(win_close(closed.engine, 1));
    closed.hit(115, 110, 0);  // the screen now; nothing to put back
    EXPECT_EQ(closed.engine.tracking.highlight.saved, nullptr);
    EXPECT_EQ(closed.engine.tracking.highlight.last_window, 0);
}

}  // namespace
}  // namespace qln::test
