// Drawing an animation's frame, by exact pixels (where cells lie on the
// sheet, what draws nothing, the placed and scrolled modes), and the
// scheduler called directly at chosen tick counts.

#include <gtest/gtest.h>

#include <string>

#include "animation/anim_test_support.h"
#include "animation/animation.h"
#include "engine/tickers.h"
#include "support/machine.h"

namespace qln::test {
namespace {

// Draws frame 0 of script at (x, 0); the window's top 8 x 2 as letters.
std::string drawn(AnimFixture& f, std::vector<uint8_t> script, int32_t x = 0) {
    f.put_script(AnimFixture::kScript, script);
    anim_define(f.m.engine, 1, 1, x, 0, AnimFixture::kSheet, AnimFixture::kScript, 0);
    anim_draw(f.m.engine, f.m.engine.animations.records[1]);
    std::string art;
    for (int32_t i = 0; i < 16; ++i) art += cell_letter(pixel(*f.window(), i % 8, i / 8));
    return art;
}

TEST(AnimDraw, CellsAreCutFromTheSheetAndNothingOffItOrOfNoSizeIsDrawn) {
    std::vector<uint8_t> cut = script_bytes(2, 2, 4, 0, {{0, 0, 0, 1}});
    cut.resize(17);  // the frame lacks its last byte
    const std::string nothing(16, '.');
    const struct {
        const char* name;
        std::vector<uint8_t> script;
        int32_t x;
        std::string art;
    } cases[] = {
        {"second row", script_bytes(2, 2, 4, 0, {{5, 0, 0, 1}}), 0, "FF......FF......"},
        {"no cells per row: one row", script_bytes(2, 2, 0, 0, {{3, 0, 0, 1}}), 0,
         "DD......DD......"},
        {"partly off the sheet", script_bytes(3, 2, 0, 0, {{2, 0, 0, 1}}), 0, "DD......DD......"},
        {"wholly off the sheet", script_bytes(3, 2, 0, 0, {{3, 0, 0, 1}}), 0, nothing},
        {"far off the sheet", script_bytes(2, 2, 0, 0, {{65000, 0, 0, 1}}), 0, nothing},
        {"no width", script_bytes(0, 2, 4, 0, {{0, 0, 0, 1}}), 0, nothing},
        {"no frames", script_bytes(2, 2, 4, 0, {}), 0, nothing},
        {"a cut frame", cut, 0, nothing},
        {"far off the window", script_bytes(2, 2, 4, 0, {{0, 0xFFFF, 0, 1}}), 2147483647, nothing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AnimFixture f;
        EXPECT_EQ(drawn(f, c.script, c.x), c.art);
    }
}

TEST(AnimDraw, PlacedCellsGoToTheirOffsetAndScrolledOnesWrapInTheirRectangle) {
    const struct {
        const char* name;
        uint16_t mode, a, b;
        // Window pixel (dx + i, dy + j) shows the cell's ((i + sx) % 4, (j + sy) % 3).
        int32_t dx, dy, sx, sy;
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
        EXPECT_EQ(pixels_off(*f.window(), 8, 8,
                             [&c](int32_t x, int32_t y) {
                                 const int32_t i = x - c.dx, j = y - c.dy;
                                 if (i < 0 || j < 0 || i >= 4 || j >= 3) return kBackground;
                                 return coordinate(4 + (i + c.sx) % 4, (j + c.sy) % 3);
                             }),
                  0);
    }
}

TEST(AnimTick, ALateTickChangesOneFrameAndTheNextCountsFromIt) {
    for (const uint32_t base : {0u, 0xFFFFFF00u}) {  // the tick counter wraps
        SCOPED_TRACE(base);
        AnimFixture f;
        f.put_frames(AnimFixture::kScript, {{0, 0, 0, 10}, {1, 0, 0, 10}, {2, 0, 0, 10}});
        anim_define(f.m.engine, 0, 1, 0, 0, AnimFixture::kSheet, AnimFixture::kScript, 0);
        ASSERT_TRUE(anim_set_running(f.m.engine, 0, true));
        std::string seen;
        for (const uint32_t at : {0u, 99u, 350u, 449u, 450u, 550u}) {
            anim_tick(f.m.engine, base + at);
            seen += cell_letter(pixel(*f.window(), 0, 0));
        }
        EXPECT_EQ(seen, "AABBCA");
        EXPECT_EQ(tickers_quiet_ms(f.m.engine, base + 560, 1000), 90u);
        ASSERT_TRUE(anim_set_running(f.m.engine, 0, false));
        EXPECT_FALSE(tickers_active(f.m.engine));  // nothing runs: no clock reads
    }
}

}  // namespace
}  // namespace qln::test
