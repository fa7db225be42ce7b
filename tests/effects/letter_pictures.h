#pragma once
// Small pictures written as letters: a letter pixel is red 0xCC, green 0x88,
// blue = the letter, so a wrong pixel or a swapped channel reads as '?'.
// '.' is black and '#' the fill colour kFill of the effects that fill.

#include <cstdint>
#include <string>
#include <string_view>

#include "effects/fx_rows.h"
#include "graphics/draw_reference.h"
#include "support/pixels.h"

namespace qln::test {

constexpr FxFill kFill{0x30, 0x20, 0x10};
constexpr uint32_t kFillRgb = 0x302010;

inline uint32_t letter_rgb(char c) {
    if (c == '.') return 0;
    if (c == '#') return kFillRgb;
    return 0xCC8800u | uint8_t(c);
}

// Rows ended by '\n', all of one length.
inline PicturePtr from_letters(std::string_view art) {
    const size_t w = art.find('\n'), h = art.size() / (w + 1);
    PicturePtr p(picture_create(uint16_t(w), uint16_t(h)));
    for (size_t y = 0; y < h; ++y) {
        for (size_t x = 0; x < w; ++x)
            set_pixel(*p, int32_t(x), int32_t(y), letter_rgb(art[y * (w + 1) + x]));
    }
    return p;
}

inline PicturePtr blank(int32_t w, int32_t h) {
    std::string art;
    for (int32_t y = 0; y < h; ++y) art += std::string(size_t(w), '.') + '\n';
    return from_letters(art);
}

// The w x h part at (x0, y0), or the whole picture.
inline std::string letters(const Picture& p, int32_t x0 = 0, int32_t y0 = 0, int32_t w = -1,
                           int32_t h = -1) {
    if (w < 0) w = p.width, h = p.height;
    std::string art;
    for (int32_t y = y0; y < y0 + h; ++y) {
        for (int32_t x = x0; x < x0 + w; ++x) {
            const uint32_t rgb = pixel(p, x, y);
            const char c = rgb == 0                       ? '.'
                           : rgb == kFillRgb              ? '#'
                           : (rgb & 0xFFFF00) == 0xCC8800 ? char(rgb)
                                                          : '?';
            art += c;
        }
        art += '\n';
    }
    return art;
}

}  // namespace qln::test
