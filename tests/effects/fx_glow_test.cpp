// The additive glow against the sum over the whole square at every position,
// written directly from the definition.

#include <gtest/gtest.h>

#include <algorithm>

#include "effects/fx_glow.h"
#include "graphics/draw_reference.h"

namespace qln::test {
namespace {

// Every base pixel at its place, brightened by the light's green around it.
void glow_oracle(Picture& dst, int32_t x, int32_t y, const Picture& light, const Picture& base,
                 int64_t r, int32_t divisor) {
    const int64_t bx = x - (base.width - light.width) / 2;
    const int64_t by = y - (base.height - light.height) / 2;
    const int64_t normaliser = divisor ? (2 * r + 1) * (2 * r + 1) / divisor : 0;
    for (int64_t j = 0; j < base.height; ++j) {
        for (int64_t i = 0; i < base.width; ++i) {
            if (bx + i < 0 || by + j < 0 || bx + i >= dst.width || by + j >= dst.height) continue;
            int64_t sum = 0;
            for (int64_t v = by + j - y - r; v <= by + j - y + r; ++v) {
                for (int64_t u = bx + i - x - r; u <= bx + i - x + r; ++u) {
                    const bool in = u >= 0 && v >= 0 && u < light.width && v < light.height;
                    sum += in ? light.pixels[size_t(v * light.width + u) * 3 + 1] : 0;
                }
            }
            for (size_t c = 0; c < 3; ++c) {
                const int64_t b = base.pixels[size_t(j * base.width + i) * 3 + c];
                dst.pixels[size_t((by + j) * dst.width + bx + i) * 3 + c] =
                    uint8_t(std::min<int64_t>(b + (normaliser ? sum / normaliser : 0), 255));
            }
        }
    }
}

TEST(FxGlow, MatchesTheSumOverTheWholeSquare) {
    struct {
        int32_t light_w, light_h, base_w, base_h, x, y, radius, divisor;
    } const cases[] = {
        {5, 4, 5, 4, 6, 6, 0, 1},     {6, 5, 8, 7, 6, 6, 1, 3},     {6, 5, 10, 9, 6, 6, 2, 7},
        {7, 6, 13, 12, 8, 6, 3, 1},   {5, 5, 16, 16, 9, 7, 5, 2},   {4, 3, 30, 24, 10, 8, 40, 300},
        {6, 5, 10, 9, 6, 6, 2, 0},   // divisor 0: only the base
        {6, 5, 10, 9, 6, 6, 1, 10},  // normaliser 9 / 10 = 0: only the base
        {6, 5, 6, 6, 6, 6, 2, 4},    // base too small: only the positions on it
        {6, 5, 3, 2, 6, 6, 2, 4},    // base smaller than the light, placed by truncation
        {8, 6, 14, 12, -3, -2, 3, 2}, {8, 6, 14, 12, 18, 14, 3, 2},  // cut by the window
    };
    uint32_t seed = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "r " << c.radius << " D " << c.divisor << " at " << c.x);
        const PicturePtr light = random_picture(c.light_w, c.light_h, ++seed, false);
        const PicturePtr base = random_picture(c.base_w, c.base_h, ++seed, false);
        // Dim, so that most sums stay below saturation.
        for (size_t i = 0; i < light->pixel_bytes(); ++i) light->pixels[i] %= 32;
        for (size_t i = 0; i < base->pixel_bytes(); ++i) base->pixels[i] %= 160;
        const PicturePtr dst = random_picture(24, 20, ++seed, false);
        const PicturePtr expected = copy_picture(*dst);
        fx_glow_draw(*dst, c.x, c.y, *light, *base, c.radius, c.divisor);
        glow_oracle(*expected, c.x, c.y, *light, *base, c.radius, c.divisor);
        EXPECT_TRUE(same_picture(*dst, *expected));
    }
}

}  // namespace
}  // namespace qln::test
