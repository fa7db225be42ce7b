// String commands through the dispatcher: decoded operands and reported errors.

#include <gtest/gtest.h>

#include "support/machine.h"
#include "windows/window_test_support.h"

namespace qln::test {
namespace {

TEST(StringScenario, ErrorsNameTheOffendingNumber) {
    CommandMachine m;  // continues past each error
    ASSERT_TRUE(m.go(R"(
        str_len 600
        str_mid "abc", 3, 1
        str_to_buf "x", 9, 0
        eval v3[0] = 1
        end
    )"));
    EXPECT_EQ(m.errors(), (std::vector<std::string>{"114 str_no = 600", "107 ", "109 buf_no = 9"}));
    EXPECT_EQ(m.platform.errors[0].command, 0x63u);
    EXPECT_EQ(m.var(3, 0), 1);  // each failed command read all its operands
}

}  // namespace
}  // namespace qln::test
