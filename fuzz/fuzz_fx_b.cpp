// The block spread, zoom, glow and scaled copy over arbitrary operands on
// small pictures. Every picture's pixels are allocated to the exact byte, so a
// read or write past one is caught; and the window picture must be unchanged
// outside the area the effect may draw, which catches a row wrapping into the
// next.
//
// Input: 7 bytes of choices, then six 32-bit little-endian operands.
//   0     bits 0-1 the effect (spread, zoom, glow, scaled copy); bits 2-7 which
//         operands are taken whole (the others are cut to a signed byte, so
//         that most draws land on the picture)
//   1, 2  window picture width, height (1-64)
//   3, 4  source (the light for the glow) width, height (1-48)
//   5, 6  base picture width, height (1-64)
//   7-30  x, y, then: spread area width, height, scale, block size; zoom
//         percent; glow radius, divisor (cut to 16 bits); scaled-copy percent

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "effects/fx_glow.h"
#include "effects/fx_scale.h"
#include "effects/fx_scatter.h"
#include "effects/fx_zoom.h"

namespace {

using qln::Picture;

// A picture whose pixel block has no spare byte, filled with bytes from seed.
std::unique_ptr<Picture> exact_picture(int w, int h, uint8_t seed) {
    auto p = std::make_unique<Picture>();
    p->width = uint16_t(w);
    p->height = uint16_t(h);
    p->pixels.reset(new uint8_t[p->pixel_bytes()]);
    for (size_t i = 0; i < p->pixel_bytes(); ++i) p->pixels[i] = uint8_t(seed + i * 29);
    return p;
}

int32_t operand(const uint8_t* at, bool whole) {
    const uint32_t v =
        uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
    return whole ? int32_t(v) : int8_t(at[0]);
}

// Aborts when a pixel outside w x h at (x, y) changed.
void check_outside(const Picture& after, const Picture& before, int64_t x, int64_t y, int64_t w,
                   int64_t h) {
    for (int64_t row = 0; row < after.height; ++row) {
        for (int64_t col = 0; col < after.width; ++col) {
            if (col >= x && col < x + w && row >= y && row < y + h) continue;
            const size_t at = (size_t(row) * after.width + size_t(col)) * 3;
            if (std::memcmp(&after.pixels[at], &before.pixels[at], 3) != 0) std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 31) return 0;
    const int effect = data[0] & 3;
    const auto dst = exact_picture(1 + data[1] % 64, 1 + data[2] % 64, data[0]);
    const auto src = exact_picture(1 + data[3] % 48, 1 + data[4] % 48, data[1]);
    const auto base = exact_picture(1 + data[5] % 64, 1 + data[6] % 64, data[2]);
    const auto before = exact_picture(dst->width, dst->height, data[0]);
    int32_t op[6];
    for (int i = 0; i < 6; ++i) op[i] = operand(data + 7 + i * 4, (data[0] >> (2 + i)) & 1);
    const int32_t x = op[0], y = op[1];
    const qln::FxFill fill{data[3], data[4], data[5]};
    switch (effect) {
        case 0:
            qln::fx_scatter_draw(*dst, x, y, *src, op[2], op[3], op[4], op[5], fill);
            check_outside(*dst, *before, x, y, op[2], op[3]);
            break;
        case 1:
            qln::fx_zoom_draw(*dst, x, y, *src, op[2], fill);
            check_outside(*dst, *before, x, y, src->width, src->height);
            break;
        case 2:
            qln::fx_glow_draw(*dst, x, y, *src, *base, op[2] & 0xFFFF, op[3] & 0xFFFF);
            check_outside(*dst, *before, qln::fx_glow_base_origin(x, base->width, src->width),
                          qln::fx_glow_base_origin(y, base->height, src->height), base->width,
                          base->height);
            break;
        default: {
            const qln::FxScaled s = qln::fx_scale_draw(*dst, x, y, *src, op[2]);
            if (s.drawn_width < 0 || s.drawn_height < 0 || s.drawn_width > dst->width ||
                s.drawn_height > dst->height || s.drawn_width > s.width ||
                s.drawn_height > s.height)
                std::abort();
            check_outside(*dst, *before, x, y, s.width, s.height);
        }
    }
    return 0;
}
