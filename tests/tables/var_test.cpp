#include <gtest/gtest.h>

#include <cstring>

#include "engine/engine.h"
#include "scenario/scenario.h"
#include "tables/tables.h"
#include "tables_fixture.h"

namespace qln {
namespace {

using Variables = TablesTest;

TEST_F(Variables, SpacesShareTheirDefaultArraysWithTheirWidths) {
    // In order: each row writes through one space and reads through another.
    const struct {
        int32_t set_space, index, value, get_space, expected;
    } cases[] = {{0, 5, 300, 5, 44},   {5, 6, -1, 0, 255},  // bytes, read unsigned
                 {1, 7, -1, 8, -1},    {1, 7, -1, 6, -1},   // signed words
                 {1, 7, -1, 2, 0},     {6, 8, 0x12345, 1, 0x2345},
                 {2, 7, -1, 4, 65535}, {2, 7, -1, 7, 65535},  // unsigned words
                 {2, 7, -1, 1, -1},    {3, 2, INT32_MIN, 9, INT32_MIN}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.set_space << " -> " << c.get_space);
        var_set(engine, c.set_space, c.index, c.value);
        EXPECT_EQ(var_get(engine, c.get_space, c.index), c.expected);
    }
    EXPECT_EQ(var_get(engine, 3, 3), 0);
}

TEST_F(Variables, ImmediateSpaceAndBadNumbersNeverFault) {
    EXPECT_EQ(var_get(engine, -1, 1234), 1234);
    var_set(engine, 0, -3, 9);
    EXPECT_EQ(var_get(engine, 0, -3), 0);
    EXPECT_EQ(var_get(engine, 0, INT32_MAX), 0);
    var_set(engine, 12, 0, 5);
    EXPECT_EQ(var_get(engine, 12, 0), 0);
    EXPECT_EQ(var_get(engine, -2, 0), 0);
}

TEST_F(Variables, SpaceElevenIsTheCurrentScenariosLocals) {
    EXPECT_EQ(var_get(engine, 11, 0), 0);  // no scenario: reads 0
    var_set(engine, 11, 0, 5);

    Scenario scenario;
    scenario.local_count = 4;
    scenario.locals.reset(new int32_t[4]());
    engine.interp.current = &scenario;
    var_set(engine, 11, 3, -70000);
    EXPECT_EQ(var_get(engine, 11, 3), -70000);
    EXPECT_EQ(scenario.locals[3], -70000);
    var_set(engine, 11, 4, 1);
    EXPECT_EQ(var_get(engine, 11, 4), 0);
    engine.interp.current = nullptr;
}

class Mapping : public TablesTest {
  protected:
    uint8_t* raw(int buf_no) { return buf_get_raw(engine, buf_no); }
};

TEST_F(Mapping, DoubleWordsOnTenBytesGiveTwoAndRestoreKeepsOldValues) {
    var_set(engine, 3, 0, 111);
    var_set(engine, 3, 255, 222);
    ASSERT_TRUE(buf_new_raw(engine, 4, 10));
    int32_t offset = 0;
    ASSERT_TRUE(var_map(engine, 4, 3, offset));
    EXPECT_EQ(engine.tables.views[3].count, 2u);
    EXPECT_EQ(engine.tables.views[3].mapped, 4);
    EXPECT_EQ(var_get(engine, 9, 0), 111);  // space 9 keeps the default array

    var_set(engine, 3, 1, 0x04030201);
    var_set(engine, 3, 2, 7);  // past the count
    EXPECT_EQ(var_get(engine, 3, 1), 0x04030201);
    const uint8_t expected[10] = {0, 0, 0, 0, 1, 2, 3, 4, 0, 0};
    EXPECT_EQ(std::memcmp(raw(4), expected, 10), 0);

    offset = 0;
    ASSERT_TRUE(var_map(engine, -1, 3, offset));
    EXPECT_EQ(engine.tables.views[3].count, 256u);
    EXPECT_EQ(engine.tables.views[3].mapped, 0xFFFF);
    EXPECT_EQ(var_get(engine, 3, 0), 111);
    EXPECT_EQ(var_get(engine, 3, 255), 222);
}

TEST_F(Mapping, OffsetViewsOfRawBuffersReachOnlyTheBytesInside) {
    ASSERT_TRUE(buf_new_raw(engine, 1, 8));
    int32_t offset = 3;
    ASSERT_TRUE(var_map(engine, 1, 1, offset));
    // The count is the whole buffer's, but only two words fit after byte 3.
    EXPECT_EQ(engine.tables.views[1].count, 4u);
    var_set(engine, 1, 0, -2);
    var_set(engine, 1, 1, 0x0102);
    var_set(engine, 1, 2, 0x7777);  // would cover bytes 7 and 8
    EXPECT_EQ(var_get(engine, 1, 0), -2);
    EXPECT_EQ(var_get(engine, 1, 2), 0);
    const uint8_t expected[8] = {0, 0, 0, 0xFE, 0xFF, 0x02, 0x01, 0};
    EXPECT_EQ(std::memcmp(raw(1), expected, 8), 0);

    offset = 100;  // past the end: nothing reachable
    ASSERT_TRUE(var_map(engine, 1, 0, offset));
    EXPECT_EQ(engine.tables.views[0].count, 8u);
    var_set(engine, 0, 0, 1);
    EXPECT_EQ(var_get(engine, 0, 0), 0);

    offset = -1;
    EXPECT_FALSE(var_map(engine, 1, 5, offset));
    EXPECT_EQ(engine.tables.views[5].mapped, 0xFFFF);

    // Only raw buffers can be mapped.
    offset = 0;
    ASSERT_TRUE(buf_new_regions(engine, 2, 3));
    EXPECT_FALSE(var_map(engine, 2, 5, offset));
    EXPECT_FALSE(var_map(engine, -1, 13, offset));
    // Spaces 10 and 11 are never mapped, and saying so is no failure.
    EXPECT_TRUE(var_map(engine, 2, 10, offset));
    EXPECT_TRUE(var_map(engine, -1, 11, offset));
    EXPECT_EQ(engine.tables.views[5].mapped, 0xFFFF);
}

TEST_F(Mapping, FreedOrReplacedBuffersLeaveTheirViewsEmpty) {
    var_set(engine, 0, 0, 9);
    ASSERT_TRUE(buf_new_raw(engine, 6, 4));
    int32_t offset = 0;
    ASSERT_TRUE(var_map(engine, 6, 0, offset));
    ASSERT_TRUE(var_map(engine, 6, 2, offset));
    var_set(engine, 0, 1, 5);
    ASSERT_TRUE(buf_free(engine, 6));
    // Still reported as mapped, but no longer reaching memory.
    EXPECT_EQ(engine.tables.views[0].mapped, 6);
    EXPECT_EQ(var_get(engine, 0, 1), 0);
    var_set(engine, 0, 1, 5);
    EXPECT_EQ(var_get(engine, 5, 0), 9);  // the default array was not touched

    // A new buffer in the same slot does not revive the old views.
    ASSERT_TRUE(buf_new_raw(engine, 6, 4));
    EXPECT_EQ(var_get(engine, 0, 1), 0);
    var_set(engine, 2, 0, 3);
    EXPECT_EQ(raw(6)[0], 0);
    // Mapping again reaches the new bytes.
    ASSERT_TRUE(var_map(engine, 6, 0, offset));
    var_set(engine, 0, 1, 5);
    EXPECT_EQ(raw(6)[1], 5);

    ASSERT_TRUE(buf_new_raw(engine, 7, 4));
    ASSERT_TRUE(var_map(engine, 7, 0, offset));
    ASSERT_TRUE(buf_dup(engine, 6, 7));  // dst freed
    EXPECT_EQ(var_get(engine, 0, 0), 0);
}

}  // namespace
}  // namespace qln
