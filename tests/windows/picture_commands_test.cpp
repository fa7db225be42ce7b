// The colour and picture commands as scenarios: exact pixels, result registers, errors.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/bmp_write.h"
#include "support/temp_dir.h"
#include "tables/tables.h"
#include "windows/command_args.h"
#include "commands/command_table.h"
#include "windows/window_test_support.h"

namespace qln::test {
namespace {

using test::args_of;

constexpr uint32_t kKey = 0xCC8844;  // red 0xCC, green 0x88, blue 0x44

// A picture buffer of w x h whose pixels tell their coordinates.
Picture* coordinate_buffer(CommandMachine& m, int32_t buf_no, uint16_t w, uint16_t h,
                           uint32_t tag = 0) {
    Picture* p = buf_new_picture(m.engine, buf_no, w, h);
    if (p) fill_coordinates(*p, tag);
    return p;
}

// Writes p as a bitmap file in dir and returns its path.
std::string bitmap_file(const TempDir& dir, const std::string& name, const Picture& p) {
    BmpFile f;
    EXPECT_TRUE(bmp_encode_24(p, f));
    return dir.write(name, std::vector<uint8_t>(f.bytes.get(), f.bytes.get() + f.size));
}

TEST(ColourCommands, SetTakesBlueRedGreenAndGetGivesAWindowsColourValue) {
    CommandMachine m;
    ASSERT_TRUE(m.go(R"(
    col_set 5, 10, 20, 30
    col_get 5
    eval v3[1] = r[1] + r[2] * 1000 + r[3] * 1000000
    eval v3[2] = r[4]
    col_set 7, 0x1FF, 0x102, -1
    col_get 7
    eval v3[0] = r[4]
    col_get 300
    end
)"));
    EXPECT_EQ(m.vars(3, 0, 2), (std::vector<int32_t>{0xFFFF02, 30020010, 663060}));
    for (uint32_t n = 1; n <= 4; ++n) EXPECT_EQ(m.reg(n), 0) << n;
}

TEST(PicFill, BufferCornersInEitherOrderClippedAndAlphaOnlyWhenAsked) {
    CommandMachine m;
    Picture* p = coordinate_buffer(m, 3, 4, 3);
    ASSERT_NE(p, nullptr);
    p->alpha.reset(new uint8_t[12]());
    // Corners reversed with alpha 77, then three fills without alpha of which
    // only the last reaches the picture: all of row 1.
    ASSERT_TRUE(m.go(R"(
    col_set 5, 0x44, 0xCC, 0x88
    pic_fill 3, 3, 2, 1, 1, 5, 1, 77
    pic_fill 3, 10, 10, 20, 20, 5, 1, -1
    pic_fill 3, -5, -5, -1, 100, 5, 1, -1
    pic_fill 3, 0x7FFFFFFF, 1, -0x7FFFFFFF, 1, 5, 1, -1
    end
)"));
    EXPECT_TRUE(m.platform.errors.empty());
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            const bool first = x >= 1 && y >= 1;
            EXPECT_EQ(pixel(*p, x, y), first || y == 1 ? kKey : coordinate(x, y)) << x << "," << y;
            EXPECT_EQ(p->alpha[size_t(y * 4 + x)], first ? 77 : 0) << x << "," << y;
        }
    }
}

TEST(PicFill, WindowTargetsGoThroughTheWindowAndItsOffset) {
    CommandMachine m([](Settings& s) {
        s.view_width = 600;
        s.view_height = 440;
    });
    ASSERT_TRUE(m.ready);
    ASSERT_TRUE(m.go(R"(
    col_set 5, 0x44, 0xCC, 0x88
    win_open 1, 0, width: 3, height: 2
    pic_fill 1, 0, 0, 2, 1, 0, 0, -1
    pic_fill 1, 1, 1, 1, 1, 5, 0, -1
    pic_fill 0, 0, 0, 0, 0, 5, 0, -1
    end
)"));
    Picture* w = m.window_picture(1);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(pixel(*w, 0, 0), 0u);
    EXPECT_EQ(pixel(*w, 1, 1), kKey);
    EXPECT_EQ(pixel(*w, 2, 1), 0u);
    // Window 0 is drawn at the content offset (20, 20).
    EXPECT_EQ(pixel(*m.window_picture(0), 20, 20), kKey);
}

TEST(PicInvert, BufferAndWindowRectanglesAreXoredWithWhite) {
    CommandMachine m;
    Picture* p = coordinate_buffer(m, 3, 4, 3);
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(m.go(R"(
    pic_invert 3, 2, 0, 1, 1, 1
    pic_invert 3, -9, 2, 99, 9, 1
    win_open 1, 0, width: 2, height: 2
    pic_fill 1, 0, 0, 1, 1, 0, 0, -1
    pic_invert 1, 1, 1, 5, 5, 0
    end
)"));
    EXPECT_EQ(pixels_off(*p, 4, 3,
                         [](int32_t x, int32_t y) {
                             const bool inside = (x >= 1 && x <= 2 && y <= 1) || y == 2;
                             return inside ? coordinate(x, y) ^ 0xFFFFFFu : coordinate(x, y);
                         }),
              0);
    Picture* w = m.window_picture(1);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(pixel(*w, 0, 0), 0u);
    EXPECT_EQ(pixel(*w, 1, 1), 0xFFFFFFu);
}

TEST(BufGrab, CopiesTheWindowRectangleWithoutOffsetAndBlackOutside) {
    CommandMachine m([](Settings& s) {
        s.view_width = 600;
        s.view_height = 440;
    });
    ASSERT_TRUE(m.go(R"(
    win_open 1, 0, width: 4, height: 3
    end
)"));
    fill_coordinates(*m.window_picture(1));
    fill_coordinates(*m.window_picture(0), 1);
    ASSERT_TRUE(m.go(R"(
    buf_grab 2, 1, 1, 1, 4, 3
    buf_grab 3, 0, 0, 0, 2, 1
    end
)"));
    const Picture* g = buf_get_picture(m.engine, 2);
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->width, 4);
    ASSERT_EQ(g->height, 3);
    EXPECT_EQ(pixels_off(*g, 4, 3,
                         [](int32_t x, int32_t y) {
                             return x + 1 < 4 && y + 1 < 3 ? coordinate(x + 1, y + 1) : 0u;
                         }),
              0);
    // Window 0 is grabbed from its own top-left: no content offset.
    const Picture* s = buf_get_picture(m.engine, 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(pixel(*s, 0, 0), coordinate(0, 0, 1));
    EXPECT_EQ(pixel(*s, 1, 0), coordinate(1, 0, 1));
}

TEST(WinDrawBuf, DrawsTheWholePictureAtThePosition) {
    CommandMachine m;
    ASSERT_NE(coordinate_buffer(m, 4, 2, 2, 0x10), nullptr);
    ASSERT_TRUE(m.go(R"(
    win_open 1, 1, width: 4, height: 3
    pic_fill 1, 0, 0, 3, 2, 0, 0, -1
    win_draw_buf 4, 1, 1, 1, 0, 255, 0, 0
    win_draw_buf 5, 1, 0, 0, 0, 255, 0, 0
    win_draw_buf 4, 8, 0, 0, 0, 255, 0, 0
    end
)"));
    Picture* w = m.window_picture(1);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(pixel(*w, 0, 0), 0u);
    EXPECT_EQ(pixel(*w, 1, 1), coordinate(0, 0, 0x10));
    EXPECT_EQ(pixel(*w, 2, 2), coordinate(1, 1, 0x10));
    EXPECT_EQ(pixel(*w, 3, 2), 0u);
    EXPECT_EQ(m.errors(), (std::vector<std::string>{"112 buf_no = 5", "106 win_no = 8"}));
}

TEST(WinDrawCell, DrawsCellNumberAcrossRowsOfCells) {
    CommandMachine m;
    ASSERT_NE(coordinate_buffer(m, 4, 6, 4), nullptr);
    // Cells 2 x 3, three per row: width, height and count per row all differ.
    ASSERT_TRUE(m.go(R"(
    buf_cells 4, 2, 3, 3
    win_open 1, 0, width: 2, height: 3
    win_draw_cell 4, 4, 1, 0, 0, 255, 0, 0
    end
)"));
    const Picture* p = buf_get_picture(m.engine, 4);
    EXPECT_EQ((std::vector<int>{p->cell[0], p->cell[1], p->cell[2]}), (std::vector<int>{2, 3, 3}));
    Picture* w = m.window_picture(1);
    ASSERT_NE(w, nullptr);
    // Cell 4 is column 1 of row 1: source (2, 3), cut by the sheet's last row.
    EXPECT_EQ(pixels_off(*w, 2, 1, [](int32_t x, int32_t y) { return coordinate(x + 2, y + 3); }),
              0);
    EXPECT_TRUE(m.platform.errors.empty());
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

TEST(WinPixel, GivesBlueRedGreenInsideAndMinusOneOutside) {
    CommandMachine m([](Settings& s) {
        s.view_width = 600;
        s.view_height = 440;
    });
    ASSERT_TRUE(m.go("    win_open 1, 0, width: 3, height: 2\n    end\n"));
    set_pixel(*m.window_picture(1), 2, 1, kKey);
    set_pixel(*m.window_picture(0), 0, 0, 0x010203);
    ASSERT_TRUE(m.go(R"(
    win_pixel 1, 2, 1
    eval v3[0] = r[1]
    eval v3[1] = r[2]
    eval v3[2] = r[3]
    win_pixel 0, 0, 0
    eval v3[3] = r[1] * 65536 + r[2] * 256 + r[3]
    win_pixel 1, 3, 0
    end
)"));
    EXPECT_EQ(m.vars(3, 0, 2), (std::vector<int32_t>{0x44, 0xCC, 0x88}));
    EXPECT_EQ(m.var(3, 3), 0x030102);  // no content offset for window 0
    EXPECT_EQ(m.regs(1, 3), (std::vector<int32_t>{-1, -1, -1}));
    ASSERT_TRUE(m.go("    win_pixel 1, -1, 0\n    win_pixel 2, 0, 0\n    end\n"));
    EXPECT_EQ(m.reg(1), -1);
    EXPECT_EQ(m.errors(), (std::vector<std::string>{"106 win_no = 2"}));
}

TEST(PicDraw, ModesPickWindowsOrBuffersOnEachSide) {
    CommandMachine m;
    ASSERT_NE(coordinate_buffer(m, 4, 2, 2, 0x10), nullptr);
    Picture* dst = buf_new_picture(m.engine, 5, 3, 3);
    ASSERT_NE(dst, nullptr);
    fill_rgb(*dst, 0);
    ASSERT_TRUE(m.go(R"(
    win_open 1, 0, width: 3, height: 3
    win_open 2, 0, width: 3, height: 3
    pic_fill 1, 0, 0, 2, 2, 0, 0, -1
    pic_fill 2, 0, 0, 2, 2, 0, 0, -1
    pic_draw 2, 4, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0
    pic_draw 0, 1, 2, 0, 0, 0, 0, 1, 1, 2, 2, 0, 255, 0, 0
    pic_draw 1, 2, 5, 1, 0, 0, 0, 0, 0, 1, 1, 0, 255, 0, 0
    pic_draw 3, 4, 5, 0, 2, 0, 0, 1, 0, 1, 1, 0, 255, 0, 0
    end
)"));
    EXPECT_TRUE(m.platform.errors.empty());
    Picture* w1 = m.window_picture(1);
    Picture* w2 = m.window_picture(2);
    ASSERT_TRUE(w1 && w2);
    EXPECT_EQ(pixel(*w1, 1, 1), coordinate(0, 0, 0x10));  // mode 2: buffer into window
    EXPECT_EQ(pixel(*w1, 2, 2), coordinate(1, 1, 0x10));
    EXPECT_EQ(pixel(*w2, 0, 0), coordinate(0, 0, 0x10));  // mode 0: window into window
    EXPECT_EQ(pixel(*w2, 1, 1), coordinate(1, 1, 0x10));
    EXPECT_EQ(pixel(*w2, 2, 2), 0u);
    EXPECT_EQ(pixel(*dst, 1, 0), coordinate(0, 0, 0x10));  // mode 1: window into buffer
    EXPECT_EQ(pixel(*dst, 0, 2), coordinate(1, 0, 0x10));  // mode 3: buffer into buffer
    EXPECT_EQ(pixel(*dst, 0, 0), 0u);
}

TEST(PicDraw, ModeThreeStretchesIntoBuffersAndErrorsNameEachSide) {
    CommandMachine m;
    Picture* src = buf_new_picture(m.engine, 4, 1, 1);
    ASSERT_NE(src, nullptr);
    set_pixel(*src, 0, 0, kKey);
    Picture* dst = buf_new_picture(m.engine, 5, 3, 2);
    ASSERT_NE(dst, nullptr);
    fill_rgb(*dst, 0);
    ASSERT_TRUE(m.go(R"(
    pic_draw 3, 4, 5, 0, 0, 2, 2, 0, 0, 1, 1, 0, 255, 0, 0
    pic_draw 0, 7, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0
    pic_draw 2, 7, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0
    pic_draw 2, 4, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0
    pic_draw 1, 0, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0
    end
)"));
    EXPECT_EQ(pixel(*dst, 0, 0), kKey);
    EXPECT_EQ(pixel(*dst, 1, 1), kKey);
    EXPECT_EQ(pixel(*dst, 2, 0), 0u);
    EXPECT_EQ(m.errors(), (std::vector<std::string>{"106 win_no = 7", "112 buf_no = 7",
                                                    "106 win_no = 9", "112 buf_no = 6"}));
}

TEST(AlphaKey, KeyColourBecomesTransparentAndMinusOneDropsThePlane) {
    CommandMachine m;
    Picture* p = buf_new_picture(m.engine, 4, 3, 1);
    ASSERT_NE(p, nullptr);
    set_pixel(*p, 0, 0, kKey);
    set_pixel(*p, 1, 0, kKey ^ 1);  // one bit off is not the key
    set_pixel(*p, 2, 0, kKey);
    Picture* plain = buf_new_picture(m.engine, 6, 1, 1);
    ASSERT_NE(plain, nullptr);
    ASSERT_TRUE(m.go(R"(
    col_set 5, 0x44, 0xCC, 0x88
    alpha_key 4, 5, 0
    alpha_key 6, -1, 0
    end
)"));
    ASSERT_NE(p->alpha, nullptr);
    EXPECT_EQ(p->alpha[0], 0);
    EXPECT_EQ(p->alpha[1], 255);
    EXPECT_EQ(p->alpha[2], 0);
    EXPECT_EQ(plain->alpha, nullptr);
    EXPECT_TRUE(m.platform.errors.empty());
    ASSERT_TRUE(m.go("    alpha_key 4, -5, 0\n    end\n"));
    EXPECT_EQ(p->alpha, nullptr);
}

TEST(AlphaKey, AKeyedShownWindowIsMarkedAndShowsWhatLiesBelowIt) {
    CommandMachine m;
    ASSERT_TRUE(m.go(R"(
    col_set 5, 0x44, 0xCC, 0x88
    col_set 6, 0x11, 0x33, 0x22
    pic_fill 0, 0, 0, 639, 479, 6, 0, -1
    win_open 1, 1, px: 10, py: 20, width: 3, height: 2, type: 0x0305
    win_open 2, 0, px: 50, py: 60, width: 3, height: 2
    end
)"));
    const Picture& screen = *m.engine.screen.screen;
    EXPECT_EQ(pixel(screen, 11, 21), kKey);
    m.engine.screen.dirty = Rect{};
    EXPECT_EQ(cmd_alpha_key(m.engine, args_of(2, 5, 1)), 0);  // hidden: nothing to mark
    EXPECT_TRUE(m.engine.screen.dirty.empty());
    EXPECT_NE(m.window_picture(2)->alpha, nullptr);
    EXPECT_EQ(cmd_alpha_key(m.engine, args_of(1, -1, 1)), 0);
    EXPECT_TRUE(m.engine.screen.dirty.empty());
    EXPECT_EQ(cmd_alpha_key(m.engine, args_of(1, 5, 1)), 0);
    const Rect d = m.engine.screen.dirty;
    EXPECT_EQ(edges(d), (std::vector<int32_t>{10, 20, 13, 22}));
    const Picture* w = m.window_picture(1);
    ASSERT_NE(w->alpha, nullptr);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(w->alpha[size_t(i)], 0);
    screen_update(m.engine);
    EXPECT_EQ(pixel(screen, 10, 20), 0x332211u);
    EXPECT_EQ(pixel(screen, 12, 21), 0x332211u);
    ASSERT_TRUE(m.go("    alpha_key 3, 5, 1\n    alpha_key 3, 5, 0\n    end\n"));
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
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(p->alpha[size_t(i)], 0x20 + i % 3);
        EXPECT_EQ(w->alpha[size_t(i)], 0x20 + i % 3);
    }
    ASSERT_EQ(m.platform.errors.size(), 4u);
    EXPECT_EQ(m.platform.errors[0].error_number, 118u);
    EXPECT_STREQ(m.platform.errors[0].detail, "");
    EXPECT_EQ(m.error(1), "112 buf_no = 7");
    EXPECT_EQ(m.error(2), "112 buf_no = 7");
    EXPECT_EQ(m.error(3), "106 win_no = 2");
}

TEST(PicturesFromFiles, WinLoadDrawsTheFileAndAlphaLoadTakesItsBlueBytes) {
    TempDir dir;
    CommandMachine m;
    Picture* art = picture_create(2, 2);
    ASSERT_NE(art, nullptr);
    fill_coordinates(*art, 0x30);
    const std::string path = bitmap_file(dir, "art.bmp", *art);
    picture_free(art);
    ASSERT_NE(coordinate_buffer(m, 4, 2, 2), nullptr);
    sysstr_set(m.engine, 3, (dir.str() + "/").c_str());
    ASSERT_TRUE(m.go(R"(
    win_open 1, 0, width: 3, height: 3
    pic_fill 1, 0, 0, 2, 2, 0, 0, -1
    win_load "art.bmp", 0, 1, 1, 0, 0, 3, 255, 0, 0
    alpha_load 4, "art.bmp", 0, 3, 0
    end
)"));
    EXPECT_TRUE(m.platform.errors.empty()) << m.error(0);
    const Picture* w = m.window_picture(1);
    EXPECT_EQ(pixel(*w, 0, 0), 0u);
    EXPECT_EQ(pixel(*w, 1, 0), coordinate(0, 0, 0x30));
    EXPECT_EQ(pixel(*w, 2, 1), coordinate(1, 1, 0x30));
    EXPECT_EQ(pixel(*w, 1, 2), 0u);
    const Picture* p = buf_get_picture(m.engine, 4);
    ASSERT_NE(p->alpha, nullptr);
    EXPECT_EQ(p->alpha[0], 0x30);
    EXPECT_EQ(p->alpha[1], 0x31);
    EXPECT_EQ(p->alpha[2], 0x30);
    EXPECT_EQ(p->alpha[3], 0x31);
    EXPECT_EQ(pixel(*p, 1, 1), coordinate(1, 1));  // colour untouched
    (void)path;
}

TEST(PicturesFromFiles, MissingBrokenAndMismatchedFiles) {
    TempDir dir;
    CommandMachine m;
    Picture* art = picture_create(2, 2);
    ASSERT_NE(art, nullptr);
    fill_coordinates(*art);
    bitmap_file(dir, "art.bmp", *art);
    picture_free(art);
    dir.write("junk.bmp", std::vector<uint8_t>(40, 0x5A));
    ASSERT_NE(coordinate_buffer(m, 4, 3, 2), nullptr);
    sysstr_set(m.engine, 0, (dir.str() + "/").c_str());
    ASSERT_TRUE(m.go(R"(
    win_open 1, 0, width: 3, height: 3
    win_load "none.bmp", 2, 1, 0, 0, 0, 0, 255, 0, 0
    win_load "junk.bmp", 0, 1, 0, 0, 0, 0, 255, 0, 0
    win_load "art.bmp", 0, 5, 0, 0, 0, 0, 255, 0, 0
    alpha_load 4, "none.bmp", 0, 0, 0
    alpha_load 4, "art.bmp", 0, 0, 0
    alpha_load 9, "art.bmp", 0, 0, 1
    end
)"));
    EXPECT_EQ(m.errors(),
              (std::vector<std::string>{"105 File:none.bmp(2) Dir:0", "112 File:junk.bmp(0) Dir:0",
                                        "106 win_no = 5", "105 File:none.bmp(0) Dir:0", "118 ",
                                        "106 win_no = 9"}));
    EXPECT_EQ(buf_get_picture(m.engine, 4)->alpha, nullptr);
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
    EXPECT_EQ(m.var(3, 0), 0);
    EXPECT_EQ(m.var(3, 1), 1);
    EXPECT_EQ(m.engine.shell.pause_picture, 4);
    ASSERT_TRUE(m.go("    pause_pic 256\n    pause_pic -2\n    pause_pic -1\n    end\n"));
    EXPECT_EQ(m.error(0), "117 buf_no = 256");
    EXPECT_EQ(m.error(1), "117 buf_no = -2");
    EXPECT_EQ(m.reg(1), 0);
    EXPECT_EQ(m.engine.shell.pause_picture, -1);
}

}  // namespace
}  // namespace qln::test
