// Glyph extents, exact ink, the renderer's styles and the glyph cache.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "support/pixels.h"
#include "text/font.h"
#include "text/font_face.h"

namespace qln {
namespace {

using Art = std::vector<std::string>;

Art art_of(const GlyphInk& ink) {
    Art rows;
    for (int32_t y = 0; y < ink.cy; ++y) {
        std::string row;
        for (int32_t x = 0; x < ink.cx; ++x) row += ink.ink[y * ink.cx + x] ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

uint64_t ink_hash(const GlyphInk& ink) {
    const int32_t size[2] = {ink.cx, ink.cy};
    return test::bytes_hash(ink.ink, size_t(ink.cx) * size_t(ink.cy),
                            test::bytes_hash(reinterpret_cast<const uint8_t*>(size), sizeof size));
}

bool same_bytes(const GlyphInk& a, const GlyphInk& b) {
    return a.cx == b.cx && a.cy == b.cy &&
           std::memcmp(a.ink, b.ink, size_t(a.cx) * size_t(a.cy)) == 0;
}

class Glyphs : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(fonts_init(engine)); }

    FontRecord& font(int32_t n) { return *font_get(engine, n); }
    GlyphInk glyph(int32_t n, uint16_t code, uint16_t style = 0) {
        GlyphInk ink;
        EXPECT_TRUE(font_glyph(engine, font(n), code, style, ink)) << code;
        return ink;
    }

    Engine engine;
};

TEST_F(Glyphs, ExtentIsTheAdvanceByTheCellHeight) {
    ASSERT_EQ(font_create(engine, 1, "IPAPGothic", -16, 400, false, 0), kFontCreated);
    ASSERT_EQ(font_create(engine, 2, "IPAGothic", 16, 700, false, 0), kFontCreated);
    const struct {
        int32_t font;
        uint16_t code;
        int32_t cx, cy;
    } cases[] = {
        {0, 0x82a0, 16, 16},  // あ
        {0, 0x8140, 16, 16},  // the full-width space
        {0, 'A', 8, 16},
        {0, 0xb1, 8, 16},  // half-width katakana
        // Proportional: the advances differ character by character.
        {1, 'W', 15, 17},
        {1, 'i', 4, 17},
        {1, 0x82a0, 15, 17},
        // Made-up bold is one pixel wider.
        {2, 'A', 9, 16},
    };
    for (const auto& c : cases) {
        const GlyphInk ink = glyph(c.font, c.code);
        EXPECT_EQ(ink.cx, c.cx) << c.font << " " << c.code;
        EXPECT_EQ(ink.cy, c.cy) << c.font << " " << c.code;
    }
    const GlyphInk space = glyph(0, 0x8140);
    for (int32_t i = 0; i < space.cx * space.cy; ++i) ASSERT_EQ(space.ink[i], 0) << i;
}

TEST_F(Glyphs, CodesWithoutACharacterOrGlyphDrawTheMissingGlyph) {
    const Art box = art_of(glyph(0, 0x80));  // no character in the code page
    ASSERT_EQ(box.size(), 16u);
    EXPECT_EQ(box[0], "..############..");
    EXPECT_EQ(box[7], "..#....##....#..");
    // Unassigned, two single bytes as one code, a lone lead byte, a user-defined character.
    for (uint16_t code : {0x8540, 0x4142, 0x81, 0xf040}) {
        EXPECT_EQ(art_of(glyph(0, code)), box) << code;
    }
}

TEST_F(Glyphs, InkIsMonochromeAndStylesAreMadeFromThePlainInk) {
    // Font 0 (the original's cell, ascent 14): 'A' stands on row 13's foot.
    const GlyphInk a = glyph(0, 'A');
    EXPECT_EQ(art_of(a)[12], "##....##");
    EXPECT_EQ(art_of(a)[13], "........");
    for (int32_t i = 0; i < a.cx * a.cy; ++i) {
        ASSERT_TRUE(a.ink[i] == 0 || a.ink[i] == 255) << i;  // no grey
    }
    ASSERT_EQ(font_create(engine, 1, "IPAGothic", -16, 400, false, 0), kFontCreated);
    ASSERT_EQ(font_create(engine, 2, "IPAGothic", -16, 700, false, 0), kFontCreated);
    ASSERT_EQ(font_create(engine, 3, "IPAGothic", -16, 400, true, 0), kFontCreated);
    const Art upright(art_of(glyph(1, '|')));
    for (int y = 0; y < 16; ++y) EXPECT_EQ(upright[y], "...#....") << y;
    // Each picture was checked row by row when it was first drawn.
    const struct {
        const char* what;
        int32_t font;
        uint16_t code, style;
        uint64_t hash;
    } cases[] = {
        {"plain A of font 0", 0, 'A', 0, 0x44a8335dbc9e006bull},
        {"H of IPAGothic", 1, 'H', 0, 0x6ae654fa645640d6ull},
        // Made-up bold: the same strokes drawn again one pixel to the right.
        {"made-up bold H", 2, 'H', 0, 0xabdfe5473ca29f78ull},
        // Made-up slant: the bar leans right, three pixels at the top, none at the baseline.
        {"made-up slant |", 3, '|', 0, 0x6db09408cfdb7558ull},
        {"bold style A", 0, 'A', kStyleBold, 0xec63c78568edb6e2ull},
        // The upper half widens left of the middle, the lower half right of it.
        {"slanted bold style A", 0, 'A', kStyleSlantedBold, 0x7f36694582f58d28ull},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ink_hash(glyph(c.font, c.code, c.style)), c.hash) << c.what;
    // Any other style is plain and shares the plain glyph.
    EXPECT_EQ(glyph(0, 'A', 3).ink, a.ink);
    EXPECT_EQ(glyph(0, 'A', 0xffff).ink, a.ink);
    EXPECT_NE(glyph(0, 'A', kStyleBold).ink, a.ink);
}

TEST_F(Glyphs, EachCharacterAndStyleIsRasterisedOnce) {
    FontFace& face = *font(0).face;
    ASSERT_EQ(face.rasterisations, 0u);
    const GlyphInk first = glyph(0, 0x82a0);
    EXPECT_EQ(face.rasterisations, 1u);
    EXPECT_EQ(glyph(0, 0x82a0).ink, first.ink);
    // The styles are made from the cached plain glyph.
    const GlyphInk bold = glyph(0, 0x82a0, kStyleBold);
    const GlyphInk slanted = glyph(0, 0x82a0, kStyleSlantedBold);
    EXPECT_EQ(glyph(0, 0x82a0, kStyleBold).ink, bold.ink);
    EXPECT_EQ(face.rasterisations, 1u);
    // A style asked for first rasterises the plain glyph once for both.
    glyph(0, 'Q', kStyleSlantedBold);
    glyph(0, 'Q');
    EXPECT_EQ(face.rasterisations, 2u);
    EXPECT_EQ(face.cache.glyph_count(), 5u);

    // The uncached path rasterises every time and gives the same bytes.
    for (uint16_t style : {0, 1, 2}) {
        GlyphInk again;
        ASSERT_TRUE(font_glyph_uncached(engine, font(0), 0x82a0, style, again));
        EXPECT_TRUE(same_bytes(again, style == 0 ? first : style == 1 ? bold : slanted)) << style;
    }
    EXPECT_EQ(face.rasterisations, 5u);
    GlyphInk none;
    EXPECT_FALSE(font_glyph_uncached(engine, font(9), 'A', 0, none));
    EXPECT_FALSE(font_glyph(engine, font(9), 'A', 0, none));
}

TEST_F(Glyphs, CacheStartsOverPastItsBound) {
    ASSERT_EQ(font_create(engine, 1, "IPAMincho", -160, 400, false, 0), kFontCreated);
    GlyphCache& cache = font(1).face->cache;
    // First-level kanji, about 28 KB of ink each: the bound is passed within 200 characters.
    bool started_over = false;
    size_t most = 0;
    for (uint16_t code = 0x889f; code < 0x889f + 0x5d; ++code) {
        for (uint16_t row = 0; row < 3; ++row) {
            const uint16_t c = static_cast<uint16_t>(code + row * 0x100);
            const size_t before = cache.glyph_count();
            GlyphInk cached = glyph(1, c);
            if (cache.glyph_count() <= before) started_over = true;
            most = std::max(most, cache.ink_bytes());
            GlyphInk fresh;
            ASSERT_TRUE(font_glyph_uncached(engine, font(1), c, 0, fresh));
            // Right after a start over the glyph is as good as ever.
            ASSERT_TRUE(same_bytes(cached, fresh)) << c;
        }
    }
    EXPECT_TRUE(started_over);
    EXPECT_LE(most, GlyphCache::kBudgetBytes + 2 * 160 * 186);
}

TEST_F(Glyphs, GiantCharactersAreCutNotOverrun) {
    ASSERT_EQ(font_create(engine, 1, "IPAGothic", -kFontMaxSize, 400, true, 0), kFontCreated);
    const GlyphInk a = glyph(1, 0x82a0);
    EXPECT_EQ(a.cx, 2048);
    EXPECT_EQ(a.cy, 2203);  // 1802 + 401 of 2048
    size_t ink = 0;
    for (size_t i = 0; i < size_t(a.cx) * size_t(a.cy); ++i) ink += a.ink[i] != 0;
    EXPECT_GT(ink, 100000u);
    // One giant glyph alone stays cached; a second starts the cache over.
    EXPECT_EQ(glyph(1, 0x82a0).ink, a.ink);
    glyph(1, 0x82a2);
    glyph(1, 0x82a0);
    EXPECT_EQ(font(1).face->rasterisations, 3u);

    // Tiny fonts, emboldened and slanted past their bitmaps' edges.
    for (int32_t height : {1, -1, 2, 5}) {
        ASSERT_EQ(font_create(engine, 2, "MS Gothic", height, 700, true, 0), kFontCreated);
        for (uint16_t code : {0x82a0, 0x40, 0x80, 0x5f}) {
            const GlyphInk small = glyph(2, code, kStyleSlantedBold);
            EXPECT_EQ(small.cy, height < 0 ? -height : height) << height;
        }
    }
}

TEST(GlyphCell, WhatLiesBeyondTheBitmapReadsAsNoInk) {
    FontRecord record;
    record.bits_width = 3;
    record.bits_height = 2;
    record.bits.reset(new uint8_t[6]{1, 2, 3, 4, 5, 6});
    uint8_t out[5 * 3];
    std::memset(out, 0xee, sizeof out);
    font_face_copy_cell(record, 5, 3, out);
    const uint8_t expected[] = {1, 2, 3, 0, 0, 4, 5, 6, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(out, expected, sizeof out), 0);
    font_face_copy_cell(record, 2, 1, out);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[1], 2);
    EXPECT_EQ(out[2], 3);  // past the cell: untouched
}

}  // namespace
}  // namespace qln
