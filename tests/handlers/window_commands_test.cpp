// The window and button commands as scenarios: records, registers, layers, pixels, errors.

#include <gtest/gtest.h>

#include <vector>

#include "handlers/window_commands.h"
#include "tables/tables.h"
#include "windows/command_args.h"
#include "windows/window_test_support.h"

namespace qln::test {
namespace {

void centred_view(Settings& s) {  // content offset (20, 10): x and y apart
    s.view_width = 600;
    s.view_height = 460;
}

// The record's fields in the order of the window keys, then Visible.
std::vector<int32_t> fields(const Window& w) {
    return {w.px,       w.py,       w.sx(),   w.sy(),   w.type,    w.pic_buf, w.fwidth,
            w.transp,   w.call_buf, w.entryl, w.bt_num, w.bt_buff, w.bt_bpos, w.tx_px,
            w.tx_py,    w.tx_ex,    w.tx_ey,  w.tx_vt,  w.tx_ccol, w.tx_bcol, w.tx_font,
            w.tx_ftype, w.tx_scol,  w.tx_ssx, w.tx_ssy, w.Visible};
}

TEST(WinOpen, DefaultsEveryKeyWithItsWidthWindowZeroRefusedAndReopeningReplaces) {
    CommandMachine m(centred_view);
    ASSERT_TRUE(m.go(R"(
    win_open 1, 0
    end
)"));
    // No pairs: a hidden default window at the content offset, not in the layer list.
    EXPECT_EQ(fields(m.win(1)),
              (std::vector<int32_t>{20, 10, 24, 24, 0,  -1, 8, 255, -1, 0, 0, 0, 0,
                                    0,  0,  24, 24, 16, 15, 0, 0,   0,  0, 0, 0, 0}));
    EXPECT_EQ(m.win(0).next, kNoWindow);
    ASSERT_TRUE(m.go(R"(
    win_open 3, 1, px: 5, py: 6, width: 40, height: 30, type: 0x10002, pic_buf: -7, fwidth: 0x10003, transp: 0x1FE, call_buf: 70000, entryl: 0x10004, bt_num: 0x10005, bt_buff: 0x10006, bt_bpos: 0x10007, tx_px: 1, tx_py: 2, tx_ex: 0, tx_ey: 25, tx_vt: 18, tx_ccol: 3, tx_bcol: -1, tx_font: 0x10008, tx_ftype: 0x10002, 23: 99, tx_scol: 4, tx_ssx: -2, tx_ssy: 70000, 0: 1, 27: 2, 0x7E: 3, 0x80: 4, 0xFF: 5
    win_open 0, 1, width: 5
    win_open 2, 1, width: 5, height: 5
    win_open 2, 0, width: 7, height: 3
    end
)"));
    // Each field keeps only its own width; tx_ex given as 0 is the width.
    EXPECT_EQ(fields(m.win(3)),
              (std::vector<int32_t>{25, 16, 40, 30, 2,  -7, 3,  0xFE, 70000, 4, 5,  6,     7,
                                    1,  2,  40, 25, 18, 3,  -1, 8,    2,     4, -2, 70000, 1}));
    EXPECT_EQ(m.win(0).next, 3);  // shown: on top of window 0
    EXPECT_EQ(m.errors(), (std::vector<std::string>{"106 win_no = 0"}));
    EXPECT_EQ(m.win(0).sx(), 640);
    EXPECT_EQ(m.win(2).sx(), 7);
    EXPECT_EQ(m.win(2).Visible, 0);
}

TEST(WinInfo, ReportsTheRecordRelativeToTheContentOffsetAndAClosedWindowSetsOnlyR5) {
    CommandMachine m(centred_view);
    ASSERT_TRUE(m.go(R"(
    win_open 4, 1, px: 7, py: 9, width: 30, height: 20, type: 0x0002, pic_buf: 11, fwidth: 3, transp: 128, call_buf: 12, entryl: 13, bt_num: 14, bt_buff: 15, bt_bpos: 16, tx_px: 17, tx_py: 18, tx_ex: 19, tx_ey: 20, tx_vt: 21, tx_ccol: 22, tx_bcol: 23, tx_font: 24, tx_ftype: 25, tx_scol: 26, tx_ssx: 27, tx_ssy: 28
    win_info 4
    end
)"));
    EXPECT_EQ(m.regs(1, 27),
              (std::vector<int32_t>{7,  9,  30, 20, 1,  2,  3, 11, 128, 12, 13, 15, 14, 16,
                                    22, 23, 26, 21, 24, 25, 0, 27, 28,  17, 18, 19, 20}));
    ASSERT_TRUE(m.go("    win_info 0\n    end\n"));
    EXPECT_EQ(m.regs(1, 5), (std::vector<int32_t>{0, 0, 640, 480, 1}));
    for (uint32_t n = 1; n <= 27; ++n) result_set(m.engine, n, 1000 + int32_t(n));
    ASSERT_TRUE(m.go("    win_info 6\n    win_info 70000\n    end\n"));
    EXPECT_TRUE(m.platform.errors.empty());
    for (uint32_t n = 1; n <= 27; ++n) EXPECT_EQ(m.reg(n), n == 5 ? 2 : 1000 + int32_t(n)) << n;
}

TEST(WinMoveResize, AddTheContentOffsetAndStayOnScreen) {
    CommandMachine m(centred_view);
    ASSERT_TRUE(m.go(R"(
    win_open 1, 1, width: 10, height: 10
    win_move 1, 5, 6
    win_info 1
    end
)"));
    EXPECT_EQ(m.win(1).px, 25);
    EXPECT_EQ(m.win(1).py, 16);
    EXPECT_EQ(m.regs(1, 2), (std::vector<int32_t>{5, 6}));
    // A new size moves the window back on screen.
    ASSERT_TRUE(
        m.go("    win_move 1, 0x7FFFFFFF, -0x7FFFFFFF\n    win_move 3, 0, 0\n"
             "    win_resize 1, 100, 0\n    win_resize 8, 10, 10\n    end\n"));
    EXPECT_EQ(m.win(1).sx(), 100);
    EXPECT_EQ(m.win(1).sy(), 10);
    EXPECT_EQ(m.win(1).px, 540);
    EXPECT_EQ(m.errors(), (std::vector<std::string>{"106 win_no = 3", "106 win_no = 8"}));
}

TEST(WinShowHideClose, LayersAndErrors) {
    CommandMachine m;
    ASSERT_TRUE(m.go("    win_open 1, 1\n    win_open 2, 1\n    win_show 1\n    end\n"));
    EXPECT_EQ(m.win(0).next, 2);
    EXPECT_EQ(m.win(2).next, 1);  // shown again: on top
    ASSERT_TRUE(m.go(R"(
    win_hide 2
    win_close 1
    win_close 0
    win_hide 1
    win_show 1
    win_close 1
    win_close 99
    end
)"));
    EXPECT_EQ(m.win(0).next, kNoWindow);
    EXPECT_EQ(m.win(1).picture, nullptr);
    EXPECT_NE(m.win(2).picture, nullptr);
    EXPECT_EQ(m.errors(), (std::vector<std::string>{"106 win_no = 1", "106 win_no = 1",
                                                    "106 win_no = 1", "106 win_no = 99"}));
}

TEST(WinRepaintAndTile, RepaintRunsTheFramePainterAgainAndTilesAreClippedAtTheEdges) {
    CommandMachine m;
    Picture* tile = buf_new_picture(m.engine, 4, 2, 2);
    ASSERT_NE(tile, nullptr);
    fill_coordinates(*tile);
    ASSERT_NE(buf_new_picture(m.engine, 5, 0, 3), nullptr);
    ASSERT_TRUE(m.go(R"(
    col_set 5, 0x44, 0xCC, 0x88
    win_open 1, 0, width: 3, height: 2, type: 0x0305
    win_open 2, 1, width: 5, height: 3
    win_tile 2, 4
    win_tile 2, 5
    win_tile 2, 6
    win_tile 3, 4
    end
)"));
    Picture* w = m.window_picture(1);
    fill_rgb(*w, 0x010203);
    ASSERT_TRUE(m.go("    win_repaint 1, 12345\n    win_repaint 4, 0\n    end\n"));
    EXPECT_EQ(picture_art(*w, {{0xCC8844, '#'}}), "###\n###\n");
    EXPECT_EQ(pixels_off(*m.window_picture(2), 5, 3,
                         [](int32_t x, int32_t y) { return coordinate(x % 2, y % 2); }),
              0);
    EXPECT_EQ(m.errors(),
              (std::vector<std::string>{"112 buf_no = 6", "106 win_no = 3", "106 win_no = 4"}));
}

TEST(WinSetAndFields, KeysFiveToTwentySixButtonCountLayoutPinsAndOpacity) {
    CommandMachine m;
    ASSERT_TRUE(m.go("    win_open 3, 1, px: 4, py: 5, width: 10, height: 8\n    end\n"));
    m.engine.screen.dirty = Rect{};
    ASSERT_TRUE(m.go(R"(
    win_set 3, px: 100, py: 100, width: 50, height: 50, type: 0x10305, pic_buf: 3, fwidth: 0, transp: 0x180, call_buf: 4, entryl: 5, bt_num: 6, bt_buff: 7, bt_bpos: 8, tx_px: 9, tx_py: 10, tx_ex: 0, tx_ey: 12, tx_vt: 13, tx_ccol: 14, tx_bcol: 15, tx_font: 16, tx_ftype: 17, 23: 5, tx_scol: 18, tx_ssx: 19, tx_ssy: 20, 40: 1
    win_set 9, tx_vt: 1
    end
)"));
    // Straight into the record: place and size stay; tx_ex has no default.
    EXPECT_EQ(fields(m.win(3)),
              (std::vector<int32_t>{4, 5,  10, 8,  0x0305, 3,  0,  0x80, 4,  5,  6,  7,  8,
                                    9, 10, 0,  12, 13,     14, 15, 16,   17, 18, 19, 20, 1}));
    EXPECT_TRUE(m.engine.screen.dirty.empty());
    ASSERT_TRUE(m.go(R"(
    win_open 1, 1, px: 10, py: 20, width: 4, height: 3
    win_open 2, 0
    win_btn_num 1, 0x10009
    win_list_layout 1, 1, 2, 3, 4, 5, 6, 7
    win_list_layout 1, 8, 9, 10, 11, 12, 0, 14
    win_pin 1
    eval v3[0] = r[1]
    win_pin 2
    eval v3[1] = r[1]
    win_unpin 7
    eval v3[2] = r[1]
    win_btn_num 7, 1
    win_list_layout 7, 1, 1, 1, 1, 1, 1, 1
    end
)"));
    const Window& w = m.win(1);
    // Rows 0 is stored, then refused.
    EXPECT_EQ((std::vector<int32_t>{w.bt_num, w.sel_vt, w.sel_wd, w.sel_my, w.sel_mx, w.sel_top,
                                    w.sel_rows, w.sel_gap, w.pinned}),
              (std::vector<int32_t>{9, 8, 9, 10, 11, 12, 0, 14, 1}));
    EXPECT_EQ(m.vars(3, 0, 2), (std::vector<int32_t>{0, 2, 1}));
    ASSERT_TRUE(m.go("    win_unpin 1\n    win_transp 7, 1\n    end\n"));
    EXPECT_EQ(m.reg(1), 0);
    EXPECT_EQ(w.pinned, 0);
    EXPECT_EQ(m.errors(), (std::vector<std::string>{"106 win_no = 9", "116 ", "106 win_no = 7",
                                                    "106 win_no = 7", "106 win_no = 7"}));
}

TEST(WinTransp, KeepsTheLowByteAndRecomposesTheWindow) {
    CommandMachine m;
    ASSERT_TRUE(m.go(R"(
    col_set 5, 0, 200, 0
    pic_fill 0, 0, 0, 639, 479, 0, 0, -1
    win_open 1, 1, px: 10, py: 20, width: 4, height: 3, type: 0x0305
    end
)"));
    const Picture& screen = *m.engine.screen.screen;
    EXPECT_EQ(pixel(screen, 10, 20), 0xC80000u);
    m.engine.screen.dirty = Rect{};
    EXPECT_EQ(cmd_win_transp(m.engine, args_of(1, 0x180)), 0);
    EXPECT_EQ(m.win(1).transp, 0x80);
    EXPECT_EQ(edges(m.engine.screen.dirty), (std::vector<int32_t>{10, 20, 14, 23}));
    screen_update(m.engine);
    // 200 at opacity 128 over black: floor((128 * 200 + 128) / 255) = 100.
    EXPECT_EQ(pixel(screen, 13, 22), 0x640000u);
    EXPECT_EQ(pixel(screen, 14, 22), 0u);
}

TEST(Buttons, DefineAndEnableEntriesOfARegionList) {
    CommandMachine m;
    ASSERT_TRUE(buf_new_regions(m.engine, 3, 2));
    ASSERT_TRUE(buf_new_raw(m.engine, 4, 8));
    ASSERT_TRUE(m.go(R"(
    btn_def 3, 1, 42, 10, 20, 30, 40, 0x10007, -9
    btn_enable 3, 1, 5
    end
)"));
    const RegionList* list = buf_get_regions(m.engine, 3);
    ASSERT_NE(list, nullptr);
    const Region& r = list->entries[1];
    EXPECT_EQ((std::vector<int32_t>{r.id, r.left, r.top, r.right, r.bottom, r.highlight, r.flags}),
              (std::vector<int32_t>{42, 10, 20, 40, 60, -9, 0x0107}));
    ASSERT_TRUE(m.go(R"(
    btn_enable 3, 1, 0
    btn_def 3, 0, 1, 0, 0, 1, 1, 0xFFFF, 0
    btn_enable 3, 0, 1
    btn_def 4, 0, 1, 0, 0, 1, 1, 0, 0
    btn_def 3, 2, 1, 0, 0, 1, 1, 0, 0
    btn_enable 3, -1, 0
    btn_enable 9, 0, 0
    end
)"));
    EXPECT_EQ(r.flags, 0x0007);
    EXPECT_EQ(list->entries[0].flags, 0xFFFF);
    EXPECT_EQ(m.errors(), (std::vector<std::string>{"115 buf_no = 4", "117 buf_no = 3, pos = 2",
                                                    "117 buf_no = 3, pos = -1", "115 buf_no = 9"}));
}

}  // namespace
}  // namespace qln::test
