// The frame painter: nine-cell frames, tiles, fills and the paint callbacks.

#include <gtest/gtest.h>

#include <vector>

#include "tables/tables.h"
#include "windows/window_test_support.h"

namespace qln::test {
namespace {

constexpr int32_t kFrameBuf = 3;

Picture* frame_picture(ScreenMachine& m, uint16_t w, uint16_t h) {
    Picture* p = buf_new_picture(m.engine, kFrameBuf, w, h);
    if (p) fill_coordinates(*p);
    return p;
}

// Opens window n framed by type from pic_buf and returns its picture.
const Picture* open_framed(ScreenMachine& m, int32_t n, int32_t w, int32_t h, uint16_t type,
                           int32_t pic_buf = kFrameBuf) {
    Window templ;
    templ.type = type;
    templ.pic_buf = pic_buf;
    EXPECT_TRUE(win_open(m.engine, n, w, h, templ));
    return m.win(n).picture;
}

TEST(FramePainter, NineCellFrameUsesThirdsAndPlacesTheLastCellFlush) {
    ScreenMachine m;
    ASSERT_NE(frame_picture(m, 48, 48), nullptr);
    // 16-pixel cells in a 40-pixel window: the last cell sits flush at 24 and
    // reads the third cell.
    const Picture* p = open_framed(m, 1, 40, 40, 0x0100);
    EXPECT_EQ(pixels_off(*p, 40, 40,
                         [](int32_t x, int32_t y) {
                             return coordinate(x < 24 ? x : x + 8, y < 24 ? y : y + 8);
                         }),
              0);
    EXPECT_EQ(p->alpha, nullptr);
}

TEST(FramePainter, NineCellFrameCarriesTheFrameAlpha) {
    ScreenMachine m;
    Picture* frame = frame_picture(m, 6, 6);
    ASSERT_NE(frame, nullptr);
    frame->alpha.reset(new uint8_t[36]);
    for (int i = 0; i < 36; ++i) frame->alpha[size_t(i)] = uint8_t(100 + i);
    // Cell size 2 from the low byte; a 5 x 3 window: columns 0, 2, 3 and rows 0, 1.
    const Picture* p = open_framed(m, 1, 5, 3, 0x0102);
    ASSERT_NE(p->alpha, nullptr);
    EXPECT_EQ(pixel(*p, 4, 2), coordinate(5, 5));
    EXPECT_EQ(pixel(*p, 2, 1), coordinate(2, 4));  // the last row overlaps the first
    EXPECT_EQ(p->alpha[size_t(2 * 5 + 4)], 100 + 5 * 6 + 5);
    EXPECT_EQ(p->alpha[0], 100);
}

TEST(FramePainter, FramesThatCannotBePaintedPaintNothing) {
    ScreenMachine m;
    ASSERT_NE(frame_picture(m, 48, 48), nullptr);
    // 16-pixel cells do not fit 10 rows.
    EXPECT_EQ(pixel(*open_framed(m, 1, 40, 10, 0x0100), 5, 5), 0u);
    EXPECT_FALSE(win_paint(m.engine, m.win(1)));
    // 20-pixel cells from a 48-pixel frame read only what it has: the third would start at 40.
    const Picture* big = open_framed(m, 2, 60, 60, 0x0114);
    EXPECT_EQ(pixel(*big, 0, 0), coordinate(0, 0));
    EXPECT_EQ(pixel(*big, 59, 59), 0u);
    // No frame buffer: nothing painted, the painter succeeds.
    EXPECT_EQ(pixel(*open_framed(m, 4, 10, 10, 0x0100, -1), 3, 3), 0u);
    EXPECT_TRUE(win_paint(m.engine, m.win(4)));
    // A buffer that holds no picture ends the painter.
    ASSERT_TRUE(buf_new_raw(m.engine, 4, 16));
    open_framed(m, 5, 10, 10, 0x0200, 4);
    EXPECT_FALSE(win_paint(m.engine, m.win(5)));
    // A frame too small for thirds is no frame.
    ASSERT_NE(frame_picture(m, 2, 2), nullptr);
    open_framed(m, 3, 8, 8, 0x0100);
    EXPECT_FALSE(win_paint(m.engine, m.win(3)));
}

TEST(FramePainter, TilesRepeatTheFrameAcrossAndDown) {
    ScreenMachine m;
    ASSERT_NE(frame_picture(m, 16, 10), nullptr);
    EXPECT_EQ(pixels_off(*open_framed(m, 1, 40, 25, 0x0200), 40, 25,
                         [](int32_t x, int32_t y) { return coordinate(x % 16, y % 10); }),
              0);
    // A frame at least as tall as the window is laid side by side only.
    ASSERT_NE(frame_picture(m, 16, 30), nullptr);
    EXPECT_EQ(pixel(*open_framed(m, 2, 40, 25, 0x0200), 39, 24), coordinate(7, 24));
}

TEST(FramePainter, FilledModeTakesTheColourAndMarksTheWindow) {
    ScreenMachine m;
    colour_set(m.engine, 5, 0xCC, 0x88, 0x44);
    ASSERT_TRUE(m.open(1, 3, 2, 100, 100));
    ASSERT_TRUE(win_show(m.engine, 1, true));
    screen_update(m.engine);
    m.win(1).type = 0x0305;
    ASSERT_TRUE(win_paint(m.engine, m.win(1)));
    EXPECT_EQ(picture_art(*m.win(1).picture, {{0xCC8844, '#'}}), "###\n###\n");
    EXPECT_EQ(edges(m.engine.screen.dirty), (std::vector<int32_t>{100, 100, 103, 102}));
}

TEST(FramePainter, PaintCallbacksSeeTheWindowBeforeAndAfter) {
    ScreenMachine m;
    // Copies the seven registers into v3[phase * 8 + 1 ...] and counts its runs in v3[0].
    Scenario* callback = m.load(R"(
    eval v3[r[1] * 8 + 1] = r[1]
    eval v3[r[1] * 8 + 2] = r[2]
    eval v3[r[1] * 8 + 3] = r[3]
    eval v3[r[1] * 8 + 4] = r[4]
    eval v3[r[1] * 8 + 5] = r[5]
    eval v3[r[1] * 8 + 6] = r[6]
    eval v3[r[1] * 8 + 7] = r[7]
    eval v3[0] += 1
    end
)",
                                "paint");
    DataBuffer* slot = buf_entry(m.engine, 6);
    ASSERT_TRUE(callback && slot);
    slot->type = BufType::Scenario;
    slot->size = 1;
    slot->scenario = callback;
    ASSERT_TRUE(m.start("    end\n"));
    Window templ;
    templ.px = 30;
    templ.py = 40;
    templ.call_buf = 6;
    templ.bt_num = 3;
    ASSERT_TRUE(win_open(m.engine, 2, 12, 9, templ));
    EXPECT_EQ(m.var(3, 0), 2);
    for (int32_t phase = 0; phase < 2; ++phase) {
        std::vector<int32_t> seen;
        for (int32_t i = 1; i <= 7; ++i) seen.push_back(m.var(3, phase * 8 + i));
        EXPECT_EQ(seen, (std::vector<int32_t>{phase, 2, 30, 40, 12, 9, 3}));
    }
    // A frame buffer without a picture: only the first callback runs.
    m.win(2).pic_buf = 7;
    ASSERT_TRUE(buf_new_raw(m.engine, 7, 4));
    EXPECT_FALSE(win_paint(m.engine, m.win(2)));
    EXPECT_EQ(m.var(3, 0), 3);
}

}  // namespace
}  // namespace qln::test
