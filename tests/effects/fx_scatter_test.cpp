// The block spread: placement towards and away from the centre, edge blocks,
// blocks clipped to the area and to the window, block size 0.

#include <gtest/gtest.h>

#include "effects/fx_scatter.h"
#include "effects/letter_pictures.h"

namespace qln::test {
namespace {

struct ScatterCase {
    const char* source;
    int32_t x, y, area_w, area_h, scale, block;
    const char* expected;  // the 8 x 8 destination
};

TEST(FxScatter, PlacesBlocksByScaleAndClipsThemToTheArea) {
    constexpr const char* k4 = "abcd\nefgh\nijkl\nmnop\n";
    const ScatterCase cases[] = {
        {k4, 0, 0, 8, 8, 100, 2,
         "########\n########\n##abcd##\n##efgh##\n##ijkl##\n##mnop##\n########\n########\n"},
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
    for (const ScatterCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scale << " at " << c.x);
        const PicturePtr src = from_letters(c.source);
        const PicturePtr dst = blank(8, 8);
        fx_scatter_draw(*dst, c.x, c.y, *src, c.area_w, c.area_h, c.scale, c.block, kFill);
        EXPECT_EQ(letters(*dst), c.expected);
    }
}

}  // namespace
}  // namespace qln::test
