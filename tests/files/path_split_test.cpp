// Path splitting: the last backslash or colon outside double-byte
// characters, and the drive number of the first byte.

#include "files/path_split.h"

#include <gtest/gtest.h>

#include <string>

namespace qln {
namespace {

struct Case {
    std::string path;
    std::string directory;
    std::string name;
    int32_t drive;
};

TEST(PathSplit, CutsAfterTheLastSeparatorOutsideDoubleByteCharacters) {
    const Case cases[] = {
        {"C:\\GAME\\SAVE\\s1.dat", "C:\\GAME\\SAVE\\", "s1.dat", 3},
        {"save\\data\\s1.dat", "save\\data\\", "s1.dat", 's' - 'a' + 1},
        {"d:s1.dat", "d:", "s1.dat", 4},
        {"s1.dat", "", "s1.dat", 's' - 'a' + 1},
        {"DIR\\", "DIR\\", "", 4},
        {"", "", "", -64},
        {"1\\x", "1\\", "x", '1' - 64},
        // "表" (0x95 0x5C) and "ソ" (0x83 0x5C) end with the byte of "\".
        {"\x95\x5C", "", "\x95\x5C", 0x95 - 64},
        {"a\\\x95\x5C\x83\x5C.dat", "a\\", "\x95\x5C\x83\x5C.dat", 'A' - 64},
        {"\x95\x5C\\\x95\x5C", "\x95\x5C\\", "\x95\x5C", 0x95 - 64},
        // A lead byte cut off at the end takes nothing with it.
        {"a\\b\x95", "a\\", "b\x95", 'A' - 64},
    };
    for (const Case& c : cases) {
        const PathParts parts = path_split(c.path);
        EXPECT_EQ(parts.directory, c.directory) << c.path;
        EXPECT_EQ(parts.name, c.name) << c.path;
        EXPECT_EQ(path_drive_number(c.path), c.drive) << c.path;
    }
}

}  // namespace
}  // namespace qln
