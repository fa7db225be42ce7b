// The additive glow against the sum over the whole square at every position,
// written directly from the definition.

#include <gtest/gtest.h>

#include <algorithm>

#include "effects/fx_glow.h"
#include "graphics/draw_reference.h"

namespace qln::test {
namespace {

uint8_t green_at(const Picture& p, int64_t u, int64_t v) {
    if (u < 0 || v < 0 || u >= p.width || v >= p.height) return 0;
    return p.pixels[(size_t(v) * p.width + size_t(u)) * 3 + 1];
}

// Every base pixel at its place, brightened where it lies in the light's area
// grown by r.
void glow_oracle(Picture& dst, int32_t x, int32_t y, const Picture& light, const Picture& base,
                 int32_t r, int32_t divisor) {
    const int64_t bx = x - (base.width - light.width) / 2;
    const int64_t by = y - (base.height - light.height) / 2;
    const int64_t side = 2 * int64_t(r) + 1;
    const int64_t normaliser = divisor ? side * side / divisor : 0;
    for (int64_t j = 0; j < base.height; ++j) {
        for (int64_t i = 0; i < base.width; ++i) {
            const int64_t px = bx + i, py = by + j, u = px - x, v = py - y;
            if (px < 0 || py < 0 || px >= dst.width || py >= dst.height) continue;
            int64_t glow = 0;
            if (normaliser > 0 && u >= -r && v >= -r && u < light.width + r &&
                v < light.height + r) {
                int64_t sum = 0;
                for (int64_t dv = -r; dv <= r; ++dv) {
                    for (int64_t du = -r; du <= r; ++du) sum += green_at(light, u + du, v + dv);
                }
                glow = sum / normaliser;
            }
            for (int c = 0; c < 3; ++c) {
                const size_t at = (size_t(j) * base.width + size_t(i)) * 3 + size_t(c);
                dst.pixels[(size_t(py) * dst.width + size_t(px)) * 3 + size_t(c)] =
                    uint8_t(std::min<int64_t>(base.pixels[at] + glow, 255));
            }
        }
    }
}

// Random bytes kept below limit, so that most sums stay below saturation.
PicturePtr random_below(int32_t w, int32_t h, uint32_t seed, uint8_t limit) {
    PicturePtr p = random_picture(w, h, seed, false);
    for (size_t i = 0; i < p->pixel_bytes(); ++i) p->pixels[i] %= limit;
    return p;
}

struct GlowCase {
    int32_t light_w, light_h, base_w, base_h, x, y, radius, divisor;
};

TEST(FxGlow, MatchesTheSumOverTheWholeSquare) {
    const GlowCase cases[] = {
        {5, 4, 5, 4, 6, 6, 0, 1},     {6, 5, 8, 7, 6, 6, 1, 3},     {6, 5, 10, 9, 6, 6, 2, 7},
        {7, 6, 13, 12, 8, 6, 3, 1},   {5, 5, 16, 16, 9, 7, 5, 2},   {4, 3, 30, 24, 10, 8, 40, 300},
        {6, 5, 10, 9, 6, 6, 2, 0},   // divisor 0: only the base
        {6, 5, 10, 9, 6, 6, 1, 10},  // 9 / 10 = 0: only the base
        {6, 5, 6, 6, 6, 6, 2, 4},    // base too small: only the positions on it
        {6, 5, 3, 2, 6, 6, 2, 4},    // base smaller than the light, placed by truncation
        {8, 6, 14, 12, -3, -2, 3, 2}, {8, 6, 14, 12, 18, 14, 3, 2},  // cut by the window
    };
    uint32_t seed = 1;
    for (const GlowCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "radius " << c.radius << " divisor " << c.divisor
                                        << " at " << c.x << ", " << c.y);
        const PicturePtr light = random_below(c.light_w, c.light_h, ++seed, 32);
        const PicturePtr base = random_below(c.base_w, c.base_h, ++seed, 160);
        const PicturePtr dst = random_picture(24, 20, ++seed, false);
        const PicturePtr expected = copy_picture(*dst);
        fx_glow_draw(*dst, c.x, c.y, *light, *base, c.radius, c.divisor);
        glow_oracle(*expected, c.x, c.y, *light, *base, c.radius, c.divisor);
        EXPECT_TRUE(same_picture(*dst, *expected));
    }
}

}  // namespace
}  // namespace qln::test
