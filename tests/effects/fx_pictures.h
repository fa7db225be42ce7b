#pragma once
// Pictures for the effects' tests. Source pixel (x, y) of a w-wide source
// has red 0xCC and blue y * w + x, so a drawing reads as the source pixels
// it shows, one character each ('0'-'9', 'a'-'z'), '.' for the untouched
// ground, '*' for the fill colour and '_' for black.

#include <string>

#include "graphics/draw_reference.h"
#include "support/pixels.h"

namespace qln::test {

constexpr uint32_t kGround = 0x123456, kFill = 0x33AA77;

inline void fill_sources(Picture& p) {
    for (int32_t i = 0; i < p.width * p.height; ++i)
        set_pixel(p, i % p.width, i / p.width, 0xCC0000u | uint32_t(i));
}
inline PicturePtr source_picture(int32_t w, int32_t h) {
    PicturePtr p(picture_create(uint16_t(w), uint16_t(h)));
    fill_sources(*p);
    return p;
}

// Every row of p, each ended by '/'.
inline std::string all_xs(const Picture& p) {
    std::string s;
    for (int32_t y = 0; y < p.height; ++y) {
        for (int32_t x = 0; x < p.width; ++x) {
            const uint32_t rgb = pixel(p, x, y);
            s += rgb >> 16 == 0xCC ? "0123456789abcdefghijklmnopqrstuvwxyz"[(rgb & 0xFF) % 36]
                 : rgb == kGround  ? '.'
                 : rgb == kFill    ? '*'
                 : rgb == 0        ? '_'
                                   : '?';
        }
        s += '/';
    }
    return s;
}

}  // namespace qln::test
