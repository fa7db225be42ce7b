// String commands as scenarios use them: operands decoded by the dispatcher,
// string registers as operands, results read back by later commands.

#include <gtest/gtest.h>

#include "engine/engine.h"
#include "support/machine.h"
#include "tables/tables.h"

namespace qln {
namespace {

class StringScenario : public ::testing::Test {
  protected:
    int32_t run(std::string_view source) { return m.start(source) ? m.run() : 0; }

    test::Machine m;
    Engine& engine = m.engine;
    NullPlatform& platform = m.platform;
};

TEST_F(StringScenario, JoinMeasureFindAndExpand) {
    EXPECT_EQ(run(R"(
        str_let 3, "abc"
        str_cat 3, "def"
        str_len 3
        eval v3[0] = r[1]
        str_find s[3], "cd"
        eval v3[1] = r[1]
        eval v3[2] = 1234
        str_expand "n=@%\"%5d\",L2@ @#`%d`;l0@", 4
        str_splice 3, 1, 1, s[4]
        str_mid s[3], 0, 4
        str_to_num "-12x"
        eval v3[3] = r[1]
        end
    )"),
              kResultEndAll);
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_EQ(var_get(engine, 3, 0), 6);
    EXPECT_EQ(var_get(engine, 3, 1), 2);
    EXPECT_STREQ(str_get(engine, 4), "n= 1234 \x82\x55");
    EXPECT_STREQ(str_get(engine, 3),
                 "an= 1234 \x82\x55"
                 "cdef");
    EXPECT_STREQ(str_get(engine, 0), "an= ");
    EXPECT_EQ(var_get(engine, 3, 3), -12);
}

TEST_F(StringScenario, ErrorsNameTheOffendingNumber) {
    platform.stop_on_error = false;  // continue past each error
    EXPECT_EQ(run(R"(
        str_len 600
        str_mid "abc", 3, 1
        str_to_buf "x", 9, 0
        eval v3[0] = 1
        end
    )"),
              kResultEndAll);
    ASSERT_EQ(platform.errors.size(), 3u);
    EXPECT_EQ(platform.errors[0].error_number, 114u);
    EXPECT_EQ(platform.errors[0].command, 0x63u);
    EXPECT_STREQ(platform.errors[0].detail, "str_no = 600");
    EXPECT_EQ(platform.errors[1].error_number, 107u);
    EXPECT_STREQ(platform.errors[1].detail, "");
    EXPECT_EQ(platform.errors[2].error_number, 109u);
    EXPECT_STREQ(platform.errors[2].detail, "buf_no = 9");
    EXPECT_EQ(var_get(engine, 3, 0), 1);  // each failed command read all its operands
}

}  // namespace
}  // namespace qln
