// One character cell composed: ink, background, shadow, picture-font tints and the mask.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/text_compose.h"
#include "text/text_test_support.h"

namespace qln::test {
namespace {

TextColours test_colours() {
    TextColours c;
    const auto bgr = [](uint8_t* out, uint32_t rgb) {
        out[0] = uint8_t(rgb);
        out[1] = uint8_t(rgb >> 8);
        out[2] = uint8_t(rgb >> 16);
    };
    bgr(c.ink, kInk);
    bgr(c.back, kBack);
    bgr(c.shadow, kShadow);
    return c;
}

// I ink, S shadow, B background, P paper.
std::string letters(const Picture& p) {
    return picture_art(p, {{kInk, 'I'}, {kShadow, 'S'}, {kBack, 'B'}, {kPaper, 'P'}});
}

// A 3 x 3 glyph: ink at (0, 0), (0, 1) and (1, 1).
constexpr uint8_t kInkBytes[9] = {1, 0, 0, 9, 255, 0, 0, 0, 0};

struct GlyphCase {
    const char* name;
    int32_t x, y, sx, sy;
    bool opaque;
    const char* expected;
    Rect changed;
};

TEST(TextCompose, OutlineInkWithBackgroundShadowAndMask) {
    // The shifted cell may overlap the ink (ink wins) or fall off any edge.
    // clang-format off
    const GlyphCase cases[] = {
        {"plain transparent", 1, 1, 0, 0, false,
         "PPPPP\nPIPPP\nPIIPP\nPPPPP\nPPPPP\n", {1, 1, 4, 4}},
        {"plain opaque", 1, 1, 0, 0, true, "PPPPP\nPIBBP\nPIIBP\nPBBBP\nPPPPP\n", {1, 1, 4, 4}},
        {"shadow right and down, transparent", 1, 1, 2, 2, false,
         "PPPPPPP\nPIPPPPP\nPIIPPPP\nPPPSPPP\nPPPSSPP\nPPPPPPP\nPPPPPPP\n", {1, 1, 6, 6}},
        {"shadow right and down, opaque", 1, 1, 2, 2, true,
         "PPPPPPP\nPIBBPPP\nPIIBPPP\nPBBSBBP\nPPPSSBP\nPPPBBBP\nPPPPPPP\n", {1, 1, 6, 6}},
        {"shadow one right, opaque", 1, 1, 1, 0, true,
         "PPPPPP\nPISBBP\nPIISBP\nPBBBBP\nPPPPPP\n", {1, 1, 5, 4}},
        {"shadow left and up, opaque", 3, 3, -2, -2, true,
         "PPPPPPP\nPSBBPPP\nPSSBPPP\nPBBIBBP\nPPPIIBP\nPPPBBBP\nPPPPPPP\n", {1, 1, 6, 6}},
        {"shadow outside the picture", 3, 3, 2, 2, true,
         "PPPPP\nPPPPP\nPPPPP\nPPPIB\nPPPII\n", {3, 3, 5, 5}},
        {"cell outside, shadow inside", -3, -2, 2, 2, true,
         "BBPPP\nSBPPP\nBBPPP\nPPPPP\nPPPPP\n", {0, 0, 2, 3}},
    };
    // clang-format on
    for (const GlyphCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string expected = c.expected;
        Picture p;
        p.width = uint16_t(expected.find('\n'));
        p.height = uint16_t(expected.size() / (p.width + 1u));
        p.pixels.reset(new uint8_t[p.pixel_bytes()]);
        p.alpha.reset(new uint8_t[p.alpha_bytes()]);
        fill_rgb(p, kPaper);
        std::fill(p.alpha.get(), p.alpha.get() + p.alpha_bytes(), 9);
        const GlyphInk glyph{3, 3, kInkBytes};
        const Rect r = text_compose_glyph(text_canvas_of(p, 77, c.opaque), c.x, c.y, glyph,
                                          test_colours(), c.sx, c.sy);
        EXPECT_EQ(letters(p), expected);
        EXPECT_EQ(edges(r), edges(c.changed));
        // The mask lands exactly where a pixel was written.
        for (int32_t y = 0, i = 0; y < p.height; ++y) {
            for (int32_t x = 0; x < p.width; ++x, ++i) {
                const bool written = expected[size_t(y * (p.width + 1) + x)] != 'P';
                EXPECT_EQ(p.alpha[size_t(i)], written ? 77 : 9) << x << "," << y;
            }
        }
    }
}

TEST(TextCompose, NegativeMaskAndPicturesWithoutAlphaLeaveAlphaAlone) {
    Picture p;
    p.width = p.height = 4;
    p.pixels.reset(new uint8_t[p.pixel_bytes()]);
    p.alpha.reset(new uint8_t[p.alpha_bytes()]);
    std::fill(p.alpha.get(), p.alpha.get() + 16, 9);
    const GlyphInk glyph{3, 3, kInkBytes};
    text_compose_glyph(text_canvas_of(p, -1, true), 0, 0, glyph, test_colours(), 1, 1);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(p.alpha[size_t(i)], 9);
    }
    p.alpha.reset();
    fill_rgb(p, kPaper);
    text_compose_glyph(text_canvas_of(p, 77, false), 0, 0, glyph, test_colours(), 0, 0);
    EXPECT_EQ(pixel(p, 1, 1), kInk);
}

// A one-glyph sheet of 4 x 1 with coverages 255, 128, 0, 1: tinted (the
// blue byte) or in its own colour kInk weighted by its alpha plane.
Picture* coverage_sheet(Engine& engine, int32_t buf_no, bool own_colour) {
    Picture* p = buf_new_picture(engine, buf_no, 4, 1);
    const uint8_t cover[4] = {255, 128, 0, 1};
    if (own_colour) p->alpha.reset(new uint8_t[4]);
    for (int32_t i = 0; i < 4; ++i) {
        set_pixel(*p, i, 0, own_colour ? kInk : 0x5A5A00u | cover[i]);
        if (own_colour) p->alpha[size_t(i)] = cover[i];
    }
    return p;
}

TEST(TextCompose, PictureFontCoverageBlendsThroughTheTable) {
    // kInk over kPaper and over kBack at coverage 128 and 1, worked out by
    // hand from table[a][x] = (a * x + 128) / 255.
    const uint32_t transparent[4] = {kInk, 0x9F4A40, kPaper, 0x787777};
    const uint32_t opaque[4] = {kInk, 0x6C1F1D, kBack, 0x112030};
    for (const bool own_colour : {false, true}) {
        SCOPED_TRACE(own_colour ? "own colour" : "tinted");
        TextMachine m;
        ASSERT_TRUE(coverage_sheet(m.engine, 1, own_colour));
        ASSERT_TRUE(picfont_define(m.engine, 1, 1, *buf_get_picture(m.engine, 1), 4, 1, 1, 5, 'A',
                                   'A', own_colour ? 0 : 1));
        m.page->alpha.reset(new uint8_t[m.page->alpha_bytes()]());
        TextSettings s = test_settings(true);
        s.tx_py = 30;
        m.draw("@X1A", s, 66);
        for (int32_t i = 0; i < 4; ++i) {
            EXPECT_EQ(pixel(*m.page, 10 + i, 30), opaque[i]) << i;
            EXPECT_EQ(m.page->alpha[30 * size_t(m.page->width) + 10 + size_t(i)], 66) << i;
        }
        fill_rgb(*m.page, kPaper);
        std::fill(m.page->alpha.get(), m.page->alpha.get() + m.page->alpha_bytes(), 0);
        m.draw("@X1A", test_settings(false), 77);
        for (int32_t i = 0; i < 4; ++i) {
            EXPECT_EQ(pixel(*m.page, 10 + i, 20), transparent[i]) << i;
            EXPECT_EQ(m.page->alpha[20 * size_t(m.page->width) + 10 + size_t(i)], i == 2 ? 0 : 77)
                << i;
        }
    }
}

TEST(TextCompose, ColourSequencesAndTheSavedAttributes) {
    struct Case {
        const char* text;
        bool opaque;
        uint32_t first[4];  // pixel 0 (full coverage) of each cell
        uint32_t third[4];  // pixel 2 (no coverage) of each cell
    };
    constexpr uint32_t P = kPaper;
    const Case cases[] = {
        // "@H" before "@C5": the colours come back at "@R".
        {"@HA@C5AA@RA", false, {kInk, kOther, kOther, kInk}, {P, P, P, P}},
        {"@C5@HA@C1A@RA", false, {kOther, kInk, kOther, 0}, {P, P, P, 0}},
        // "@T5" changes the background only where it is drawn.
        {"@T5A", false, {kInk, 0, 0, 0}, {P, 0, 0, 0}},
        {"A@T5A@C3A", true, {kInk, kInk, kShadow, 0}, {kBack, kOther, kOther, 0}},
        {"@HA@T5@C3A@RA", true, {kInk, kShadow, kInk, 0}, {kBack, kOther, kBack, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TextMachine m;
        ASSERT_TRUE(coverage_sheet(m.engine, 1, false));
        ASSERT_TRUE(
            picfont_define(m.engine, 1, 1, *buf_get_picture(m.engine, 1), 4, 1, 1, 5, 'A', 'A', 1));
        m.draw(std::string("@X1") + c.text, test_settings(c.opaque));
        for (int32_t k = 0; k < 4 && c.first[k]; ++k) {
            EXPECT_EQ(pixel(*m.page, 10 + 5 * k, 20), c.first[k]) << k;
            EXPECT_EQ(pixel(*m.page, 12 + 5 * k, 20), c.third[k]) << k;
        }
    }
}

TEST(TextCompose, SheetsWithoutAlphaAreOpaqueAndColoursOutsideTheTableBlack) {
    TextMachine m;
    Picture* sheet = coverage_sheet(m.engine, 1, true);
    sheet->alpha.reset();
    ASSERT_TRUE(picfont_define(m.engine, 1, 1, *sheet, 4, 1, 1, 5, 'A', 'A', 2));
    m.draw("@X1A", test_settings(false));
    EXPECT_EQ(picture_art(*m.page, {{kInk, 'I'}}, 10, 20, 4, 1), "IIII\n");

    ASSERT_TRUE(coverage_sheet(m.engine, 1, false));
    ASSERT_TRUE(
        picfont_define(m.engine, 1, 1, *buf_get_picture(m.engine, 1), 4, 1, 1, 5, 'A', 'A', 1));
    TextSettings s = test_settings(true);
    s.tx_ccol = 100000;
    s.tx_bcol = 7000000;
    m.draw("@X1A", s);
    EXPECT_EQ(picture_art(*m.page, {{0, '.'}}, 10, 20, 4, 1), "....\n");
}

}  // namespace
}  // namespace qln::test
