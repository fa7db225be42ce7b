#include "base/full_width.h"

#include <gtest/gtest.h>

#include <set>

namespace qln {
namespace {

TEST(FullWidth, MapsPrintableAsciiToTheJapaneseForms) {
    EXPECT_EQ(full_width_of(' '), 0x8140);
    EXPECT_EQ(full_width_of('!'), 0x8149);
    EXPECT_EQ(full_width_of('"'), 0x8168);
    EXPECT_EQ(full_width_of('%'), 0x8193);
    EXPECT_EQ(full_width_of('\''), 0x8166);
    EXPECT_EQ(full_width_of('-'), 0x817C);
    EXPECT_EQ(full_width_of('0'), 0x824F);
    EXPECT_EQ(full_width_of('9'), 0x8258);
    EXPECT_EQ(full_width_of('@'), 0x8197);
    EXPECT_EQ(full_width_of('A'), 0x8260);
    EXPECT_EQ(full_width_of('Z'), 0x8279);
    EXPECT_EQ(full_width_of('\\'), 0x818F);  // yen sign
    EXPECT_EQ(full_width_of('`'), 0x814D);
    EXPECT_EQ(full_width_of('a'), 0x8281);
    EXPECT_EQ(full_width_of('z'), 0x829A);
    EXPECT_EQ(full_width_of('|'), 0x8162);
    EXPECT_EQ(full_width_of('~'), 0x8150);  // overline
}

TEST(FullWidth, MapsHalfWidthKatakanaToFullWidthKatakana) {
    EXPECT_EQ(full_width_of(0xA1), 0x8142);  // ideographic full stop
    EXPECT_EQ(full_width_of(0xA6), 0x8392);  // wo
    EXPECT_EQ(full_width_of(0xA7), 0x8340);  // small a
    EXPECT_EQ(full_width_of(0xAF), 0x8362);  // small tsu
    EXPECT_EQ(full_width_of(0xB0), 0x815B);  // prolonged sound mark
    EXPECT_EQ(full_width_of(0xB1), 0x8341);  // a
    EXPECT_EQ(full_width_of(0xB6), 0x834A);  // ka
    EXPECT_EQ(full_width_of(0xC2), 0x8363);  // tsu
    EXPECT_EQ(full_width_of(0xCF), 0x837D);  // ma
    EXPECT_EQ(full_width_of(0xD0), 0x837E);  // mi, the last before the 0x7F gap
    EXPECT_EQ(full_width_of(0xD1), 0x8380);  // mu, after it
    EXPECT_EQ(full_width_of(0xDC), 0x838F);  // wa
    EXPECT_EQ(full_width_of(0xDD), 0x8393);  // n
    EXPECT_EQ(full_width_of(0xDE), 0x814A);  // voiced mark
    EXPECT_EQ(full_width_of(0xDF), 0x814B);  // semi-voiced mark
}

TEST(FullWidth, LeavesEveryOtherByte) {
    for (int c : {0x00, 0x0A, 0x1F, 0x7F, 0x80, 0x81, 0x9F, 0xA0, 0xE0, 0xFC, 0xFF}) {
        EXPECT_EQ(full_width_of(uint8_t(c)), 0) << c;
    }
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

TEST(FullWidth, LeadBytesAreThoseOfCodePage932) {
    EXPECT_FALSE(sjis_is_lead_byte(0x80));
    EXPECT_TRUE(sjis_is_lead_byte(0x81));
    EXPECT_TRUE(sjis_is_lead_byte(0x9F));
    EXPECT_FALSE(sjis_is_lead_byte(0xA0));
    EXPECT_FALSE(sjis_is_lead_byte(0xDF));
    EXPECT_TRUE(sjis_is_lead_byte(0xE0));
    EXPECT_TRUE(sjis_is_lead_byte(0xFC));
    EXPECT_FALSE(sjis_is_lead_byte(0xFD));
}

}  // namespace
}  // namespace qln
