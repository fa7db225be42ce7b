// String commands through the dispatcher: decoded operands and reported errors.

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
