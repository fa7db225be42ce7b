// The scaled copy: 16.16 sampling from the top-left, clipping on every side.

#include <gtest/gtest.h>

#include <climits>

#include "effects/fx_scale.h"
#include "effects/letter_pictures.h"

namespace qln::test {
namespace {

struct ScaleCase {
    int32_t percent, x, y;
    const char* expected;  // the 8 x 5 destination
    FxScaled size;
};

TEST(FxScale, SamplesFromTheTopLeftAndClipsOnEverySide) {
    const ScaleCase cases[] = {
        {200, 1, 1, "........\n.aabbcc.\n.aabbcc.\n.ddeeff.\n.ddeeff.\n", {6, 4, 6, 4}},
        // Step 43690: column 3 is at 131070, still source column 1.
        {150, 0, 0, "aabb....\naabb....\nddee....\n........\n........\n", {4, 3, 4, 3}},
        // Cut at the left and top: the source distance of the cut is skipped.
        {150, -1, -1, "abb.....\ndee.....\n........\n........\n........\n", {4, 3, 3, 2}},
        {200, 5, 3, "........\n........\n........\n.....aab\n.....aab\n", {6, 4, 3, 2}},
        {67, 2, 2, "........\n........\n..ab....\n........\n........\n", {2, 1, 2, 1}},
        {100, 5, 4, "........\n........\n........\n........\n.....abc\n", {3, 2, 3, 1}},
        {0, 0, 0, "........\n........\n........\n........\n........\n", {0, 0, 0, 0}},
        {65535,
         INT_MAX - 9,
         0,
         "........\n........\n........\n........\n........\n",
         {1966, 1310, 0, 0}},
    };
    const PicturePtr src = from_letters("abc\ndef\n");
    for (const ScaleCase& c : cases) {
        SCOPED_TRACE(c.percent);
        const PicturePtr dst = blank(8, 5);
        const FxScaled size = fx_scale_draw(*dst, c.x, c.y, *src, c.percent);
        EXPECT_EQ(letters(*dst), c.expected);
        EXPECT_EQ(
            std::vector<int32_t>({size.width, size.height, size.drawn_width, size.drawn_height}),
            std::vector<int32_t>(
                {c.size.width, c.size.height, c.size.drawn_width, c.size.drawn_height}));
    }
}

}  // namespace
}  // namespace qln::test
