// The centred zoom: the shrunk picture on its border, the enlarged centre
// with its starting rows, columns and fractions, clipping at the edges.

#include <gtest/gtest.h>

#include "effects/fx_zoom.h"
#include "effects/letter_pictures.h"

namespace qln::test {
namespace {

struct ZoomCase {
    int32_t percent, x, y;
    const char* expected;  // the 6 x 6 destination
};

TEST(FxZoom, ShrinksOnTheFillAndEnlargesTheCentre) {
    const ZoomCase cases[] = {
        {0, 1, 1, "......\n......\n......\n......\n......\n......\n"},
        {100, 1, 1, "......\n.abcd.\n.efgh.\n.ijkl.\n.mnop.\n......\n"},
        // Half size: a border of a quarter on each side; rows 0 and 2 of 4.
        {50, 1, 1, "......\n.####.\n.#ac#.\n.#ik#.\n.####.\n......\n"},
        // 3 x 3 at offset (0, 0): the half of 1 is 0.
        {75, 1, 1, "......\n.abc#.\n.efg#.\n.ijk#.\n.####.\n......\n"},
        {50, 3, 3, "......\n......\n......\n...###\n...#ac\n...#ik\n"},
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
    for (const ZoomCase& c : cases) {
        SCOPED_TRACE(c.percent);
        const PicturePtr dst = blank(6, 6);
        fx_zoom_draw(*dst, c.x, c.y, *src, c.percent, kFill);
        EXPECT_EQ(letters(*dst), c.expected);
    }
}

}  // namespace
}  // namespace qln::test
