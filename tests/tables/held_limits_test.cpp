// What the data buffers and windows hold together stays under one cap.

#include <gtest/gtest.h>

#include "base/limits.h"
#include "support/machine.h"

namespace qln {
namespace {

TEST(HeldLimits, AnAllocationPastTheSumIsRefusedUntilSomethingIsFreed) {
    test::Machine m;
    std::string source = ".code\n";
    for (uint64_t i = 1; i <= kHeldBytesMax / kDataBufferBytesMax + 1; ++i)
        source += "  buf_alloc " + std::to_string(i) + ", 67108864\n";
    ASSERT_TRUE(m.start(source));
    EXPECT_EQ(m.run(), -107);  // the one past the sum
    ASSERT_TRUE(buf_free(m.engine, 1));
    EXPECT_TRUE(buf_new_raw(m.engine, 99, 67108864));
}

}  // namespace
}  // namespace qln
