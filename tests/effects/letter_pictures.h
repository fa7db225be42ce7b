#pragma once
// Small pictures written as letters: a letter pixel is red 0xCC, green 0x88,
// blue = the letter, so a wrong pixel or a swapped channel reads as '?'; '.'
// is black and '#' the fill colour kFill.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "effects/fx_rows.h"
#include "graphics/draw_reference.h"
#include "support/pixels.h"

namespace qln::test {

constexpr FxFill kFill{0x30, 0x20, 0x10};
constexpr uint32_t kFillRgb = 0x302010;

// Rows ended by '\n', all of one length.
inline PicturePtr from_letters(std::string_view art) {
    const size_t w = art.find('\n'), h = art.size() / (w + 1);
    PicturePtr p(picture_create(uint16_t(w), uint16_t(h)));
    for (size_t i = 0; i < w * h; ++i) {
        const char c = art[i / w * (w + 1) + i % w];
        const uint32_t rgb = c == '.' ? 0 : c == '#' ? kFillRgb : 0xCC8800u | uint8_t(c);
        set_pixel(*p, int32_t(i % w), int32_t(i / w), rgb);
    }
    return p;
}

inline PicturePtr blank(int32_t w, int32_t h) {
    PicturePtr p(picture_create(uint16_t(w), uint16_t(h)));
    std::memset(p->pixels.get(), 0, p->pixel_bytes());
    return p;
}

// The w x h part at (x0, y0), or the whole picture.
inline std::string letters(const Picture& p, int32_t x0 = 0, int32_t y0 = 0, int32_t w = -1,
                           int32_t h = -1) {
    if (w < 0) w = p.width, h = p.height;
    std::string art;
    for (int32_t y = y0; y < y0 + h; ++y, art += '\n') {
        for (int32_t x = x0; x < x0 + w; ++x) {
            const uint32_t rgb = pixel(p, x, y);
            art += rgb == 0 ? '.' : rgb == kFillRgb ? '#' : rgb >> 8 == 0xCC88 ? char(rgb) : '?';
        }
    }
    return art;
}

}  // namespace qln::test
