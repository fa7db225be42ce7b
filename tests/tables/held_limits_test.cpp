// What the data buffers and windows hold together stays under one cap: a
// scenario cannot take more memory by spreading it over many buffers.

#include <gtest/gtest.h>

#include "base/limits.h"
#include "support/machine.h"

namespace qln {
namespace {

TEST(HeldLimits, BuffersAndWindowPicturesAreCountedTogether) {
    test::ScriptedMachine m;
    const uint64_t screen_window = held_bytes(m.engine);
    ASSERT_TRUE(
        m.start(".code\n  buf_alloc 1, 1000\n  win_open 2, 0, width: 10, height: 20\n  end\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(held_bytes(m.engine), screen_window + 1000 + 10 * 20 * 3);
}

TEST(HeldLimits, AnAllocationPastTheSumIsRefusedUntilSomethingIsFreed) {
    test::Machine m;
    const int fits = int(kHeldBytesMax / kDataBufferBytesMax);
    std::string source = ".code\n";
    for (int i = 1; i <= fits; ++i) source += "  buf_alloc " + std::to_string(i) + ", 67108864\n";
    source += "  buf_alloc 99, 67108864\n";  // one too many: -107
    ASSERT_TRUE(m.start(source));
    EXPECT_EQ(m.run(), -107);
    EXPECT_LE(held_bytes(m.engine), kHeldBytesMax);
    ASSERT_TRUE(buf_free(m.engine, 1));
    EXPECT_TRUE(buf_new_raw(m.engine, 99, 67108864));
}

}  // namespace
}  // namespace qln
