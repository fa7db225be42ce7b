#include "effects/fx_glow.h"

#include <algorithm>
#include <vector>

#include "effects/fx_rows.h"

namespace qln {
namespace {

// The part of the light's area grown by r that has a base pixel under it and
// lies inside dst, in the light's coordinates: [u0, u1) x [v0, v1).
struct GlowRegion {
    int64_t u0 = 0, u1 = 0, v0 = 0, v1 = 0;
    bool empty() const { return u1 <= u0 || v1 <= v0; }
};

GlowRegion glow_region(const Picture& dst, int64_t x, int64_t y, const Picture& light,
                       int64_t base_x, int64_t base_y, const Picture& base, int64_t r) {
    GlowRegion g;
    g.u0 = std::max({-r, base_x - x, -x});
    g.u1 = std::min({light.width + r, base_x + base.width - x, dst.width - x});
    g.v0 = std::max({-r, base_y - y, -y});
    g.v1 = std::min({light.height + r, base_y + base.height - y, dst.height - y});
    return g;
}

// Adds the green bytes of light row v to the column sums, or takes them away;
// rows outside the light count 0.
void add_row(std::vector<uint32_t>& columns, const Picture& light, int64_t v, bool take_away) {
    if (v < 0 || v >= light.height) return;
    const uint8_t* green = fx_pixel(light, 0, v) + 1;
    for (size_t i = 0; i < columns.size(); ++i) {
        if (take_away) {
            columns[i] -= green[i * 3];
        } else {
            columns[i] += green[i * 3];
        }
    }
}

}  // namespace

void fx_glow_draw(Picture& dst, int32_t x, int32_t y, const Picture& light, const Picture& base,
                  int32_t radius, int32_t divisor) {
    const int64_t base_x = fx_glow_base_origin(x, base.width, light.width);
    const int64_t base_y = fx_glow_base_origin(y, base.height, light.height);
    fx_copy_clipped(dst, base_x, base_y, base);
    if (divisor == 0 || radius < 0 || radius > 0xFFFF) return;
    const int64_t r = radius, side = 2 * r + 1;
    const int64_t normaliser = side * side / divisor;
    if (normaliser <= 0) return;
    // A base smaller than the grown area is the scenario's mistake: the
    // positions without a base pixel under them are left alone.
    const GlowRegion g = glow_region(dst, x, y, light, base_x, base_y, base, r);
    if (g.empty()) return;

    // columns[i]: the green bytes of light column i over rows v - r .. v + r.
    const int64_t lw = light.width;
    std::vector<uint32_t> columns(size_t(lw), 0);
    for (int64_t v = std::max<int64_t>(g.v0 - r, 0);
         v <= std::min<int64_t>(g.v0 + r, light.height - 1); ++v) {
        add_row(columns, light, v, false);
    }
    for (int64_t v = g.v0; v < g.v1; ++v) {
        // The sliding sum of the columns u - r .. u + r that exist.
        uint64_t sum = 0;
        for (int64_t i = std::max<int64_t>(g.u0 - r, 0); i <= std::min(g.u0 + r, lw - 1); ++i)
            sum += columns[size_t(i)];
        uint8_t* out = fx_pixel(dst, x + g.u0, y + v);
        const uint8_t* under = fx_pixel(base, x + g.u0 - base_x, y + v - base_y);
        for (int64_t u = g.u0; u < g.u1; ++u, out += 3, under += 3) {
            const uint64_t glow = std::min<uint64_t>(sum / uint64_t(normaliser), 255);
            for (int c = 0; c < 3; ++c) out[c] = uint8_t(std::min<uint64_t>(under[c] + glow, 255));
            const int64_t entering = u + r + 1, leaving = u - r;
            if (entering >= 0 && entering < lw) sum += columns[size_t(entering)];
            if (leaving >= 0 && leaving < lw) sum -= columns[size_t(leaving)];
        }
        add_row(columns, light, v + r + 1, false);
        add_row(columns, light, v - r, true);
    }
}

}  // namespace qln
