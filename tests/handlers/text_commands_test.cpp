// The font and text commands as scenarios, with every error.

#include <gtest/gtest.h>

#include "text/text_test_support.h"

namespace qln::test {
namespace {

// Picture font 1 on buffer 1: codes '0' to 'W', cells 6 x 8, advance 6.
void define_digits(CommandMachine& m) {
    Picture* sheet = glyph_sheet(m.engine, 1, 6, 8, 8, 5);
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(picfont_define(m.engine, 1, 1, *sheet, 6, 8, 8, 6, '0', 'W', 0));
}

TEST(FontMake, ResultsTellWhetherTheFontAndItsFaceExist) {
    CommandMachine m;
    ASSERT_TRUE(m.go(R"(
    font_make 3, "ＭＳ ゴシック", -24, 400, 0, 24
    eval v3[0] = r[1]
    eval v3[1] = r[2]
    font_make 4, "No Such Face Anywhere", 18, 700, 1, 0
    eval v3[2] = r[1]
    eval v3[3] = r[2]
    font_make 36, "ＭＳ ゴシック", 16, 400, 0, 16
    end
)"));
    EXPECT_EQ(m.vars(3, 0, 3), (std::vector<int32_t>{1, 1, 1, 0}));
    EXPECT_EQ(m.reg(1), 0);
    EXPECT_EQ(m.reg(2), 0);
    EXPECT_TRUE(m.platform.errors.empty());
    const FontRecord* font = font_get(m.engine, 3);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->size, 24);
    EXPECT_EQ(font->advance, 24);
    EXPECT_NE(font_get(m.engine, 4)->face, nullptr);
}

TEST(FontPicAndTextPut, DefineOnPictureBuffersAndRefuseEverythingElse) {
    CommandMachine m;
    ASSERT_NE(buf_new_picture(m.engine, 2, 48, 16), nullptr);
    ASSERT_NE(buf_new_picture(m.engine, 3, 8, 8), nullptr);
    fill_rgb(*buf_get_picture(m.engine, 3), kPaper);
    ASSERT_TRUE(buf_new_raw(m.engine, 6, 64));
    // Record 5 as it stood before the failing definitions.
    ASSERT_TRUE(
        picfont_define(m.engine, 5, 2, *buf_get_picture(m.engine, 2), 8, 8, 6, 8, 'a', 'z', 1));
    ASSERT_TRUE(m.go(R"(
    font_pic 5, 6, 4, 4, 2, 4, 65, 70, 0
    font_pic 5, 9, 4, 4, 2, 4, 65, 70, 0
    font_pic 36, 2, 4, 4, 2, 4, 65, 70, 0
    font_pic 7, 2, 12, 16, 4, 13, 0x8260, 0x8279, 1
    text_put "@F0A", 3, 0, 0, 16, 36, 1, 2, 3, 0, 0, 1, -1
    text_put "A", 3, 0, 0, 16, -1, 1, 2, 3, 0, 0, 1, -1
    text_put "A", 3, 0, 0, 16, 0x10000, 1, 2, 3, 0, 0, 1, -1
    text_put "A", 4, 0, 0, 16, 0, 1, 2, 3, 0, 0, 1, -1
    text_put "A", 9, 0, 0, 16, 0, 1, 2, 3, 0, 0, 0, -1
    end
)"));
    EXPECT_EQ(m.errors(),
              (std::vector<std::string>{
                  "112 buf_no = 6", "112 buf_no = 9", "117 font_no = 36", "117 font_no = 36",
                  "117 font_no = -1", "117 font_no = 65536", "112 buf_no = 4", "106 win_no = 9"}));
    EXPECT_EQ(pixels_not(*buf_get_picture(m.engine, 3), kPaper), 0);
    const PictureFontRecord& kept = m.engine.fonts.picture_fonts[5];
    EXPECT_EQ(kept.first_code, 'a');
    EXPECT_EQ(kept.mode, 1u);
    const PictureFontRecord& made = m.engine.fonts.picture_fonts[7];
    EXPECT_EQ(made.picture, buf_get_picture(m.engine, 2));
    EXPECT_EQ(made.advance, 13);
    EXPECT_EQ(made.first_code, 0x8260);
    EXPECT_EQ(made.last_code, 0x8279);
    EXPECT_EQ(made.mode, 1u);
    const Picture* sheet = buf_get_picture(m.engine, 2);
    EXPECT_EQ(sheet->cell[0], 12);
    EXPECT_EQ(sheet->cell[1], 16);
    EXPECT_EQ(sheet->cell[2], 4);
}

TEST(TextPut, ExpandsTheTextAndDrawsIntoAPictureBufferWithItsMask) {
    CommandMachine m;
    set_test_colours(m.engine);
    define_digits(m);
    Picture* page = buf_new_picture(m.engine, 3, 26, 30);
    ASSERT_NE(page, nullptr);
    fill_rgb(*page, kPaper);
    page->alpha.reset(new uint8_t[page->alpha_bytes()]());
    // v3[2] is L2; the line pitch 9 moves "A" below; the area ends at the
    // picture's right edge, so the third digit wraps.
    ASSERT_TRUE(m.go(R"(
    eval v3[2] = 425
    text_put "@X1@%\"%d\",L2@@NA", 3, 10, 2, 9, 0, 1, -1, 3, 0, 0, 1, 200
    end
)"));
    EXPECT_TRUE(m.platform.errors.empty());
    EXPECT_TRUE(cell_at(*page, 4, 10, 2, 6, 8));
    EXPECT_TRUE(cell_at(*page, 2, 16, 2, 6, 8));
    EXPECT_TRUE(cell_at(*page, 5, 10, 11, 6, 8));
    EXPECT_TRUE(cell_at(*page, 'A' - '0', 10, 20, 6, 8));
    EXPECT_EQ(page->alpha[size_t(2) * 26 + 10], 200);
    EXPECT_EQ(page->alpha[size_t(2) * 26 + 9], 0);
}

TEST(TextPut, WindowTargetsGetTheContentOffsetAndAreMarkedButNotShown) {
    CommandMachine m;
    set_test_colours(m.engine);
    define_digits(m);
    m.engine.screen.content_x = 5;
    m.engine.screen.content_y = 7;
    Window templ;
    templ.px = 100;
    templ.py = 50;
    ASSERT_TRUE(win_open(m.engine, 2, 64, 32, templ));
    fill_rgb(*m.window_picture(2), kPaper);
    ASSERT_TRUE(m.go(R"(
    eval v3[0] = 0
    text_put "@X11", 0, 10, 20, 16, 0, 1, -1, 3, 0, 0, 0, -1
    text_put "@X12", 2, 3, 4, 16, 0, 1, -1, 3, 0, 0, 0, -1
    end
)"));
    EXPECT_TRUE(m.platform.errors.empty());
    EXPECT_TRUE(cell_at(*m.window_picture(0), 1, 15, 27, 6, 8));
    EXPECT_TRUE(cell_at(*m.window_picture(2), 2, 3, 4, 6, 8));
    EXPECT_EQ(m.win(2).Visible, 0);
    // Window 0 is visible: its cell was marked and reached the screen.
    EXPECT_TRUE(cell_at(*m.engine.screen.screen, 1, 15, 27, 6, 8));
}

}  // namespace
}  // namespace qln::test
