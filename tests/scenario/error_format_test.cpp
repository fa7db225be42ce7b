#include "scenario/error_format.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <string>

namespace qln {
namespace {

std::string format(size_t size, const char* fmt, ...) {
    char out[600];
    va_list args;
    va_start(args, fmt);
    error_format(out, size, fmt, args);
    va_end(args);
    return out;
}

TEST(ErrorFormat, ConversionsDoubleByteCharactersAndTheFieldSize) {
    EXPECT_EQ(format(512, "win_no = %d", 7), "win_no = 7");
    EXPECT_EQ(format(512, "%d|%d|%d", 0, -45, INT32_MIN), "0|-45|-2147483648");
    EXPECT_EQ(format(512, "File:%s(%d) Dir:%d", "a.scn", 3, -1), "File:a.scn(3) Dir:-1");
    EXPECT_EQ(format(512, "%c%c 100%%", 'o', 'k'), "ok 100%");
    // An unknown conversion writes neither character: "%5d" leaves the d.
    EXPECT_EQ(format(512, "x%5d", 12), "xd");
    EXPECT_EQ(format(512, "end%"), "end");
    // 0x81 0x25 is a double-byte character whose trail byte is '%'.
    EXPECT_EQ(format(512, "\x81%d"), "\x81%d");
    EXPECT_EQ(format(512, "\x81%%d", 5), "\x81%5");
    EXPECT_EQ(format(512, nullptr), "");
    EXPECT_EQ(format(512, "%s", std::string(1000, 'a').c_str()).size(), 511u);
    EXPECT_EQ(format(4, "%d", 123456), "123");
}

}  // namespace
}  // namespace qln
