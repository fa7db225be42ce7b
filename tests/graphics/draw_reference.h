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
#include <vector>

#include "graphics/picture.h"

namespace qln::test {

struct PictureDeleter {
    void operator()(Picture* p) const { picture_free(p); }
};
using PicturePtr = std::unique_ptr<Picture, PictureDeleter>;

inline uint8_t ref_scale(int a, int x) {
    return static_cast<uint8_t>((a * x + 128) / 255);
}
inline uint8_t ref_blend(int a, int s, int d) {
    return ref_scale(a, s) + ref_scale(255 - a, d);
}

inline uint8_t ref_rop(int rop, int s, int d) {
    switch (rop) {
        case 1:
            return static_cast<uint8_t>(s & d);
        case 2:
            return static_cast<uint8_t>(s | d);
        case 3:
            return static_cast<uint8_t>(s ^ d);
        case 4:
            return static_cast<uint8_t>(std::min(s + d, 255));
        case 5:
            return static_cast<uint8_t>((s * d) >> 8);
        default:
            return static_cast<uint8_t>(s);
    }
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

// picture_draw from the rules. The source is read from a copy, so a picture
// drawn onto itself behaves as if drawn from a separate one. Every index is
// checked against the pictures.
inline void reference_draw(Picture* dst, int64_t dx, int64_t dy, int64_t dw, int64_t dh,
                           const Picture* src_in, int64_t sx, int64_t sy, int64_t sw, int64_t sh,
                           int32_t opacity, int32_t rop, int32_t flags) {
    opacity &= 0xFF;
    if (opacity == 0) return;
    PicturePtr src = copy_picture(*src_in);
    if (sx == 0 && sy == 0 && sw == 0 && sh == 0) sw = src->width, sh = src->height;
    const bool colour = flags < 100;
    const bool weighted = flags % 10 != 0 && src->alpha;
    const bool copy_alpha = (flags / 10) % 10 != 0 && src->alpha && dst->alpha;
    if (rop < 0 || rop > 5) rop = 0;
    auto put = [&](int64_t x, int64_t y, int64_t u, int64_t v) {
        ASSERT_TRUE(x >= 0 && x < dst->width && y >= 0 && y < dst->height) << x << "," << y;
        ASSERT_TRUE(u >= 0 && u < src->width && v >= 0 && v < src->height) << u << "," << v;
        const size_t di = size_t(y) * dst->width + size_t(x),
                     si = size_t(v) * src->width + size_t(u);
        if (colour) {
            ref_pixel(&dst->pixels[di * 3], &src->pixels[si * 3], weighted ? src->alpha[si] : -1,
                      opacity, rop);
        }
        if (copy_alpha) dst->alpha[di] = src->alpha[si];
    };

    if ((dw != 0 || dh != 0) && (dw != sw || dh != sh)) {
        if (dw < 1 || dh < 1 || sw < 1 || sh < 1) return;
        if (dw > 65535 || dh > 65535 || sw > 65535 || sh > 65535) return;
        const int64_t kx = (dw << 16) / sw, ky = (dh << 16) / sh;
        if (dx < 0) {
            const int64_t c = (-dx << 16) / kx;
            dw += dx;
            sw -= c;
            sx += c;
            dx = 0;
        }
        if (dy < 0) {
            const int64_t c = (-dy << 16) / ky;
            dh += dy;
            sh -= c;
            sy += c;
            dy = 0;
        }
        if (int64_t e = dx + dw - dst->width; e > 0) {
            dw -= e;
            sw -= (e << 16) / kx;
        }
        if (int64_t e = dy + dh - dst->height; e > 0) {
            dh -= e;
            sh -= (e << 16) / ky;
        }
        if (dw < 1 || dh < 1 || sw < 1 || sh < 1) return;
        if (sx < 0) {
            const int64_t c = (kx * -sx) >> 16;
            sw += sx;
            dw -= c;
            dx += c;
            sx = 0;
        }
        if (sy < 0) {
            const int64_t c = (ky * -sy) >> 16;
            sh += sy;
            dh -= c;
            dy += c;
            sy = 0;
        }
        if (sw < 1 || sh < 1) return;
        if (int64_t e = sx + sw - src->width; e > 0) {
            sw -= e;
            dw -= (e * kx) >> 16;
        }
        if (int64_t e = sy + sh - src->height; e > 0) {
            sh -= e;
            dh -= (e * ky) >> 16;
        }
        if (dw < 1 || dh < 1 || sw < 1 || sh < 1) return;
        const uint64_t stepx = (uint64_t(sw) << 16) / uint64_t(dw);
        const uint64_t stepy = (uint64_t(sh) << 16) / uint64_t(dh);
        int64_t v = sy;
        uint64_t fy = 0;
        for (int64_t j = 0; j < dh; ++j) {
            int64_t u = sx;
            uint64_t fx = 0;
            for (int64_t i = 0; i < dw; ++i) {
                put(dx + i, dy + j, u, v);
                fx += stepx;
                u += int64_t(fx >> 16);
                fx &= 0xFFFF;
            }
            fy += stepy;
            v += int64_t(fy >> 16);
            fy &= 0xFFFF;
        }
        return;
    }
    int64_t w = sw, h = sh;
    if (sx < 0) {
        w += sx;
        dx -= sx;
        sx = 0;
    }
    if (sy < 0) {
        h += sy;
        dy -= sy;
        sy = 0;
    }
    if (sx + w > src->width) w = src->width - sx;
    if (sy + h > src->height) h = src->height - sy;
    if (dx < 0) {
        w += dx;
        sx -= dx;
        dx = 0;
    }
    if (dy < 0) {
        h += dy;
        sy -= dy;
        dy = 0;
    }
    if (dx + w > dst->width) w = dst->width - dx;
    if (dy + h > dst->height) h = dst->height - dy;
    for (int64_t y = 0; y < h; ++y)
        for (int64_t x = 0; x < w; ++x) put(dx + x, dy + y, sx + x, sy + y);
}

inline bool same_picture(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height || bool(a.alpha) != bool(b.alpha)) return false;
    if (std::memcmp(a.pixels.get(), b.pixels.get(), a.pixel_bytes()) != 0) return false;
    return !a.alpha || std::memcmp(a.alpha.get(), b.alpha.get(), a.alpha_bytes()) == 0;
}

}  // namespace qln::test
