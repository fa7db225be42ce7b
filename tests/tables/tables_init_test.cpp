#include <gtest/gtest.h>

#include "engine/engine.h"
#include "tables/tables.h"
#include "tables_fixture.h"

namespace qln {
namespace {

using TablesInit = TablesTest;

TEST_F(TablesInit, EveryViewStartsOnItsDefaultArray) {
    const uint32_t counts[10] = {1024, 512, 512, 256, 512, 1024, 512, 512, 512, 256};
    for (int space = 0; space < 10; ++space) {
        SCOPED_TRACE(space);
        EXPECT_EQ(engine.tables.views[space].mapped, 0xFFFF);
        EXPECT_EQ(engine.tables.views[space].count, counts[space]);
        EXPECT_EQ(engine.tables.views[space].reach, counts[space]);
        // The last element is reachable, the next one is not.
        var_set(engine, space, int32_t(counts[space]) - 1, 7);
        EXPECT_EQ(var_get(engine, space, int32_t(counts[space]) - 1), 7);
        var_set(engine, space, int32_t(counts[space]), 7);
        EXPECT_EQ(var_get(engine, space, int32_t(counts[space])), 0);
    }
}

TEST_F(TablesInit, SettingsResizeTheTables) {
    Engine small;
    small.settings.byte_array_size = 3;
    small.settings.dword_array_size = 0;
    small.settings.buffer_count = 2;
    small.settings.string_register_count = 1;
    small.settings.colour_count = 4;
    ASSERT_TRUE(tables_init(small));
    var_set(small, 5, 2, 9);
    EXPECT_EQ(var_get(small, 0, 2), 9);
    var_set(small, 3, 0, 9);
    EXPECT_EQ(var_get(small, 9, 0), 0);
    EXPECT_TRUE(buf_new_raw(small, 1, 4));
    EXPECT_FALSE(buf_new_raw(small, 2, 4));
    EXPECT_STREQ(str_get(small, 0), "");
    EXPECT_EQ(str_get(small, 1), nullptr);
    uint8_t r = 1, g = 1, b = 1;
    EXPECT_TRUE(colour_get(small, 3, r, g, b));
    EXPECT_EQ(r, 127);
    EXPECT_FALSE(colour_get(small, 4, r, g, b));
}

TEST_F(TablesInit, SixteenColoursAreSetTheRestBlackAndOthersIgnored) {
    const uint32_t expected[17] = {0x000000, 0x7F0000, 0x007F00, 0x7F7F00, 0x00007F, 0x7F007F,
                                   0x007F7F, 0xBFBFBF, 0x7F7F7F, 0xFF0000, 0x00FF00, 0xFFFF00,
                                   0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF, 0x000000};
    for (int n = 0; n < 17; ++n) {
        SCOPED_TRACE(n);
        uint8_t r = 1, g = 1, b = 1;
        ASSERT_TRUE(colour_get(engine, n, r, g, b));
        EXPECT_EQ(uint32_t(r << 16 | g << 8 | b), expected[n]);
    }
    // Out of range numbers are ignored and leave the outputs untouched.
    colour_set(engine, 20, 1, 2, 3);
    EXPECT_EQ(engine.tables.colours[20].blue, 3);  // blue, green, red in memory
    EXPECT_EQ(engine.tables.colours[20].red, 1);
    colour_set(engine, 256, 9, 9, 9);
    colour_set(engine, -1, 9, 9, 9);
    uint8_t r = 42, g = 42, b = 42;
    EXPECT_FALSE(colour_get(engine, 256, r, g, b));
    EXPECT_FALSE(colour_get(engine, -1, r, g, b));
    EXPECT_EQ(r + g + b, 3 * 42);
}

TEST_F(TablesInit, ResultBanksAreSeparateAndReadOnlyToScenarios) {
    result_set(engine, 1, 5);
    var_set(engine, 10, 1, 99);
    EXPECT_EQ(var_get(engine, 10, 1), 5);

    results_use_callback_bank(engine, true);
    EXPECT_EQ(result_get(engine, 1), 0);
    result_set(engine, 1, 6);
    EXPECT_EQ(var_get(engine, 10, 1), 6);

    results_use_callback_bank(engine, false);
    EXPECT_EQ(var_get(engine, 10, 1), 5);
    // Values left in the callback bank stay for the next callback.
    results_use_callback_bank(engine, true);
    EXPECT_EQ(result_get(engine, 1), 6);

    result_set(engine, 64, 1);
    EXPECT_EQ(result_get(engine, 64), 0);
}

TEST_F(TablesInit, VarsClearKeepsResultsAndSystemStringsAndReleaseEndsAll) {
    for (int space = 0; space < 4; ++space) var_set(engine, space, 0, 1);
    result_set(engine, 1, 3);
    str_set(engine, 4, "text");
    sysstr_set(engine, 0, "C:\\GAME");
    vars_clear(engine);
    for (int space = 0; space < 4; ++space) {
        EXPECT_EQ(var_get(engine, space, 0), 0);
    }
    EXPECT_EQ(result_get(engine, 1), 3);
    EXPECT_STREQ(str_get(engine, 4), "");
    EXPECT_STREQ(sysstr_get(engine, 0), "C:\\GAME");

    // A release leaves every lookup failing softly.
    ASSERT_TRUE(buf_new_raw(engine, 3, 16));
    int32_t offset = 0;
    ASSERT_TRUE(var_map(engine, 3, 0, offset));
    tables_release(engine);
    EXPECT_FALSE(engine.tables.ready);
    EXPECT_EQ(buf_entry(engine, 3), nullptr);
    var_set(engine, 0, 0, 1);
    EXPECT_EQ(var_get(engine, 0, 0), 0);
    str_set(engine, 0, "x");
    EXPECT_EQ(str_get(engine, 0), nullptr);
    results_use_callback_bank(engine, true);
    // A second start-up works after a release.
    ASSERT_TRUE(tables_init(engine));
    EXPECT_EQ(engine.tables.views[0].mapped, 0xFFFF);
    EXPECT_EQ(buf_entry(engine, 3)->type, BufType::Empty);
}

}  // namespace
}  // namespace qln
