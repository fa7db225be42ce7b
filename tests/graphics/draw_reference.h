#pragma once
// Plain per-pixel drawing written from the drawing rules, with the rounding
// formula itself instead of the table: the fast code is held to these bytes.
// Also small helpers that make test pictures.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>

#include "graphics/picture.h"
#include "support/pixels.h"

namespace qln::test {

struct PictureDeleter {
    void operator()(Picture* p) const { picture_free(p); }
};
using PicturePtr = std::unique_ptr<Picture, PictureDeleter>;

// A w x h picture of one colour (0xRRGGBB).
inline PicturePtr filled_picture(int w, int h, uint32_t rgb) {
    PicturePtr p(picture_create(uint16_t(w), uint16_t(h)));
    for (int i = 0; i < w * h; ++i) set_pixel(*p, i % w, i / w, rgb);
    return p;
}

inline uint8_t ref_scale(int a, int x) {
    return static_cast<uint8_t>((a * x + 128) / 255);
}
inline uint8_t ref_blend(int a, int s, int d) {
    return ref_scale(a, s) + ref_scale(255 - a, d);
}

// Rops 1-5: and, or, xor, saturating add, multiply; others copy.
inline uint8_t ref_rop(int rop, int s, int d) {
    const int v[6] = {s, s & d, s | d, s ^ d, std::min(s + d, 255), (s * d) >> 8};
    return static_cast<uint8_t>(v[rop >= 1 && rop <= 5 ? rop : 0]);
}

// A picture of random bytes (fixed seed); an alpha plane mixing 0, 255 and
// in-between values in runs, as sprites have.
inline PicturePtr random_picture(int w, int h, uint32_t seed, bool with_alpha) {
    PicturePtr p(picture_create(static_cast<uint16_t>(w), static_cast<uint16_t>(h)));
    std::mt19937 rng(seed);
    for (size_t i = 0; i < p->pixel_bytes(); ++i) p->pixels[i] = static_cast<uint8_t>(rng());
    if (with_alpha) {
        p->alpha.reset(new uint8_t[p->alpha_bytes() + 1]);
        size_t i = 0;
        while (i < p->alpha_bytes()) {
            const size_t run = 1 + rng() % 40;
            const uint32_t kind = rng() % 3;
            for (size_t k = 0; k < run && i < p->alpha_bytes(); ++k, ++i) {
                p->alpha[i] = kind == 0 ? 0 : kind == 1 ? 255 : static_cast<uint8_t>(rng());
            }
        }
    }
    return p;
}

inline PicturePtr copy_picture(const Picture& src) {
    PicturePtr p(picture_create(src.width, src.height));
    std::memcpy(p->pixels.get(), src.pixels.get(), src.pixel_bytes());
    if (src.alpha) {
        p->alpha.reset(new uint8_t[src.alpha_bytes() + 1]);
        std::memcpy(p->alpha.get(), src.alpha.get(), src.alpha_bytes());
    }
    return p;
}

// One pixel through the colour rules; sa is the source alpha or -1.
inline void ref_pixel(uint8_t* d, const uint8_t* s, int sa, int opacity, int rop) {
    const int a = sa >= 0 ? ref_scale(opacity, sa) : opacity;
    for (int c = 0; c < 3; ++c) {
        const uint8_t m = ref_rop(rop, s[c], d[c]);
        d[c] = a == 255 ? m : ref_blend(a, m, d[c]);
    }
}

// picture_draw from the rules, for rectangles inside both pictures (the
// clipping is held to exact pictures apart). The source is read from a copy,
// so a picture drawn onto itself acts as if drawn from a separate one.
inline void reference_draw(Picture* dst, int dx, int dy, int dw, int dh, const Picture* src_in,
                           int sx, int sy, int sw, int sh, int opacity, int rop, int flags) {
    opacity &= 0xFF;
    if (opacity == 0) return;
    PicturePtr src = copy_picture(*src_in);
    const bool colour = flags < 100;
    const bool weighted = flags % 10 != 0 && src->alpha;
    const bool copy_alpha = (flags / 10) % 10 != 0 && src->alpha && dst->alpha;
    if (rop < 0 || rop > 5) rop = 0;
    if (dw == 0 && dh == 0) dw = sw, dh = sh;
    // Nearest sample in 16.16 steps, truncated; 1:1 when the sizes agree.
    const int64_t stepx = (int64_t(sw) << 16) / dw, stepy = (int64_t(sh) << 16) / dh;
    for (int64_t j = 0; j < dh; ++j)
        for (int64_t i = 0; i < dw; ++i) {
            const int64_t x = dx + i, y = dy + j;
            const int64_t u = sx + (i * stepx >> 16), v = sy + (j * stepy >> 16);
            ASSERT_TRUE(x >= 0 && x < dst->width && y >= 0 && y < dst->height) << x << "," << y;
            ASSERT_TRUE(u >= 0 && u < src->width && v >= 0 && v < src->height) << u << "," << v;
            const size_t di = size_t(y) * dst->width + size_t(x),
                         si = size_t(v) * src->width + size_t(u);
            if (colour)
                ref_pixel(&dst->pixels[di * 3], &src->pixels[si * 3],
                          weighted ? src->alpha[si] : -1, opacity, rop);
            if (copy_alpha) dst->alpha[di] = src->alpha[si];
        }
}

inline bool same_picture(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height || bool(a.alpha) != bool(b.alpha)) return false;
    if (std::memcmp(a.pixels.get(), b.pixels.get(), a.pixel_bytes()) != 0) return false;
    return !a.alpha || std::memcmp(a.alpha.get(), b.alpha.get(), a.alpha_bytes()) == 0;
}

}  // namespace qln::test
