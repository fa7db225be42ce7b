// Reading and layout, seen through picture-font cells that tell which glyph landed where.

#include <gtest/gtest.h>

#include <string>

#include "text/text_test_support.h"

namespace qln::test {
namespace {

// Picture font 1: cells 6 x 8, advance 6, '@' (glyph 0) to '_'; no outline font, so others are
// skipped.
struct LayoutMachine : TextMachine {
    LayoutMachine() {
        Picture* sheet = glyph_sheet(engine, 1, 6, 8, 8, 4);
        EXPECT_NE(sheet, nullptr);
        EXPECT_TRUE(picfont_define(engine, 1, 1, *sheet, 6, 8, 8, 6, '@', '_', 0));
        // Font 2: full-width 'Ａ' (0x8260) to 'Ｚ' on the same sheet, advance 7.
        EXPECT_TRUE(picfont_define(engine, 2, 1, *sheet, 6, 8, 8, 7, 0x8260, 0x8279, 0));
    }
    TextDrawResult run(const std::string& text, int32_t ex = 100, int32_t ey = 60) {
        fill_rgb(*page, kPaper);
        TextSettings s = test_settings();
        s.tx_ex = ex;
        s.tx_ey = ey;
        return draw("@X1" + text, s);
    }
};

int32_t glyph(char c) {
    return c - '@';
}

TEST(TextLayout, SequencesWrapsAndLimitsPlaceTheLastCharacter) {
    struct Case {
        const char* text;
        int32_t ex, ey;
        char last;     // the glyph looked for
        int32_t x, y;  // where it lands
    };
    const Case cases[] = {
        // clang-format off
        {"AB@NC", 1000, 1000, 'C', 10, 38}, {"AB@nC", 1000, 1000, 'C', 10, 38},
        {"@B12C", 1000, 1000, 'C', 22, 20}, {"@B1AC", 1000, 1000, 'C', 30, 20},
        {"@V05C", 1000, 1000, 'C', 5, 20},  {"@L03C", 1000, 1000, 'C', 10, 23},
        {"@K03C", 1000, 1000, 'C', 10, 17}, {"@W99C", 1000, 1000, 'C', 10, 20},
        {"@Q9C", 1000, 1000, 'C', 10, 20},  {"A@IB@NB@JC", 1000, 1000, 'C', 16, 20},
        {"@b1@C", 1000, 1000, 'C', 20, 20},
        // A, A, A end at 28: B ending at 34 fits a limit of 34, not of 33.
        {"AAAB", 34, 60, 'B', 28, 20}, {"AAAB", 33, 60, 'B', 10, 38},
        // Dropped characters below the bottom do not move the pen; "@K" brings it
        // back; a wrap lands below the limit, then "@J" goes to the saved pen.
        {"A@NBB@K18C", 100, 28, 'C', 10, 20}, {"A@IAAB@JD", 33, 28, 'D', 16, 20},
        // '@' before a letter of no sequence is drawn, "@@" is one '@', a final
        // '@' is drawn; no font draws '7' and '-'.
        {"@A", 100, 60, '@', 10, 20}, {"@A", 100, 60, 'A', 16, 20}, {"@@A", 100, 60, 'A', 16, 20},
        {"A@", 100, 60, '@', 16, 20}, {"@G@M@O@U@Y@7@-A", 100, 60, 'A', 82, 20},
        // A double-byte character after '@' stays whole; as "@B"'s first argument it is 0.
        {"@\x81\x40" "A", 100, 60, 'A', 16, 20}, {"@B\x82\x40" "1A", 100, 60, 'A', 11, 20},
        // 'Ｃ' of font 2 (glyph 2, as 'B'), then 'A' of font 1; with the flag, 'C'
        // becomes 'Ｃ' before the fonts are searched.
        {"@X2\x82\x62" "A", 100, 60, 'B', 10, 20}, {"@X2\x82\x62" "A", 100, 60, 'A', 17, 20},
        {"@X2@Z1C@Z0C", 100, 60, 'B', 10, 20}, {"@X2@Z1C@Z0C", 100, 60, 'C', 17, 20},
        // "@X0" switches font 1 off: those two 'A's are skipped in place.
        {"A@X0AA@X1B", 100, 60, 'B', 16, 20},
        // clang-format on
    };
    LayoutMachine m;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(m.run(c.text, c.ex, c.ey).status, 0);
        EXPECT_TRUE(cell_at(*m.page, glyph(c.last), c.x, c.y, 6, 8));
    }
    // A wrap leaves the end of the first line bare; the second dropped cell adds nothing.
    m.run("AAAB", 33);
    EXPECT_EQ(pixel(*m.page, 28, 20), kPaper);
    m.run("A@IAAB@JD", 33, 28);
    EXPECT_EQ(pixels_not(*m.page, kPaper), 3 * 6 * 8);
}

TEST(TextLayout, ChangedRectangleCoversEveryCellCutToThePictureAndTheLimits) {
    LayoutMachine m;
    EXPECT_EQ(edges(m.run("AB@NC").changed), (std::vector<int32_t>{10, 20, 22, 46}));
    const TextDrawResult r = m.run("@V12A@B99@B99@B99@B99B", 10000);
    EXPECT_EQ(r.changed.left, 0);
    EXPECT_EQ(r.changed.right, 4);
    EXPECT_EQ(pixels_not(*m.page, kPaper), 4 * 8);
    EXPECT_TRUE(m.run("@K99@K99A").changed.empty());
    EXPECT_EQ(pixels_not(*m.page, kPaper), 0);
    // The first line ends exactly at the bottom limit; the second does not fit.
    EXPECT_EQ(m.run("A@NB", 100, 28).changed.bottom, 28);
    EXPECT_EQ(pixels_not(*m.page, kPaper), 6 * 8);
    // One pixel short of the cell height: nothing at all.
    EXPECT_TRUE(m.run("ABC", 100, 27).changed.empty());
    // Arguments never read past the end; "@B1" at the end takes its one character.
    for (const char* text : {"@B", "@B1", "@D1", "@C", "@X", "@W1", "@E"}) {
        EXPECT_TRUE(m.run(text).changed.empty()) << text;
    }
    // A lead byte just before the end ends the text.
    EXPECT_EQ(m.run("A\x81").changed.right, 16);
}

TEST(TextLayout, PictureFontsAreEnabledOnlyInsideOneText) {
    LayoutMachine m;
    // The next text starts with every flag cleared.
    fill_rgb(*m.page, kPaper);
    EXPECT_TRUE(m.draw("AB", test_settings()).changed.empty());
    EXPECT_EQ(m.engine.fonts.picture_fonts[1].enabled, 0);
    // "@X0" clears every flag; "@X" takes one character, the next is text.
    EXPECT_TRUE(m.run("@X0@X00A").changed.empty());
}

TEST(TextLayout, GlyphCellsFollowTheSheetLayout) {
    TextMachine m(60, 40);
    Picture* sheet = glyph_sheet(m.engine, 1, 24, 24, 10, 2);
    ASSERT_TRUE(sheet && picfont_define(m.engine, 4, 1, *sheet, 24, 24, 10, 24, 'A', 'Z', 7));
    TextSettings s = test_settings();
    s.tx_px = 3;
    s.tx_py = 5;
    // Glyph 13 is the cell at (72, 24) of the sheet.
    m.draw("@X4N", s);
    EXPECT_TRUE(cell_at(*m.page, 13, 3, 5, 24, 24));
    // Glyph 20 would be the cell at (0, 48), outside the sheet: skipped, the pen stays.
    fill_rgb(*m.page, kPaper);
    m.draw("@X4UA", s);
    EXPECT_TRUE(cell_at(*m.page, 0, 3, 5, 24, 24));
}

TEST(TextLayout, UnusablePictureFontsArePassedOver) {
    LayoutMachine m;
    Picture* other = glyph_sheet(m.engine, 2, 6, 8, 8, 4);
    ASSERT_NE(other, nullptr);
    // Font 3 comes after font 1 in the table; font 1 wins while it is usable.
    ASSERT_TRUE(picfont_define(m.engine, 3, 2, *other, 6, 8, 8, 6, 'A', 'A', 0));
    set_pixel(*other, 0, 0, 0x123456);  // 'A' is glyph 0 of font 3
    m.run("@X3A");
    EXPECT_EQ(pixel(*m.page, 10, 20), glyph_pixel(1, 0, 0));
    // Sheet 1 with no cells per row: font 1 is passed over for font 3.
    buf_get_picture(m.engine, 1)->cell[2] = 0;
    m.run("@X3A");
    EXPECT_EQ(pixel(*m.page, 10, 20), 0x123456u);
    // Sheet 2 freed: nothing left to draw 'A' with.
    ASSERT_TRUE(buf_free(m.engine, 2));
    EXPECT_TRUE(m.run("@X3A").changed.empty());
}

}  // namespace
}  // namespace qln::test
