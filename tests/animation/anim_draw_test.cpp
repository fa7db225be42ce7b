// Drawing an animation's frame: where cells lie on the sheet, cells off the
// sheet or of no size, and the placed and scrolled modes, by exact pixels.

#include <gtest/gtest.h>

#include <string>

#include "animation/anim_test_support.h"
#include "animation/animation.h"
#include "support/machine.h"

namespace qln::test {
namespace {

// Draws frame 0 of a one-frame script into a background window.
std::string drawn(AnimFixture& f, const std::vector<uint8_t>& script, int32_t x = 0) {
    f.put_script(AnimFixture::kScript, script);
    anim_define(f.m.engine, 1, 1, x, 0, AnimFixture::kSheet, AnimFixture::kScript, 0);
    anim_draw(f.m.engine, f.m.engine.animations.records[1]);
    std::string art;
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 8; ++x) art += cell_letter(pixel(*f.window(), x, y));
        art += '\n';
    }
    return art;
}

TEST(AnimDraw, CellsAreCutFromTheSheetAndNothingOffItOrOfNoSizeIsDrawn) {
    const struct {
        const char* name;
        uint16_t w, h, per_row, cell;
        const char* art;
    } cases[] = {
        {"second row", 2, 2, 4, 5, "FF......\nFF......\n........\n........\n"},
        {"two to a row", 2, 2, 2, 2, "EE......\nEE......\n........\n........\n"},
        {"no cells per row: one row", 2, 2, 0, 3, "DD......\nDD......\n........\n........\n"},
        {"partly off the sheet", 3, 2, 0, 2, "DD......\nDD......\n........\n........\n"},
        {"wholly off the sheet", 3, 2, 0, 3, "........\n........\n........\n........\n"},
        {"far off the sheet", 2, 2, 0, 65000, "........\n........\n........\n........\n"},
        {"no width", 0, 2, 4, 0, "........\n........\n........\n........\n"},
        {"no height", 2, 0, 0, 0, "........\n........\n........\n........\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AnimFixture f;
        EXPECT_EQ(drawn(f, script_bytes(c.w, c.h, c.per_row, 0, {{c.cell, 0, 0, 1}})), c.art);
    }
}

TEST(AnimDraw, AFrameEndMarkerAShortScriptOrAFarPlaceDrawNothing) {
    AnimFixture f;
    const std::string empty = "........\n........\n........\n........\n";
    EXPECT_EQ(drawn(f, script_bytes(2, 2, 4, 0, {})), empty);
    std::vector<uint8_t> cut = script_bytes(2, 2, 4, 0, {{0, 0, 0, 1}});
    cut.resize(17);  // the frame lacks its last byte
    EXPECT_EQ(drawn(f, cut), empty);
    EXPECT_EQ(drawn(f, script_bytes(2, 2, 4, 0, {{0, 0xFFFF, 0, 1}}), 2147483647), empty);
}

TEST(AnimDraw, PlacedCellsGoToTheirOffsetAndScrolledOnesWrapInTheirRectangle) {
    const struct {
        const char* name;
        uint16_t mode, a, b;
        int32_t dx,
            dy;  // window pixel (dx + i, dy + j) shows the cell's ((i + sx) % 4, (j + sy) % 3)
        int32_t sx, sy;
    } cases[] = {
        {"placed", 0, 1, 2, 1, 2, 0, 0},
        {"scrolled", 1, 1, 2, 0, 0, 1, 2},
        {"scrolled a whole width and height", 7, 4, 3, 0, 0, 0, 0},
        {"scrolled by more than the cell", 1, 6, 4, 0, 0, 2, 1},
        {"scrolled up only", 1, 0, 1, 0, 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AnimFixture f;
        fill_coordinates(*buf_get_picture(f.m.engine, AnimFixture::kSheet));
        // Cell 1 of 4 x 3 cells, two to a row: the sheet's (4, 0) to (7, 2).
        drawn(f, script_bytes(4, 3, 2, c.mode, {{1, c.a, c.b, 1}}));
        const Picture& window = *f.window();
        EXPECT_EQ(pixels_off(window, 8, 8,
                             [&c](int32_t x, int32_t y) {
                                 const int32_t i = x - c.dx, j = y - c.dy;
                                 if (i < 0 || j < 0 || i >= 4 || j >= 3) return kBackground;
                                 return coordinate(4 + (i + c.sx) % 4, (j + c.sy) % 3);
                             }),
                  0);
    }
}

}  // namespace
}  // namespace qln::test
