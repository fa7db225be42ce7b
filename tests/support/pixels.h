#pragma once
// Reading and writing pixels of a picture as 0xRRGGBB in tests, and two
// compact exact forms of a whole picture: character art and a hash.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

#include "graphics/picture.h"

namespace qln::test {

inline uint32_t pixel(const Picture& p, int32_t x, int32_t y) {
    const uint8_t* q = p.pixels.get() + (size_t(y) * p.width + size_t(x)) * 3;
    return uint32_t(q[2]) << 16 | uint32_t(q[1]) << 8 | q[0];
}

inline void set_pixel(Picture& p, int32_t x, int32_t y, uint32_t rgb) {
    uint8_t* q = p.pixels.get() + (size_t(y) * p.width + size_t(x)) * 3;
    q[0] = uint8_t(rgb);
    q[1] = uint8_t(rgb >> 8);
    q[2] = uint8_t(rgb >> 16);
}

// One character per pixel, rows ended by '\n'; a colour missing from the
// legend shows as '?', so a wrong colour is never mistaken for a right one.
// Expected pictures read as drawings: EXPECT_EQ(picture_art(p, {{0, '.'},
// {0xFFFFFF, '#'}}), ".#.\n###\n").
using ArtLegend = std::initializer_list<std::pair<uint32_t, char>>;

inline std::string picture_art(const Picture& p, ArtLegend legend, int32_t x0 = 0, int32_t y0 = 0,
                               int32_t w = -1, int32_t h = -1) {
    if (w < 0) w = int32_t(p.width) - x0;
    if (h < 0) h = int32_t(p.height) - y0;
    std::string art;
    art.reserve(size_t(w + 1) * size_t(h));
    for (int32_t y = y0; y < y0 + h; ++y) {
        for (int32_t x = x0; x < x0 + w; ++x) {
            char c = '?';
            for (const auto& [rgb, mark] : legend) {
                if (rgb == pixel(p, x, y)) c = mark;
            }
            art += c;
        }
        art += '\n';
    }
    return art;
}

// FNV-1a over bytes: pins a large exact result (a whole picture, a file) in
// one line once its content has been checked by eye or by a reference.
inline uint64_t bytes_hash(const uint8_t* bytes, size_t size,
                           uint64_t h = 14695981039346656037ull) {
    for (size_t i = 0; i < size; ++i) h = (h ^ bytes[i]) * 1099511628211ull;
    return h;
}

// The size, the colour bytes and the alpha plane when there is one.
inline uint64_t picture_hash(const Picture& p) {
    const uint32_t size[2] = {p.width, p.height};
    uint64_t h = bytes_hash(reinterpret_cast<const uint8_t*>(size), sizeof size);
    h = bytes_hash(p.pixels.get(), size_t(p.width) * p.height * 3, h);
    if (p.alpha) h = bytes_hash(p.alpha.get(), size_t(p.width) * p.height, h);
    return h;
}

}  // namespace qln::test
