#include "base/full_width.h"
#include "base/sjis.h"

#include <gtest/gtest.h>

#include <set>

namespace qln {
namespace {

TEST(FullWidth, MapsAsciiAndHalfWidthKatakanaAndLeavesEveryOtherByte) {
    const struct {
        int c;
        uint16_t wide;  // 0: left as it is
    } cases[] = {
        {' ', 0x8140},  {'"', 0x8168},  {'0', 0x824F},  {'9', 0x8258},  {'A', 0x8260},
        {'Z', 0x8279},  {'\\', 0x818F}, {'a', 0x8281},  {'z', 0x829A},  {'~', 0x8150},
        {0xA1, 0x8142}, {0xA6, 0x8392}, {0xB0, 0x815B}, {0xCF, 0x837D}, {0xD0, 0x837E},
        {0xD1, 0x8380},  // either side of the 0x7F trail-byte gap
        {0xDD, 0x8393}, {0xDF, 0x814B}, {0x00, 0},      {0x1F, 0},      {0x7F, 0},
        {0x80, 0},      {0x9F, 0},      {0xA0, 0},      {0xE0, 0},      {0xFF, 0},
    };
    for (const auto& k : cases) EXPECT_EQ(full_width_of(uint8_t(k.c)), k.wide) << k.c;
}

TEST(FullWidth, EveryFormIsADistinctDoubleByteCharacter) {
    std::set<uint16_t> seen;
    for (int c = 0; c < 256; ++c) {
        const uint16_t wide = full_width_of(uint8_t(c));
        if (!wide) continue;
        const uint8_t lead = wide >> 8, trail = wide & 0xFF;
        EXPECT_TRUE(sjis_is_lead_byte(lead)) << c;
        EXPECT_TRUE(trail >= 0x40 && trail <= 0xFC && trail != 0x7F) << c;
        EXPECT_TRUE(seen.insert(wide).second) << c;
    }
    EXPECT_EQ(seen.size(), size_t(0x7F - 0x20 + 0xE0 - 0xA1));
}

// The lead bytes of code page 932 at each edge of its two ranges.
TEST(FullWidth, LeadBytesAreThoseOfCodePage932) {
    for (int c : {0x00, 0x7F, 0x80, 0xA0, 0xDF, 0xFD})
        EXPECT_FALSE(sjis_is_lead_byte(uint8_t(c))) << c;
    for (int c : {0x81, 0x9F, 0xE0, 0xEF, 0xF0, 0xFC})
        EXPECT_TRUE(sjis_is_lead_byte(uint8_t(c))) << c;
}

}  // namespace
}  // namespace qln
