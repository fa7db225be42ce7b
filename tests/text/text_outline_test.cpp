// Outline characters: pixels follow the rasterised ink; marker '#' shows the pen after it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/text_test_support.h"

namespace qln::test {
namespace {

constexpr const char* kKanji = "\x8A\xBF";     // 漢 (0x8ABF)
constexpr const char* kHiragana = "\x82\xA0";  // あ (0x82A0)

struct Ink {
    int32_t cx = 0, cy = 0;
    std::vector<uint8_t> bytes;
    bool at(int32_t i, int32_t j) const {
        return i >= 0 && i < cx && j >= 0 && j < cy && bytes[size_t(j * cx + i)] != 0;
    }
};

struct OutlineMachine : TextMachine {
    bool fonts_ready = false;
    OutlineMachine() {
        fonts_ready = fonts_init(engine);
        Picture* marker = glyph_sheet(engine, 1, 2, 2, 1, 1);
        EXPECT_TRUE(marker && picfont_define(engine, 1, 1, *marker, 2, 2, 1, 2, '#', '#', 0));
    }
    // A copy of the glyph's ink as the font layer gives it.
    Ink ink(uint16_t code, uint16_t style = 0, int32_t font = 0) {
        Ink out;
        GlyphInk g;
        FontRecord* record = font_get(engine, font);
        if (!record || !font_glyph(engine, *record, code, style, g)) {
            ADD_FAILURE() << "no glyph " << code;
            return out;
        }
        out.cx = g.cx;
        out.cy = g.cy;
        if (g.ink) out.bytes.assign(g.ink, g.ink + size_t(g.cx) * size_t(g.cy));
        return out;
    }
    // The x of the marker on row 20 (pen y), or -1.
    int32_t marker_x() {
        for (int32_t x = 0; x < page->width; ++x) {
            if (pixel(*page, x, 20) == glyph_pixel(0, 0, 0)) return x;
        }
        return -1;
    }
};

// Every pixel of the area around (10, 20): ink, shadow ink where the ink
// shifted by (sx, sy) lies and the glyph has none, else paper.
void expect_glyph(const Picture& p, const Ink& ink, int32_t sx = 0, int32_t sy = 0,
                  uint32_t ink_colour = kInk) {
    int32_t wrong = 0;
    for (int32_t y = 0; y < p.height; ++y) {
        for (int32_t x = 0; x < p.width; ++x) {
            const int32_t i = x - 10, j = y - 20;
            const uint32_t expected = ink.at(i, j)             ? ink_colour
                                      : ink.at(i - sx, j - sy) ? kShadow
                                                               : kPaper;
            if (pixel(p, x, y) != expected && ++wrong < 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(TextOutline, PixelsStylesAndShadowsFollowTheRasterisedInk) {
    OutlineMachine m;
    ASSERT_TRUE(m.fonts_ready);
    const std::string kanji = kKanji;
    struct Case {
        std::string text;
        uint16_t ftype;
        int32_t ssx, ssy;  // the settings' shadow offset
        uint16_t code, style;
        int32_t sx, sy;  // the offset drawn
    };
    // Styles come from the font layer and are saved with the attributes.
    const Case cases[] = {
        {"A", 0, 0, 0, 'A', 0, 0, 0},
        {kanji, 0, 0, 0, 0x8ABF, 0, 0, 0},
        {"A", 1, 0, 0, 'A', 1, 0, 0},
        {"@P2A", 1, 0, 0, 'A', 2, 0, 0},
        {"@P0A", 2, 0, 0, 'A', 0, 0, 0},
        {"@P1@H@P0@RA", 0, 0, 0, 'A', 1, 0, 0},
        {"@P9A", 0, 0, 0, 'A', 0, 0, 0},
        {"@D22" + kanji, 0, 0, 0, 0x8ABF, 0, 2, 2},
        {"@E22" + kanji, 0, 0, 0, 0x8ABF, 0, -2, -2},
        {"@D22@D00" + kanji, 0, 0, 0, 0x8ABF, 0, 0, 0},
        {kanji, 0, 3, -1, 0x8ABF, 0, 3, -1},
        {"@D00" + kanji, 0, 3, -1, 0x8ABF, 0, 0, 0},
        {"@D10" + kanji, 0, 0, 0, 0x8ABF, 0, 1, 0},
    };
    ASSERT_NE(m.ink('A').bytes, m.ink('A', 1).bytes);
    ASSERT_NE(m.ink('A', 1).bytes, m.ink('A', 2).bytes);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Ink ink = m.ink(c.code, c.style);
        ASSERT_GT(ink.cx, 0);
        fill_rgb(*m.page, kPaper);
        TextSettings s = test_settings();
        s.tx_ftype = c.ftype;
        s.tx_ssx = c.ssx;
        s.tx_ssy = c.ssy;
        const TextDrawResult r = m.draw(c.text, s);
        expect_glyph(*m.page, ink, c.sx, c.sy);
        EXPECT_EQ(edges(r.changed),
                  (std::vector<int32_t>{10 + std::min(c.sx, 0), 20 + std::min(c.sy, 0),
                                        10 + ink.cx + std::max(c.sx, 0),
                                        20 + ink.cy + std::max(c.sy, 0)}));
        if (c.sx || c.sy || c.ftype) continue;
        // With a background the rest of the cell takes its colour.
        m.draw(c.text, test_settings(true));
        for (int32_t j = 0; j < ink.cy; ++j) {
            for (int32_t i = 0; i < ink.cx; ++i)
                ASSERT_EQ(pixel(*m.page, 10 + i, 20 + j), ink.at(i, j) ? kInk : kBack);
        }
    }
}

TEST(TextOutline, AdvancesFollowTheFontsFixedOrProportionalPitch) {
    OutlineMachine m;
    ASSERT_TRUE(m.fonts_ready);
    struct Case {
        int32_t advance;
        int32_t after_double, after_single;  // -1: the character's width plus the spacing
        int32_t spacing;
    };
    const Case cases[] = {
        {16, 16, 8, 0}, {15, 15, 8, 0}, {1, 1, 1, 0}, {0, -1, -1, 0}, {-2, -1, -1, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.advance);
        ASSERT_NE(font_create(m.engine, 2, "MS Gothic", 16, 400, false, c.advance), kFontFailed);
        const Ink wide = m.ink(0x82A0, 0, 2), narrow = m.ink('A', 0, 2);
        fill_rgb(*m.page, kPaper);
        m.draw(std::string("@F2@X1") + kHiragana + "#", test_settings());
        EXPECT_EQ(m.marker_x(), 10 + (c.after_double < 0 ? wide.cx + c.spacing : c.after_double));
        fill_rgb(*m.page, kPaper);
        m.draw("@F2@X1A#", test_settings());
        EXPECT_EQ(m.marker_x(), 10 + (c.after_single < 0 ? narrow.cx + c.spacing : c.after_single));
    }
    // "@R" brings back the font saved by "@H"; font 0 advances 16 per
    // double-byte character.
    fill_rgb(*m.page, kPaper);
    m.draw(std::string("@H@F2@R@X1") + kHiragana + "#", test_settings());
    EXPECT_EQ(m.marker_x(), 26);
}

TEST(TextOutline, CharactersOfAFontNeverMadeAreSkippedWhereTheyStand) {
    OutlineMachine m;
    ASSERT_TRUE(m.fonts_ready);
    EXPECT_EQ(m.draw("@F7AA@X1#", test_settings()).status, 0);
    EXPECT_EQ(m.marker_x(), 10);
    EXPECT_EQ(pixels_not(*m.page, kPaper), 4);
}

}  // namespace
}  // namespace qln::test
