// The string pool stops growing at its cap: a string that would take it past
// is refused and every register keeps its text.

#include <gtest/gtest.h>

#include <string>

#include "base/limits.h"
#include "support/machine.h"

namespace qln {
namespace {

TEST(StringPoolLimits, AStringPastTheCapIsRefusedAndTheOthersStay) {
    test::Machine m;
    const std::string big(kStringPoolBytesMax / 2, 'a');
    str_set(m.engine, 1, "kept");
    str_set(m.engine, 2, big.c_str());
    EXPECT_EQ(m.str(2).size(), big.size());
    // Two halves and the rest no longer fit.
    str_set(m.engine, 3, big.c_str());
    EXPECT_EQ(m.str(3), "");
    EXPECT_EQ(m.str(1), "kept");
    EXPECT_EQ(m.str(2).size(), big.size());
    // Small strings still go in, however often they are replaced.
    for (int i = 0; i < 50; ++i)
        str_set(m.engine, 4, std::string(1000, char('b' + i % 20)).c_str());
    EXPECT_EQ(m.str(4), std::string(1000, char('b' + 49 % 20)));
    EXPECT_LE(m.engine.tables.pool.capacity, kStringPoolBytesMax);
}

}  // namespace
}  // namespace qln
