// File name patterns: stars, question marks, case, double-byte characters
// and the two old dot rules.

#include "files/wildcard.h"

#include <gtest/gtest.h>

namespace qln {
namespace {

struct Case {
    const char* pattern;
    const char* name;
    bool matches;
};

TEST(Wildcard, MatchesAsTheOldFileSystemDid) {
    const Case cases[] = {
        {"*.dat", "save1.dat", true},
        {"*.dat", "SAVE1.DAT", true},
        {"SAVE?.DAT", "save1.dat", true},
        {"save?.dat", "save10.dat", false},
        {"?", "", false},
        {"a*b*c", "aXXbYYc", true},
        {"a*b*c", "aXXbYYcZ", false},
        {"*a", "aaaa", true},
        // Star backtracking must not stop at the first candidate.
        {"*ab", "aab", true},
        {"*.*", "README", true},
        {"read*.*", "readme", true},
        {"*.", "README", true},
        {"*.", "a.txt", false},
        {"*.txt", "a.txt.bak", false},
        // A double-byte character is one character for "?", and its bytes
        // are never folded: 0x82 0x60 is "Ａ", 0x82 0x81 is "ａ".
        {"?.dat", "\x95\x5C.dat", true},
        {"??.dat", "\x95\x5C.dat", false},
        {"\x82\x60.dat", "\x82\x81.dat", false},
        // A lead byte takes the next byte with it, even a star; "表" ends
        // with the byte of "\", which is no pattern character.
        {"\x95*", "\x95\x5Cx", false},
        {"*\x5C", "\x95\x5C", false},
        // A pattern ending in ".*" inside a double-byte character is not the rule.
        {"x\x81.*", "x", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wildcard_match(c.pattern, c.name), c.matches)
            << "pattern \"" << c.pattern << "\" name \"" << c.name << "\"";
    }
}

TEST(Wildcard, SeesPatternCharactersOnlyOutsideDoubleByteCharacters) {
    EXPECT_TRUE(wildcard_has_any("save*.dat"));
    EXPECT_TRUE(wildcard_has_any("a?"));
    EXPECT_FALSE(wildcard_has_any("save1.dat"));
    // 0x81 0x48 is "？" and 0x81 0x96 "＊": full-width, not wild cards;
    // 0x83 0x3F is a lead byte with "?" as its trail.
    EXPECT_FALSE(wildcard_has_any("\x81\x48\x81\x96"));
    EXPECT_FALSE(wildcard_has_any("\x83\x3F"));
}

}  // namespace
}  // namespace qln
