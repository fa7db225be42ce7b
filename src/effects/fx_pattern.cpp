#include "effects/fx_pattern.h"

#include "effects/fx_visible.h"

namespace qln {

void fx_pattern(Picture& dst, int32_t x, int32_t y, const Picture& src, const Picture& pattern,
                uint16_t frame) {
    const int64_t n = pattern.width;
    // The tile must lie inside the pattern; another frame number is a
    // scenario's mistake and draws nothing (the command still succeeds).
    if (n == 0 || n * (int64_t(frame) + 1) > pattern.height) return;
    const FxVisible vis = fx_visible(dst, x, y, src.width, src.height);
    if (vis.empty()) return;
    const int64_t tile_top = n * frame;
    for (int32_t v = vis.v0; v < vis.v1; ++v) {
        const uint8_t* mask = fx_pixel(pattern, 0, tile_top + v % n);
        const uint8_t* from = fx_pixel(src, vis.u0, v);
        uint8_t* to = fx_pixel(dst, int64_t(x) + vis.u0, int64_t(y) + v);
        int64_t mu = vis.u0 % n;
        for (int32_t u = vis.u0; u < vis.u1; ++u, from += 3, to += 3) {
            if (mask[mu * 3] == 0) fx_put(to, from);
            if (++mu == n) mu = 0;
        }
    }
}

}  // namespace qln
