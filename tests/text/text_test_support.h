#pragma once
// Pictures, glyph sheets and glyph ink for the text renderer's tests.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

#include "support/machine.h"
#include "tables/tables.h"
#include "text/font.h"
#include "text/text_draw.h"
#include "windows/window_test_support.h"

namespace qln::test {

// Colours the tests draw with, as 0xRRGGBB.
constexpr uint32_t kInk = 0xC81E0A;     // colour 1
constexpr uint32_t kBack = 0x102030;    // colour 2
constexpr uint32_t kShadow = 0x405060;  // colour 3
constexpr uint32_t kOther = 0x0A0B0C;   // colour 5
constexpr uint32_t kPaper = 0x777777;   // what the pictures hold before drawing

inline void set_test_colours(Engine& engine) {
    for (const auto& [n, rgb] : {std::pair{1, kInk}, {2, kBack}, {3, kShadow}, {5, kOther}})
        colour_set(engine, n, uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
}

// Settings with the test colours: ink 1, transparent background (opaque: 2),
// shadow colour 3, text area from (10, 20) to (100, 60), line pitch 18.
inline TextSettings test_settings(bool opaque = false) {
    TextSettings s;
    s.tx_vt = 18;
    s.tx_ccol = 1;
    s.tx_bcol = opaque ? 2 : -1;
    s.tx_scol = 3;
    s.tx_px = 10;
    s.tx_py = 20;
    s.tx_ex = 100;
    s.tx_ey = 60;
    return s;
}

// A sheet of own-colour glyphs: pixel (i, j) of glyph k is red 0x80 + k,
// green j, blue i, so any copied pixel tells which glyph it came from.
inline uint32_t glyph_pixel(int32_t k, int32_t i, int32_t j) {
    return uint32_t(0x80 + k) << 16 | uint32_t(j) << 8 | uint32_t(i);
}
inline Picture* glyph_sheet(Engine& engine, int32_t buf_no, int32_t w, int32_t h, int32_t per_row,
                            int32_t rows) {
    Picture* p = buf_new_picture(engine, buf_no, uint16_t(w * per_row), uint16_t(h * rows));
    if (!p) return nullptr;
    for (int32_t y = 0; y < p->height; ++y) {
        for (int32_t x = 0; x < p->width; ++x)
            set_pixel(*p, x, y, glyph_pixel(y / h * per_row + x / w, x % w, y % h));
    }
    return p;
}

// Whether glyph k's w x h cell lies at (x, y) of p.
inline ::testing::AssertionResult cell_at(const Picture& p, int32_t k, int32_t x, int32_t y,
                                          int32_t w, int32_t h) {
    for (int32_t j = 0; j < h; ++j) {
        for (int32_t i = 0; i < w; ++i) {
            if (pixel(p, x + i, y + j) != glyph_pixel(k, i, j)) {
                return ::testing::AssertionFailure()
                       << "glyph " << k << " pixel (" << i << ", " << j << ") at (" << x + i << ", "
                       << y + j << ") is " << std::hex << pixel(p, x + i, y + j);
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// Counts the pixels of p that are not c.
inline int32_t pixels_not(const Picture& p, uint32_t c) {
    int32_t n = 0;
    for (int32_t y = 0; y < p.height; ++y) {
        for (int32_t x = 0; x < p.width; ++x) n += pixel(p, x, y) != c;
    }
    return n;
}

// A machine with the test colours and a picture to draw into (buffer 0).
struct TextMachine : CommandMachine {
    Picture* page = nullptr;
    explicit TextMachine(uint16_t w = 120, uint16_t h = 80) {
        set_test_colours(engine);
        page = buf_new_picture(engine, 0, w, h);
        if (page) fill_rgb(*page, kPaper);
    }
    TextDrawResult draw(const std::string& text, const TextSettings& s, int32_t mask = -1) {
        return text_draw(engine, *page, text.c_str(), s, mask);
    }
};

}  // namespace qln::test
