// The drawing of the spread, zoom, glow and scaled copy: 16.16 sampling, the
// zoom's starting rows, columns and fractions, the blocks' placement, the glow
// against a direct sum over the whole square, clipping at every edge.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "effects/fx_glow.h"
#include "effects/fx_scale.h"
#include "effects/fx_scatter.h"
#include "effects/fx_zoom.h"
#include "effects/letter_pictures.h"

namespace qln::test {
namespace {

TEST(FxScale, SamplesFromTheTopLeftAndClipsOnEverySide) {
    struct {
        int32_t percent, x, y;
        const char* expected;  // the 8 x 5 window
        std::vector<int32_t> size;
    } const cases[] = {
        // Step 43690: column 3 is at 131070, still source column 1.
        {150, 0, 0, "aabb....\naabb....\nddee....\n........\n........\n", {4, 3, 4, 3}},
        // Cut at the left and top: the source distance of the cut is skipped.
        {150, -1, -1, "abb.....\ndee.....\n........\n........\n........\n", {4, 3, 3, 2}},
        {200, 5, 3, "........\n........\n........\n.....aab\n.....aab\n", {6, 4, 3, 2}},
        {100, 5, 4, "........\n........\n........\n........\n.....abc\n", {3, 2, 3, 1}},
        {0, 0, 0, "........\n........\n........\n........\n........\n", {0, 0, 0, 0}},
        {65535,
         INT_MAX - 9,
         0,
         "........\n........\n........\n........\n........\n",
         {1966, 1310, 0, 0}},
    };
    const PicturePtr src = from_letters("abc\ndef\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        const PicturePtr dst = blank(8, 5);
        const FxScaled s = fx_scale_draw(*dst, c.x, c.y, *src, c.percent);
        EXPECT_EQ(letters(*dst), c.expected);
        EXPECT_EQ(std::vector<int32_t>({s.width, s.height, s.drawn_width, s.drawn_height}), c.size);
    }
}

TEST(FxZoom, ShrinksOnTheFillAndEnlargesTheCentre) {
    struct {
        int32_t percent, x, y;
        const char* expected;  // the 6 x 6 window
    } const cases[] = {
        {0, 1, 1, "......\n......\n......\n......\n......\n......\n"},
        // Half size: a border of a quarter on each side; rows 0 and 2 of 4.
        {50, 1, 1, "......\n.####.\n.#ac#.\n.#ik#.\n.####.\n......\n"},
        // 3 x 3 at offset (0, 0), as the half of 1 is 0; cut at the left.
        {75, -1, 1, "......\nbc#...\nfg#...\njk#...\n###...\n......\n"},
        // Start 1 with fraction 0: source 1, 1, 2, 2.
        {200, 1, 1, "......\n.ffgg.\n.ffgg.\n.jjkk.\n.jjkk.\n......\n"},
        {200, -1, -1, "fgg...\njkk...\njkk...\n......\n......\n......\n"},
        // Start 0 with fraction 43692: source 0, 1, 2, 2.
        {150, 1, 1, "......\n.abcc.\n.efgg.\n.ijkk.\n.ijkk.\n......\n"},
        // Step 100, start 1 with fraction 65336: source 1, 1, 2, 2.
        {65535, 1, 1, "......\n.ffgg.\n.ffgg.\n.jjkk.\n.jjkk.\n......\n"},
    };
    const PicturePtr src = from_letters("abcd\nefgh\nijkl\nmnop\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        const PicturePtr dst = blank(6, 6);
        fx_zoom_draw(*dst, c.x, c.y, *src, c.percent, kFill);
        EXPECT_EQ(letters(*dst), c.expected);
    }
}

TEST(FxScatter, PlacesBlocksByScaleAndClipsThemToTheArea) {
    constexpr const char* k4 = "abcd\nefgh\nijkl\nmnop\n";
    struct {
        const char* source;
        int32_t x, y, area_w, area_h, scale, block;
        const char* expected;  // the 8 x 8 window
    } const cases[] = {
        {k4, 0, 0, 8, 8, 200, 2,
         "########\n#ab##cd#\n#ef##gh#\n########\n########\n#ij##kl#\n#mn##op#\n########\n"},
        // -1 x 50 / 100 truncates to 0: all four blocks land on (3, 3), the last on top.
        {k4, 0, 0, 8, 8, 50, 2,
         "########\n########\n########\n###kl###\n###op###\n########\n########\n########\n"},
        // The right and bottom blocks are one pixel wide and high.
        {"abc\ndef\nghi\n", 0, 0, 7, 7, 200, 2,
         "#######.\n#######.\n##ab##c.\n##de##f.\n#######.\n#######.\n##gh##i.\n........\n"},
        // (3 - 4) / 2 truncates to 0; the area cuts the picture's right and bottom.
        {k4, 1, 1, 3, 3, 100, 2,
         "........\n.abc....\n.efg....\n.ijk....\n........\n........\n........\n........\n"},
        {k4, -2, -2, 8, 8, 200, 2,
         "f##gh#..\n######..\n######..\nj##kl#..\nn##op#..\n######..\n........\n........\n"},
        {k4, 1, 1, 3, 3, 100, 0,
         "........\n.###....\n.###....\n.###....\n........\n........\n........\n........\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scale << " at " << c.x);
        const PicturePtr src = from_letters(c.source);
        const PicturePtr dst = blank(8, 8);
        fx_scatter_draw(*dst, c.x, c.y, *src, c.area_w, c.area_h, c.scale, c.block, kFill);
        EXPECT_EQ(letters(*dst), c.expected);
    }
}

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
        bool bright = false;  // not dimmed: most sums saturate
    } const cases[] = {
        {5, 4, 5, 4, 6, 6, 0, 1},       {6, 5, 8, 7, 6, 6, 1, 3},
        {6, 5, 10, 9, 6, 6, 2, 7},      {7, 6, 13, 12, 8, 6, 3, 1},
        {5, 5, 16, 16, 9, 7, 5, 2},     {4, 3, 30, 24, 10, 8, 40, 300},
        {5, 4, 7, 6, 6, 6, 1, 9, true},  // sums saturate, in a row's last bytes too
        {6, 5, 10, 9, 6, 6, 2, 0},       // divisor 0: only the base
        {6, 5, 10, 9, 6, 6, 1, 10},      // normaliser 9 / 10 = 0: only the base
        {6, 5, 6, 6, 6, 6, 2, 4},        // base too small: only the positions on it
        {6, 5, 3, 2, 6, 6, 2, 4},        // base smaller than the light, placed by truncation
        {8, 6, 14, 12, -3, -2, 3, 2},   {8, 6, 14, 12, 18, 14, 3, 2},  // cut by the window
    };
    uint32_t seed = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "r " << c.radius << " D " << c.divisor << " at " << c.x);
        const PicturePtr light = random_picture(c.light_w, c.light_h, ++seed, false);
        const PicturePtr base = random_picture(c.base_w, c.base_h, ++seed, false);
        // Dim, so that most sums stay below saturation.
        for (size_t i = 0; !c.bright && i < light->pixel_bytes(); ++i) light->pixels[i] %= 32;
        for (size_t i = 0; !c.bright && i < base->pixel_bytes(); ++i) base->pixels[i] %= 160;
        const PicturePtr dst = random_picture(24, 20, ++seed, false);
        const PicturePtr expected = copy_picture(*dst);
        fx_glow_draw(*dst, c.x, c.y, *light, *base, c.radius, c.divisor);
        glow_oracle(*expected, c.x, c.y, *light, *base, c.radius, c.divisor);
        EXPECT_TRUE(same_picture(*dst, *expected));
    }
}

}  // namespace
}  // namespace qln::test
