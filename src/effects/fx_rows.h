#pragma once
// Row helpers the scaling and block effects share: the part of a span that
// lies inside a picture, plain row copies, and rows sampled in 16.16 steps.
// Coordinates are 64-bit so that no operand sum can wrap.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "graphics/picture.h"

namespace qln {

// A fill colour of the effects that clear their area first.
struct FxFill {
    uint8_t red = 0, green = 0, blue = 0;
};

// The visible part [first, last) of the span [at, at + length) in a picture
// side of size limit, as offsets from at; empty when last <= first.
struct FxSpan {
    int64_t first = 0, last = 0;
    bool empty() const { return last <= first; }
};

inline FxSpan fx_span(int64_t at, int64_t length, int64_t limit) {
    return FxSpan{std::max<int64_t>(0, -at), std::min<int64_t>(length, limit - at)};
}

inline uint8_t* fx_pixel(Picture& p, int64_t x, int64_t y) {
    return p.pixels.get() + (size_t(y) * p.width + size_t(x)) * 3;
}
inline const uint8_t* fx_pixel(const Picture& p, int64_t x, int64_t y) {
    return p.pixels.get() + (size_t(y) * p.width + size_t(x)) * 3;
}

// Copies the whole of src to (x, y) in dst, cut at dst's edges.
inline void fx_copy_clipped(Picture& dst, int64_t x, int64_t y, const Picture& src) {
    const FxSpan cols = fx_span(x, src.width, dst.width);
    const FxSpan rows = fx_span(y, src.height, dst.height);
    if (cols.empty() || rows.empty()) return;
    const size_t bytes = size_t(cols.last - cols.first) * 3;
    for (int64_t r = rows.first; r < rows.last; ++r) {
        std::memcpy(fx_pixel(dst, x + cols.first, y + r), fx_pixel(src, cols.first, r), bytes);
    }
}

// Writes count pixels to out: pixel k is source column (pos + k * step) >> 16
// of row, in 16.16 fixed point. The caller keeps every column it reaches
// inside the row.
inline void fx_sample_row(uint8_t* out, const uint8_t* row, int64_t count, uint64_t pos,
                          uint32_t step) {
    size_t column = size_t(pos >> 16);
    uint32_t fraction = uint32_t(pos & 0xFFFF);
    for (int64_t k = 0; k < count; ++k, out += 3) {
        const uint8_t* s = row + column * 3;
        out[0] = s[0];
        out[1] = s[1];
        out[2] = s[2];
        fraction += step;
        column += fraction >> 16;
        fraction &= 0xFFFF;
    }
}

}  // namespace qln
