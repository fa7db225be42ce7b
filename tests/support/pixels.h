#pragma once
// Reading and writing single pixels of a picture as 0xRRGGBB in tests.

#include <cstddef>
#include <cstdint>

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

}  // namespace qln::test
