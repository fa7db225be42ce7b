#include <gtest/gtest.h>

#include <string>

#include "engine/engine.h"
#include "tables/tables.h"
#include "tables_fixture.h"

namespace qln {
namespace {

using StringPoolTest = TablesTest;

TEST_F(StringPoolTest, CompactionKeepsEveryOtherStringAndGrowsThePool) {
    // Numbers past either table read nothing and store nothing.
    EXPECT_EQ(sysstr_get(engine, 32), nullptr);
    str_set(engine, 512, "lost");
    sysstr_set(engine, 32, "lost");
    EXPECT_EQ(engine.tables.pool.end, 1u);
    str_set(engine, 0, "first");
    str_set(engine, 511, "last register");
    sysstr_set(engine, 1, "system");
    const std::string filler(999, 'x');
    // 65 stores of 1000 bytes each fill the 65,536 bytes; the 66th compacts.
    for (int i = 0; i < 65; ++i) str_set(engine, 7, filler.c_str());
    EXPECT_EQ(engine.tables.pool.capacity, 65536u);
    const std::string last(999, 'y');
    str_set(engine, 7, last.c_str());

    // Live strings in slot order from offset 1, then the new text.
    const uint32_t live = 6 + 1000 + 14 + 7;
    EXPECT_EQ(engine.tables.pool.capacity, 65536u + 1000 + 16);
    EXPECT_EQ(engine.tables.string_slots[0], 1u);
    EXPECT_EQ(engine.tables.string_slots[7], 1u + live);
    EXPECT_EQ(engine.tables.pool.end, 1u + live + 1000);
    EXPECT_STREQ(str_get(engine, 511), "last register");
    EXPECT_STREQ(sysstr_get(engine, 1), "system");
    EXPECT_EQ(str_get(engine, 7), last);
}

TEST_F(StringPoolTest, TextFromThePoolItselfSurvivesCompaction) {
    const std::string big(40000, 'q');
    str_set(engine, 1, big.c_str());
    // The second copy does not fit: the source is read before the old block goes.
    str_set(engine, 2, str_get(engine, 1));
    EXPECT_EQ(str_get(engine, 2), big);
    EXPECT_EQ(str_get(engine, 1), big);
}

}  // namespace
}  // namespace qln
