#pragma once
// Where an effect's area meets the picture it draws into. The effects place
// a w x h area at (x, y) of the window's picture without clipping by rule;
// whatever the operands, they write only the part of the area that lies in
// the picture, and the pixels there come out as if the whole area had been
// drawn.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "graphics/picture.h"

namespace qln {

// Columns [u0, u1) and rows [v0, v1) of the area, counted from its corner.
struct FxVisible {
    int32_t u0 = 0, u1 = 0, v0 = 0, v1 = 0;
    bool empty() const { return u0 >= u1 || v0 >= v1; }
};

inline FxVisible fx_visible(const Picture& dst, int32_t x, int32_t y, int32_t w, int32_t h) {
    auto span = [](int64_t at, int64_t size, int64_t limit, int32_t& lo, int32_t& hi) {
        lo = int32_t(std::clamp<int64_t>(-at, 0, std::max<int64_t>(size, 0)));
        hi = int32_t(std::clamp<int64_t>(limit - at, lo, std::max<int64_t>(size, lo)));
    };
    FxVisible v;
    span(x, w, dst.width, v.u0, v.u1);
    span(y, h, dst.height, v.v0, v.v1);
    return v;
}

// The first byte of pixel (x, y); both inside the picture.
inline uint8_t* fx_pixel(Picture& p, int64_t x, int64_t y) {
    return p.pixels.get() + (size_t(y) * p.width + size_t(x)) * 3;
}
inline const uint8_t* fx_pixel(const Picture& p, int64_t x, int64_t y) {
    return p.pixels.get() + (size_t(y) * p.width + size_t(x)) * 3;
}

inline void fx_put(uint8_t* to, const uint8_t* from) {
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

}  // namespace qln
