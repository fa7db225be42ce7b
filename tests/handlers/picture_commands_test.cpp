// The colour and picture commands as scenarios: exact pixels, result registers, errors.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/command_table.h"
#include "support/temp_dir.h"
#include "tables/tables.h"
#include "windows/command_args.h"
#include "windows/window_test_support.h"

namespace qln::test {
namespace {

constexpr uint32_t kKey = 0xCC8844;  // red 0xCC, green 0x88, blue 0x44

void offset_view(Settings& s) {  // content offset (20, 20)
    s.view_width = 600;
    s.view_height = 440;
}

// A picture buffer of w x h whose pixels tell their coordinates.
Picture* coordinate_buffer(CommandMachine& m, int32_t buf_no, uint16_t w, uint16_t h,
                           uint32_t tag = 0) {
    Picture* p = buf_new_picture(m.engine, buf_no, w, h);
    if (p) fill_coordinates(*p, tag);
    return p;
}

TEST(PicFillAndInvert, BufferCornersInEitherOrderClippedAndAlphaOnlyWhenAsked) {
    CommandMachine m;
    constexpr uint32_t kGround = 0x123456;
    Picture* filled = buf_new_picture(m.engine, 3, 4, 3);
    Picture* inverted = buf_new_picture(m.engine, 4, 4, 3);
    ASSERT_TRUE(filled && inverted);
    fill_rgb(*filled, kGround);
    fill_rgb(*inverted, kGround);
    filled->alpha.reset(new uint8_t[12]());
    // Corners reversed with alpha 77, then three fills without alpha of which
    // only the last reaches the picture: all of row 1.
    ASSERT_TRUE(m.go(R"(
    col_set 5, 0x44, 0xCC, 0x88
    pic_fill 3, 3, 2, 1, 1, 5, 1, 77
    pic_fill 3, 10, 10, 20, 20, 5, 1, -1
    pic_fill 3, -5, -5, -1, 100, 5, 1, -1
    pic_fill 3, 0x7FFFFFFF, 1, -0x7FFFFFFF, 1, 5, 1, -1
    pic_invert 4, 2, 0, 1, 1, 1
    pic_invert 4, -9, 2, 99, 9, 1
    end
)"));
    EXPECT_TRUE(m.platform.errors.empty());
    EXPECT_EQ(picture_art(*filled, {{kGround, '.'}, {kKey, '#'}}), "....\n####\n.###\n");
    EXPECT_EQ(std::vector<uint8_t>(filled->alpha.get(), filled->alpha.get() + 12),
              (std::vector<uint8_t>{0, 0, 0, 0, 0, 77, 77, 77, 0, 77, 77, 77}));
    EXPECT_EQ(picture_art(*inverted, {{kGround, '.'}, {kGround ^ 0xFFFFFF, '#'}}),
              ".##.\n.##.\n####\n");
}

TEST(PicFillAndInvert, WindowTargetsGoThroughTheWindowAndItsOffset) {
    CommandMachine m(offset_view);
    ASSERT_TRUE(m.go(R"(
    col_set 5, 0x44, 0xCC, 0x88
    win_open 1, 0, width: 3, height: 2
    pic_fill 1, 0, 0, 2, 1, 0, 0, -1
    pic_fill 1, 1, 1, 1, 1, 5, 0, -1
    pic_fill 0, 0, 0, 0, 0, 5, 0, -1
    win_open 2, 0, width: 2, height: 2
    pic_fill 2, 0, 0, 1, 1, 0, 0, -1
    pic_invert 2, 1, 1, 5, 5, 0
    end
)"));
    EXPECT_EQ(picture_art(*m.window_picture(1), {{0, '.'}, {kKey, '#'}}), "...\n.#.\n");
    EXPECT_EQ(picture_art(*m.window_picture(2), {{0, '.'}, {0xFFFFFF, '#'}}), "..\n.#\n");
    EXPECT_EQ(pixel(*m.window_picture(0), 20, 20), kKey);  // at the content offset
}

TEST(BufGrab, CopiesTheWindowRectangleWithoutOffsetAndBlackOutside) {
    CommandMachine m(offset_view);
    ASSERT_TRUE(m.go("    win_open 1, 0, width: 4, height: 3\n    end\n"));
    fill_coordinates(*m.window_picture(1));
    fill_coordinates(*m.window_picture(0), 1);
    ASSERT_TRUE(m.go("    buf_grab 2, 1, 1, 1, 4, 3\n    buf_grab 3, 0, 0, 0, 2, 1\n    end\n"));
    const Picture* g = buf_get_picture(m.engine, 2);
    ASSERT_TRUE(g && g->width == 4 && g->height == 3);
    EXPECT_EQ(pixels_off(*g, 4, 3,
                         [](int32_t x, int32_t y) {
                             return x + 1 < 4 && y + 1 < 3 ? coordinate(x + 1, y + 1) : 0u;
                         }),
              0);
    // Window 0 is grabbed from its own top-left: no content offset.
    const Picture* s = buf_get_picture(m.engine, 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(pixels_off(*s, 2, 1, [](int32_t x, int32_t y) { return coordinate(x, y, 1); }), 0);
}

TEST(WinDrawBufAndCell, DrawTheWholePictureOrOneCellAtThePosition) {
    CommandMachine m;
    ASSERT_NE(coordinate_buffer(m, 4, 2, 2, 0x10), nullptr);
    ASSERT_NE(coordinate_buffer(m, 6, 6, 4), nullptr);
    // Cells 2 x 3, three per row: width, height and count per row all differ.
    ASSERT_TRUE(m.go(R"(
    win_open 1, 1, width: 4, height: 3
    pic_fill 1, 0, 0, 3, 2, 0, 0, -1
    win_draw_buf 4, 1, 1, 1, 0, 255, 0, 0
    win_draw_buf 5, 1, 0, 0, 0, 255, 0, 0
    win_draw_buf 4, 8, 0, 0, 0, 255, 0, 0
    buf_cells 6, 2, 3, 3
    win_open 2, 0, width: 2, height: 3
    win_draw_cell 6, 4, 2, 0, 0, 255, 0, 0
    end
)"));
    const Picture& w = *m.window_picture(1);
    EXPECT_EQ(pixels_off(w, 4, 3,
                         [](int32_t x, int32_t y) {
                             const bool in = x >= 1 && x <= 2 && y >= 1;
                             return in ? coordinate(x - 1, y - 1, 0x10) : 0u;
                         }),
              0);
    // Cell 4 is column 1 of row 1: source (2, 3), cut by the sheet's last row.
    EXPECT_EQ(pixels_off(*m.window_picture(2), 2, 1,
                         [](int32_t x, int32_t y) { return coordinate(x + 2, y + 3); }),
              0);
    EXPECT_EQ(m.errors(), (std::vector<std::string>{"112 buf_no = 5", "106 win_no = 8"}));
}

TEST(PictureCommands, MissingTargetsAndCellsAreErrorsOfTheirKind) {
    CommandMachine m;
    ASSERT_TRUE(buf_new_raw(m.engine, 7, 4));
    ASSERT_NE(coordinate_buffer(m, 4, 6, 4), nullptr);
    ASSERT_TRUE(m.go(R"(
    pic_fill 7, 0, 0, 1, 1, 5, 1, -1
    pic_fill 3, 0, 0, 1, 1, 5, 0, -1
    pic_invert 7, 0, 0, 1, 1, 2
    pic_invert 3, 0, 0, 1, 1, 0
    buf_grab 2, 9, 0, 0, 2, 2
    buf_grab 9999, 0, 0, 0, 2, 2
    buf_grab 2, 0, 0, 0, -1, 2
    buf_grab 2, 0, 0, 0, 2, 65536
    buf_grab 2, 0, 0, 0, 0, 0
    win_draw_cell 4, 0, 0, 0, 0, 255, 0, 0
    buf_cells 4, 3, 0, 2
    win_draw_cell 4, 0, 0, 0, 0, 255, 0, 0
    buf_cells 4, 3, 2, 2
    win_draw_cell 4, 0, 6, 0, 0, 255, 0, 0
    win_draw_cell 4, 0x7FFFFFFF, 0, 0, 0, 255, 0, 0
    win_draw_cell 5, 0, 0, 0, 0, 255, 0, 0
    buf_cells 5, 1, 1, 1
    end
)"));
    EXPECT_EQ(m.errors(),
              (std::vector<std::string>{"112 buf_no = 7", "106 win_no = 3", "112 buf_no = 7",
                                        "106 win_no = 3", "106 win_no = 9", "112 buf_no = 9999",
                                        "112 buf_no = 2", "112 buf_no = 2", "113 buf_no = 4",
                                        "113 buf_no = 4", "106 win_no = 6", "112 buf_no = 5",
                                        "112 buf_no = 5"}));
    const Picture* empty = buf_get_picture(m.engine, 2);  // a 0 x 0 grab is no error
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->width, 0);
}

TEST(ColourAndPixelCommands, ColoursGoInAsBlueRedGreenAndComeOutAsRegisters) {
    CommandMachine m(offset_view);
    ASSERT_TRUE(m.go("    win_open 1, 0, width: 3, height: 2\n    end\n"));
    set_pixel(*m.window_picture(1), 2, 1, kKey);
    set_pixel(*m.window_picture(0), 0, 0, 0x010203);
    // col_get gives a colour's channels and its Windows colour value in R4.
    ASSERT_TRUE(m.go(R"(
    col_set 5, 10, 20, 30
    col_get 5
    eval v3[1] = r[1] + r[2] * 1000 + r[3] * 1000000
    eval v3[2] = r[4]
    col_set 7, 0x1FF, 0x102, -1
    col_get 7
    eval v3[0] = r[4]
    col_get 300
    eval v3[3] = r[1] + r[2] + r[3] + r[4]
    win_pixel 1, 2, 1
    eval v3[4] = r[1] * 65536 + r[2] * 256 + r[3]
    win_pixel 0, 0, 0
    eval v3[5] = r[1] * 65536 + r[2] * 256 + r[3]
    win_pixel 1, 3, 0
    eval v3[6] = r[1] + r[2] + r[3]
    win_pixel 2, 0, 0
    win_pixel 1, -1, 0
    end
)"));
    // win_pixel: blue, red, green; no content offset for window 0; -1 outside.
    EXPECT_EQ(m.vars(3, 0, 6),
              (std::vector<int32_t>{0xFFFF02, 30020010, 663060, 0, 0x44CC88, 0x030102, -3}));
    EXPECT_EQ(m.reg(1), -1);
    EXPECT_EQ(m.errors(), (std::vector<std::string>{"106 win_no = 2"}));
}

TEST(PicDraw, ModesPickWindowsOrBuffersOnEachSideAndErrorsNameEachSide) {
    CommandMachine m;
    ASSERT_NE(coordinate_buffer(m, 4, 2, 2, 0x10), nullptr);
    Picture* dst = buf_new_picture(m.engine, 5, 3, 3);
    Picture* stretched = buf_new_picture(m.engine, 6, 3, 2);
    Picture* dot = buf_new_picture(m.engine, 8, 1, 1);
    ASSERT_TRUE(dst && stretched && dot);
    fill_rgb(*dst, 0);
    fill_rgb(*stretched, 0);
    set_pixel(*dot, 0, 0, kKey);
    ASSERT_TRUE(m.go(R"(
    win_open 1, 0, width: 3, height: 3
    win_open 2, 0, width: 3, height: 3
    pic_fill 1, 0, 0, 2, 2, 0, 0, -1
    pic_fill 2, 0, 0, 2, 2, 0, 0, -1
    pic_draw 2, 4, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0
    pic_draw 0, 1, 2, 0, 0, 0, 0, 1, 1, 2, 2, 0, 255, 0, 0
    pic_draw 1, 2, 5, 1, 0, 0, 0, 0, 0, 1, 1, 0, 255, 0, 0
    pic_draw 3, 4, 5, 0, 2, 0, 0, 1, 0, 1, 1, 0, 255, 0, 0
    pic_draw 3, 8, 6, 0, 0, 2, 2, 0, 0, 1, 1, 0, 255, 0, 0
    pic_draw 0, 7, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0
    pic_draw 2, 7, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0
    pic_draw 2, 4, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0
    pic_draw 1, 0, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0
    end
)"));
    const Picture& w1 = *m.window_picture(1);
    const Picture& w2 = *m.window_picture(2);
    EXPECT_EQ(pixel(w1, 1, 1), coordinate(0, 0, 0x10));  // mode 2: buffer into window
    EXPECT_EQ(pixel(w1, 2, 2), coordinate(1, 1, 0x10));
    EXPECT_EQ(pixel(w2, 0, 0), coordinate(0, 0, 0x10));  // mode 0: window into window
    EXPECT_EQ(pixel(w2, 1, 1), coordinate(1, 1, 0x10));
    EXPECT_EQ(pixel(w2, 2, 2), 0u);
    EXPECT_EQ(pixel(*dst, 1, 0), coordinate(0, 0, 0x10));  // mode 1: window into buffer
    EXPECT_EQ(pixel(*dst, 0, 2), coordinate(1, 0, 0x10));  // mode 3: buffer into buffer
    EXPECT_EQ(pixel(*dst, 0, 0), 0u);
    EXPECT_EQ(picture_art(*stretched, {{0, '.'}, {kKey, '#'}}), "##.\n##.\n");
    EXPECT_EQ(m.errors(), (std::vector<std::string>{"106 win_no = 7", "112 buf_no = 7",
                                                    "106 win_no = 9", "112 buf_no = 7"}));
}

TEST(AlphaKey, KeyColourBecomesTransparentMinusOneDropsThePlaneAndShownWindowsAreMarked) {
    CommandMachine m;
    Picture* p = buf_new_picture(m.engine, 4, 3, 1);
    Picture* plain = buf_new_picture(m.engine, 6, 1, 1);
    ASSERT_TRUE(p && plain);
    set_pixel(*p, 0, 0, kKey);
    set_pixel(*p, 1, 0, kKey ^ 1);  // one bit off is not the key
    set_pixel(*p, 2, 0, kKey);
    ASSERT_TRUE(m.go(R"(
    col_set 5, 0x44, 0xCC, 0x88
    col_set 6, 0x11, 0x33, 0x22
    alpha_key 4, 5, 0
    alpha_key 6, -1, 0
    pic_fill 0, 0, 0, 639, 479, 6, 0, -1
    win_open 1, 1, px: 10, py: 20, width: 3, height: 2, type: 0x0305
    win_open 2, 0, px: 50, py: 60, width: 3, height: 2
    end
)"));
    ASSERT_NE(p->alpha, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(p->alpha.get(), p->alpha.get() + 3),
              (std::vector<uint8_t>{0, 255, 0}));
    EXPECT_EQ(plain->alpha, nullptr);
    const Picture& screen = *m.engine.screen.screen;
    EXPECT_EQ(pixel(screen, 11, 21), kKey);
    m.engine.screen.dirty = Rect{};
    EXPECT_EQ(cmd_alpha_key(m.engine, args_of(2, 5, 1)), 0);  // hidden: nothing to mark
    EXPECT_EQ(cmd_alpha_key(m.engine, args_of(1, -1, 1)), 0);
    EXPECT_TRUE(m.engine.screen.dirty.empty());
    EXPECT_NE(m.window_picture(2)->alpha, nullptr);
    EXPECT_EQ(cmd_alpha_key(m.engine, args_of(1, 5, 1)), 0);
    EXPECT_EQ(edges(m.engine.screen.dirty), (std::vector<int32_t>{10, 20, 13, 22}));
    const Picture* w = m.window_picture(1);
    ASSERT_NE(w->alpha, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(w->alpha.get(), w->alpha.get() + 6), std::vector<uint8_t>(6, 0));
    screen_update(m.engine);
    EXPECT_EQ(picture_art(screen, {{0x332211, '.'}}, 10, 20, 3, 2), "...\n...\n");
    ASSERT_TRUE(
        m.go("    alpha_key 4, -5, 0\n    alpha_key 3, 5, 1\n    alpha_key 3, 5, 0\n"
             "    end\n"));
    EXPECT_EQ(p->alpha, nullptr);
    EXPECT_EQ(m.errors(), (std::vector<std::string>{"106 win_no = 3", "112 buf_no = 3"}));
}

TEST(AlphaCopy, BlueBytesOfTheSourceBecomeTheTargetsAlpha) {
    CommandMachine m;
    ASSERT_NE(coordinate_buffer(m, 4, 3, 2, 0x20), nullptr);  // blue = x + 0x20
    ASSERT_NE(coordinate_buffer(m, 5, 3, 2), nullptr);
    ASSERT_NE(coordinate_buffer(m, 6, 2, 3), nullptr);
    ASSERT_TRUE(buf_new_raw(m.engine, 7, 6));
    ASSERT_TRUE(m.go(R"(
    win_open 1, 0, width: 3, height: 2
    alpha_copy 5, 4, 0
    alpha_copy 1, 4, 1
    alpha_copy 5, 6, 0
    alpha_copy 7, 4, 0
    alpha_copy 5, 7, 0
    alpha_copy 2, 4, 1
    end
)"));
    const Picture* p = buf_get_picture(m.engine, 5);
    const Picture* w = m.window_picture(1);
    ASSERT_TRUE(p->alpha && w->alpha);
    const std::vector<uint8_t> blues = {0x20, 0x21, 0x22, 0x20, 0x21, 0x22};
    EXPECT_EQ(std::vector<uint8_t>(p->alpha.get(), p->alpha.get() + 6), blues);
    EXPECT_EQ(std::vector<uint8_t>(w->alpha.get(), w->alpha.get() + 6), blues);
    EXPECT_EQ(m.errors(), (std::vector<std::string>{"118 ", "112 buf_no = 7", "112 buf_no = 7",
                                                    "106 win_no = 2"}));
}

TEST(PicturesFromFiles, WinLoadDrawsAlphaLoadTakesBlueBytesAndBadFilesAreReported) {
    TempDir dir;
    CommandMachine m;
    ASSERT_NE(coordinate_buffer(m, 8, 2, 2, 0x30), nullptr);
    dir.write("junk.bmp", std::vector<uint8_t>(40, 0x5A));
    ASSERT_NE(coordinate_buffer(m, 4, 2, 2), nullptr);
    ASSERT_NE(coordinate_buffer(m, 5, 3, 2), nullptr);
    sysstr_set(m.engine, 3, (dir.str() + "/").c_str());
    sysstr_set(m.engine, 0, (dir.str() + "/").c_str());
    ASSERT_TRUE(m.go("    pic_save_bmp \"" + dir.str() + "/art.bmp\", 8, 0\n" + R"(
    win_open 1, 0, width: 3, height: 3
    pic_fill 1, 0, 0, 2, 2, 0, 0, -1
    win_load "art.bmp", 0, 1, 1, 0, 0, 3, 255, 0, 0
    alpha_load 4, "art.bmp", 0, 3, 0
    win_load "none.bmp", 2, 1, 0, 0, 0, 0, 255, 0, 0
    win_load "junk.bmp", 0, 1, 0, 0, 0, 0, 255, 0, 0
    win_load "art.bmp", 0, 5, 0, 0, 0, 0, 255, 0, 0
    alpha_load 5, "none.bmp", 0, 0, 0
    alpha_load 5, "art.bmp", 0, 0, 0
    alpha_load 9, "art.bmp", 0, 0, 1
    end
)"));
    EXPECT_EQ(m.errors(),
              (std::vector<std::string>{"105 File:none.bmp(2) Dir:0", "112 File:junk.bmp(0) Dir:0",
                                        "106 win_no = 5", "105 File:none.bmp(0) Dir:0", "118 ",
                                        "106 win_no = 9"}));
    EXPECT_EQ(pixels_off(*m.window_picture(1), 3, 3,
                         [](int32_t x, int32_t y) {
                             return x >= 1 && y < 2 ? coordinate(x - 1, y, 0x30) : 0u;
                         }),
              0);
    const Picture* p = buf_get_picture(m.engine, 4);
    ASSERT_NE(p->alpha, nullptr);
    EXPECT_EQ(std::vector<uint8_t>(p->alpha.get(), p->alpha.get() + 4),
              (std::vector<uint8_t>{0x30, 0x31, 0x30, 0x31}));
    EXPECT_EQ(pixel(*p, 1, 1), coordinate(1, 1));  // colour untouched
    EXPECT_EQ(buf_get_picture(m.engine, 5)->alpha, nullptr);
}

TEST(PausePic, StoresAPictureBufferAndReportsOthers) {
    CommandMachine m;
    ASSERT_NE(buf_new_picture(m.engine, 4, 1, 1), nullptr);
    ASSERT_TRUE(m.go(R"(
    pause_pic 4
    eval v3[0] = r[1]
    pause_pic 5
    eval v3[1] = r[1]
    end
)"));
    EXPECT_EQ(m.vars(3, 0, 1), (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(m.engine.shell.pause_picture, 4);
    ASSERT_TRUE(m.go("    pause_pic 256\n    pause_pic -2\n    pause_pic -1\n    end\n"));
    EXPECT_EQ(m.errors(), (std::vector<std::string>{"117 buf_no = 256", "117 buf_no = -2"}));
    EXPECT_EQ(m.reg(1), 0);
    EXPECT_EQ(m.engine.shell.pause_picture, -1);
}

}  // namespace
}  // namespace qln::test
