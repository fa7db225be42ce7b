#include "effects/fx_pattern.h"

#include <algorithm>
#include <cstring>

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
    const bool over_itself = &src == &dst;
    const int64_t used = std::min<int64_t>(n, vis.u1 - vis.u0);  // pattern columns a row meets
    for (int32_t v = vis.v0; v < vis.v1; ++v) {
        const uint8_t* mask = fx_pixel(pattern, 0, tile_top + v % n);
        const uint8_t* from = fx_pixel(src, vis.u0, v);
        uint8_t* to = fx_pixel(dst, int64_t(x) + vis.u0, int64_t(y) + v);
        const int64_t mu0 = vis.u0 % n;
        int64_t black = 0;
        for (int64_t i = 0, mu = mu0; i < used; ++i, mu = mu + 1 == n ? 0 : mu + 1)
            black += mask[mu * 3] == 0;
        if (black == 0) continue;
        const size_t count = size_t(vis.u1 - vis.u0);
        // Over itself the pixels go one by one, each reading what the one
        // before it wrote.
        if (black == used && !over_itself) {
            std::memcpy(to, from, count * 3);
            continue;
        }
        for (size_t i = 0, mu = size_t(mu0); i < count; ++i, from += 3, to += 3) {
            if (mask[mu * 3] == 0) fx_put(to, from);
            if (++mu == size_t(n)) mu = 0;
        }
    }
}

}  // namespace qln
