// Operand lists read where the code ends: nothing past the end of the code is
// an item, and a list running past offset 0xFFFF (a 16-bit pc) ends there
// instead of reading the image again from its start.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/machine.h"

namespace qln::test {
namespace {

// win_no 1, then count key-value items (key 1, value byte 5) and no end marker.
std::string key_values_without_end(int count) {
    // No strings: the table offset need not follow the code.
    std::string source = ".strtab_offset 0\n.code\n  .bytes 0x00 0x01 0x7F\n";
    for (int i = 0; i < count; ++i) source += "  .bytes 0x01 0x00 0x05 0x7F\n";
    return source;
}

TEST(OperandLists, EndWithTheCodeAndNeverWrapPastTheLastOffset) {
    for (const int items : {2, 16000, 17000}) {
        Machine m;
        ASSERT_TRUE(m.start(key_values_without_end(items)));
        const uint32_t first_item = m.engine.interp.current->pc + 3u;
        // Items start every 4 bytes. An expression cut at 0xFFFF leaves the pc
        // there, so one more item may start on that last byte; the next
        // would be read from the image's start again.
        const uint32_t starts_below_wrap = (0xFFFFu - first_item) / 4 + 1;
        const size_t expected = std::min<uint32_t>(uint32_t(items), starts_below_wrap);
        Args args;
        std::vector<ListItem> list;
        args_read(m.engine, "nK", args, list);
        EXPECT_GE(list.size(), expected) << items;
        EXPECT_LE(list.size(), expected + (size_t(items) > expected ? 1 : 0)) << items;
        EXPECT_EQ(list.front().tag, 1);
        EXPECT_EQ(list.front().num, 5);
    }
}

}  // namespace
}  // namespace qln::test
