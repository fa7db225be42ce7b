// A shifted row is at most two copies and two fills. A shift as wide as the
// row or wider is not an error: with a fill colour the whole row is the
// colour, and a wrapping row turns by the shift modulo its width.

#include "effects/fx_row_shift.h"

#include <algorithm>
#include <cstring>

#include "effects/fx_visible.h"
#include "engine/random_state.h"

namespace qln {
namespace {

void fill_pixels(uint8_t* out, int64_t count, const RowFill& fill) {
    for (int64_t i = 0; i < count; ++i, out += 3) {
        out[0] = fill.blue;
        out[1] = fill.green;
        out[2] = fill.red;
    }
}

// Writes the columns [u0, u1) of a row of width w shifted right by shift to
// out (the destination pixel of column u0).
void shift_row(uint8_t* out, const uint8_t* row, int64_t w, int64_t u0, int64_t u1, int64_t shift,
               const RowFill& fill) {
    if (fill.wrap) {
        const int64_t turn = ((shift % w) + w) % w;
        // Columns below turn come from the row's end, the rest from its start.
        const int64_t split = std::clamp(turn, u0, u1);
        if (split > u0) std::memcpy(out, row + (u0 + w - turn) * 3, size_t(split - u0) * 3);
        if (u1 > split) {
            std::memcpy(out + (split - u0) * 3, row + (split - turn) * 3, size_t(u1 - split) * 3);
        }
        return;
    }
    // Column u takes source column u - shift where that is inside the row.
    const int64_t from = std::clamp(shift, u0, u1), to = std::clamp(w + shift, from, u1);
    fill_pixels(out, from - u0, fill);
    if (to > from) {
        std::memcpy(out + (from - u0) * 3, row + (from - shift) * 3, size_t(to - from) * 3);
    }
    fill_pixels(out + (to - u0) * 3, u1 - to, fill);
}

// Draws every row of src with the shift shift_of(r) gives; shift_of is
// called for every row, visible or not, in order.
template <typename ShiftOf>
void draw_shifted(Picture& dst, int32_t x, int32_t y, const Picture& src, const RowFill& fill,
                  ShiftOf shift_of) {
    const FxVisible vis = fx_visible(dst, x, y, src.width, src.height);
    for (int32_t r = 0; r < src.height; ++r) {
        const int32_t shift = shift_of(r);
        if (vis.empty() || r < vis.v0 || r >= vis.v1) continue;
        shift_row(fx_pixel(dst, int64_t(x) + vis.u0, int64_t(y) + r), fx_pixel(src, 0, r),
                  src.width, vis.u0, vis.u1, shift, fill);
    }
}

}  // namespace

void fx_wave(Picture& dst, int32_t x, int32_t y, const Picture& src, const int16_t* sine,
             uint16_t phase, uint16_t step, uint16_t amplitude, const RowFill& fill) {
    draw_shifted(dst, x, y, src, fill, [&](int32_t r) {
        const uint32_t at = (phase + uint32_t(r) * step) & 1023;
        return int32_t(int64_t(sine[at]) * amplitude / 10000);
    });
}

void fx_jitter(Picture& dst, int32_t x, int32_t y, const Picture& src, uint16_t amplitude,
               Random& random) {
    const int32_t spread = 2 * int32_t(amplitude) + 1;
    draw_shifted(dst, x, y, src, RowFill{},
                 [&](int32_t) { return random_next(random) % spread - int32_t(amplitude); });
}

}  // namespace qln
