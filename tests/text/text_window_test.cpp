// Text in windows: clearing or repainting, window 0's offset, what becomes dirty.

#include <gtest/gtest.h>

#include "text/text_test_support.h"

namespace qln::test {
namespace {

// Window 2 of 40 x 30 at (100, 50), text area (4, 4) to (30, 20); picture
// font 1 (cells 6 x 8) draws 'A' to 'H'.
struct WindowTextMachine : CommandMachine {
    explicit WindowTextMachine(int32_t bcol) {
        set_test_colours(engine);
        Picture* sheet = glyph_sheet(engine, 1, 6, 8, 8, 1);
        EXPECT_TRUE(sheet && picfont_define(engine, 1, 1, *sheet, 6, 8, 8, 6, 'A', 'H', 0));
        Window t;
        t.px = 100;
        t.py = 50;
        t.tx_bcol = bcol;
        t.tx_ccol = 1;
        t.tx_px = t.tx_py = 4;
        t.tx_ex = 30;
        t.tx_ey = 20;
        EXPECT_TRUE(win_open(engine, 2, 40, 30, t));
        fill_rgb(*window_picture(2), kPaper);
        engine.screen.dirty = Rect{};
    }
};

TEST(WinText, ClearsTheTextAreaWithTheBackgroundThenShowsTheWindow) {
    WindowTextMachine m(2);
    ASSERT_TRUE(win_text(m.engine, 2, "@X1BC"));
    const Picture& p = *m.window_picture(2);
    EXPECT_TRUE(cell_at(p, 1, 4, 4, 6, 8));
    EXPECT_TRUE(cell_at(p, 2, 10, 4, 6, 8));
    // The text area's last row: paper, background from x 4 to 29, paper.
    EXPECT_EQ(picture_art(p, {{kPaper, '.'}, {kBack, 'B'}}, 0, 19, 40, 1),
              "....BBBBBBBBBBBBBBBBBBBBBBBBBB..........\n");
    EXPECT_EQ(pixel(p, 16, 4), kBack);
    EXPECT_EQ(m.win(2).Visible, 1);
    EXPECT_EQ(m.engine.screen.dirty.left, 100);
    EXPECT_EQ(m.engine.screen.dirty.right, 140);
    EXPECT_FALSE(win_text(m.engine, 3, "A"));
}

TEST(WinText, TransparentBackgroundRepaintsTheWholeWindowAndMarksIt) {
    // Frame kind 2 tiles picture buffer 4 (one pixel of kOther) over the
    // window; the painter itself marks nothing dirty.
    WindowTextMachine m(-1);
    Picture* tile = buf_new_picture(m.engine, 4, 1, 1);
    ASSERT_NE(tile, nullptr);
    set_pixel(*tile, 0, 0, kOther);
    Window& root = m.win(0);
    root.type = 0x200;
    root.pic_buf = 4;
    root.tx_bcol = -1;
    root.tx_ccol = 1;
    root.tx_px = root.tx_py = 2;
    root.tx_ex = root.tx_ey = 200;
    m.engine.screen.content_x = 3;
    m.engine.screen.content_y = 1;
    ASSERT_TRUE(win_text(m.engine, 0, "@X1A"));
    const Picture& screen = *m.window_picture(0);
    EXPECT_TRUE(cell_at(screen, 0, 5, 3, 6, 8));
    EXPECT_EQ(pixel(screen, 4, 3), kOther);
    EXPECT_EQ(pixel(screen, 639, 479), kOther);
    // The old text may have stood anywhere: all of window 0 reaches the screen.
    EXPECT_EQ(edges(m.engine.screen.dirty), (std::vector<int32_t>{0, 0, 640, 480}));

    m.win(2).type = 0x200;
    m.win(2).pic_buf = 4;
    ASSERT_TRUE(win_text(m.engine, 2, "@X1A"));
    EXPECT_EQ(pixel(*m.window_picture(2), 0, 0), kOther);
    EXPECT_TRUE(cell_at(*m.window_picture(2), 0, 4, 4, 6, 8));
}

TEST(WinTextAt, DrawsFromTheMovedStartWithoutClearingOrShowing) {
    WindowTextMachine m(2);
    Window& w = m.win(2);
    EXPECT_TRUE(win_text_at(m.engine, w, 3, 8, "@X1D", 7));
    const Picture& p = *m.window_picture(2);
    EXPECT_TRUE(cell_at(p, 3, 7, 12, 6, 8));
    EXPECT_EQ(pixel(p, 6, 12), kPaper);
    EXPECT_EQ(w.Visible, 0);
    // A start at or past a limit draws nothing; a missing font is an error.
    EXPECT_TRUE(win_text_at(m.engine, w, 26, 0, "@X1E", -1));
    EXPECT_TRUE(win_text_at(m.engine, w, 0, 16, "@X1E", -1));
    EXPECT_EQ(pixels_not(p, kPaper), 6 * 8);
    w.tx_font = 40;
    EXPECT_FALSE(win_text_at(m.engine, w, 0, 0, "@X1E", -1));
    EXPECT_EQ(m.engine.interp.error.error_number, 117u);
}

}  // namespace
}  // namespace qln::test
