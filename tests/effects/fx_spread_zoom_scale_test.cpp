// The scaled copy, the centred zoom and the block spread: 16.16 sampling, the
// zoom's starting rows, columns and fractions, the blocks' placement, clipping
// at the edges of the area and the window.

#include <gtest/gtest.h>

#include <climits>
#include <vector>

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
        {200, 1, 1, "........\n.aabbcc.\n.aabbcc.\n.ddeeff.\n.ddeeff.\n", {6, 4, 6, 4}},
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
        {75, 1, 1, "......\n.abc#.\n.efg#.\n.ijk#.\n.####.\n......\n"},
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

}  // namespace
}  // namespace qln::test
