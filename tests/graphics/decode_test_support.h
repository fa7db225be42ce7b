#pragma once
// Small pictures for the decoder tests: built pixel by pixel, compared
// exactly. Colours use distinct channel values so swapped channels show.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "graphics/decode_formats.h"
#include "graphics/picture.h"

namespace qln::test {

using Bytes = std::vector<uint8_t>;
using Bgr = std::array<uint8_t, 3>;

inline PictureOwner make_picture(uint16_t w, uint16_t h, const std::function<Bgr(int, int)>& f) {
    PictureOwner p(picture_create(w, h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Bgr c = f(x, y);
            for (int k = 0; k < 3; ++k) p->pixels[(size_t(y) * w + x) * 3 + k] = c[k];
        }
    return p;
}

inline Bgr pixel(const Picture& p, int x, int y) {
    const uint8_t* px = p.pixels.get() + (size_t(y) * p.width + x) * 3;
    return {px[0], px[1], px[2]};
}

inline std::vector<Bgr> row(const Picture& p, int y) {
    std::vector<Bgr> r;
    for (int x = 0; x < p.width; ++x) r.push_back(pixel(p, x, y));
    return r;
}
using Row = std::vector<Bgr>;

inline PictureOwner decode(const Bytes& b) {
    return PictureOwner(picture_decode(b.data(), b.size()));
}

// Exact equality of size and every pixel (alpha planes are compared apart).
inline ::testing::AssertionResult same_pixels(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height)
        return ::testing::AssertionFailure()
               << a.width << "x" << a.height << " vs " << b.width << "x" << b.height;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (pixel(a, x, y) != pixel(b, x, y))
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
    return ::testing::AssertionSuccess();
}

inline void put_u16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
inline void put_u32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}

constexpr Bgr black{0, 0, 0};
constexpr Bgr white{255, 255, 255};
constexpr Bgr tint{0x44, 0x88, 0xCC};

}  // namespace qln::test
