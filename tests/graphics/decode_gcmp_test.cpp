#include <gtest/gtest.h>

#include "graphics/decode_test_support.h"
#include "graphics/encode_formats.h"

namespace qln::test {
namespace {

Bytes gcmp_header(uint16_t w, uint16_t h, int8_t code) {
    Bytes b(gcmp_signature, gcmp_signature + 8);
    put_u16(b, w);
    put_u16(b, h);
    b.push_back(uint8_t(code));
    b.insert(b.end(), {0xEE, 0xEE, 0xEE});  // not read
    return b;
}

// The eight pixels of one depth-1 byte, bit 7 leftmost.
void expect_bits(const Picture& p, int y, int x0, uint8_t byte) {
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(pixel(p, x0 + i, y), ((byte >> (7 - i)) & 1) ? white : black) << x0 + i;
}

TEST(DecodeGcmpBits, RecentValueListMovesEachValueToTheFront) {
    // 0xF0 takes the list's last entry (255, not 14); a literal drops the
    // last entry; position 0 repeats the latest value.
    Bytes b = gcmp_header(40, 1, 1);
    b.insert(b.end(), {0xF0, 0x30, 0x00, 0x77, 0xF0, 0x10});
    PictureOwner p = decode(b);
    ASSERT_TRUE(p);
    const uint8_t expected[5] = {0xFF, 0x01, 0x77, 0x0C, 0x0C};
    for (int i = 0; i < 5; ++i) expect_bits(*p, 0, 8 * i, expected[i]);
}

TEST(DecodeGcmpBits, LongCountsAndOvershootStopAtThePictureSize) {
    // Literal of 5 + 11 = 16, then a long reference of 16*16 + 16 + 15 + 1 =
    // 288 to the front entry: 304 bytes for a picture of 300 bytes. Rows are
    // stored bottom first, so the trailing bytes are never needed.
    Bytes b = gcmp_header(8 * 150, 2, 1);
    b.insert(b.end(), {0x0A, 0x05, 0xAB, 0x0D, 0x10, 0x1F});
    PictureOwner p = decode(b);
    ASSERT_TRUE(p);
    for (int x = 0; x < 8 * 150; x += 8 * 37) {
        expect_bits(*p, 0, x, 0xAB);
        expect_bits(*p, 1, x, 0xAB);
    }
    // A 16-bit literal count: 0 + 267 bytes of 0xAB, then one of 0x55.
    Bytes wide = gcmp_header(8 * 268, 1, 1);
    wide.insert(wide.end(), {0x0B, 0x00, 0x00, 0xAB, 0x00, 0x55});
    PictureOwner q = decode(wide);
    ASSERT_TRUE(q);
    expect_bits(*q, 0, 8 * 266, 0xAB);
    expect_bits(*q, 0, 8 * 267, 0x55);
}

TEST(DecodeGcmpBits, RowsAreBottomFirstAndPlainDataIsStoredAsIs) {
    Bytes runs = gcmp_header(9, 2, 1);
    // Two bytes per row: bottom row 0x80 0x80, top row 0x01 0xFF.
    runs.insert(runs.end(), {0x01, 0x80, 0x00, 0x01, 0x00, 0xFF});
    Bytes plain = gcmp_header(9, 2, -1);
    plain.insert(plain.end(), {0x80, 0x80, 0x01, 0xFF});
    Bytes zero_code = plain;
    zero_code[12] = 0;  // depth 0: refused
    for (const Bytes& b : {runs, plain}) {
        PictureOwner p = decode(b);
        ASSERT_TRUE(p);
        expect_bits(*p, 1, 0, 0x80);
        EXPECT_EQ(pixel(*p, 8, 1), white);
        expect_bits(*p, 0, 0, 0x01);
        EXPECT_EQ(pixel(*p, 8, 0), white);
    }
    PictureOwner p = decode(zero_code);
    EXPECT_FALSE(p);
}

TEST(DecodeGcmpBits, RefusesOtherDepthsUnnamedLongReferencesAndShortData) {
    Bytes b = gcmp_header(8, 40, 1);
    b.insert(b.end(), {0x0D, 0x00, 0x05});  // reference byte names no entry
    EXPECT_FALSE(decode(b));
    Bytes plain = gcmp_header(16, 2, -1);
    plain.insert(plain.end(), {1, 2, 3});
    EXPECT_FALSE(decode(plain));
    plain.push_back(4);
    EXPECT_TRUE(decode(plain));
    EXPECT_FALSE(decode(gcmp_header(4, 4, 8)));
    EXPECT_FALSE(decode(gcmp_header(4, 4, -8)));
    EXPECT_FALSE(decode(Bytes(gcmp_signature, gcmp_signature + 8)));
    // Other depths carry no pixels and are refused.
    EXPECT_FALSE(decode(gcmp_header(3, 2, 4)));
}

TEST(DecodeGcmpColours, LiteralsReferencesAndLongCounts) {
    const Bgr other{0x11, 0x22, 0x33};
    // 2 x tint, 1 x other, 2 more of the front colour by a 32-bit count,
    // then one reference by index 1 with its count in bits 5-6.
    Bytes b = gcmp_header(3, 3, 24);
    b.insert(b.end(), {0x02, 0x44, 0x88, 0xCC, 0x01, 0x01, 0x11, 0x22, 0x33, 0x80, 0x00});
    put_u32(b, 2);
    b.insert(b.end(), {0xA1});
    // Then count (2 * 1) + 1 from u's bit 7 of index 2 (black, never used).
    b.insert(b.end(), {0x81, 0x82});
    PictureOwner p = decode(b);
    ASSERT_TRUE(p);
    // Bottom row first.
    EXPECT_EQ(row(*p, 2), (Row{tint, tint, other}));
    EXPECT_EQ(row(*p, 1), (Row{other, other, tint}));
    EXPECT_EQ(row(*p, 0), (Row{black, black, black}));
}

TEST(DecodeGcmpColours, AZeroCountByteMakesTheRestLiteralsAndLongRunsAreCut) {
    Bytes b = gcmp_header(3, 1, 24);
    b.insert(b.end(), {0x01, 0x00, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    PictureOwner p = decode(b);
    ASSERT_TRUE(p);
    EXPECT_EQ(row(*p, 0), (Row{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}));
    b.pop_back();
    EXPECT_FALSE(decode(b));

    Bytes run = gcmp_header(2, 2, -24);  // the sign is not consulted
    run.push_back(0x00);
    put_u32(run, 0xFFFFFFFF);
    run.insert(run.end(), {0x44, 0x88, 0xCC});
    PictureOwner q = decode(run);
    ASSERT_TRUE(q);
    EXPECT_EQ(pixel(*q, 1, 1), tint);
}

TEST(DecodeGcmpRoundTrip, EncodersReadBackExactly) {
    // Long runs, repeats of recent colours, isolated new colours.
    PictureOwner colour = make_picture(61, 23, [](int x, int y) -> Bgr {
        if (y < 5) return tint;
        if (y < 10) return Bgr{uint8_t(x * 4), uint8_t(y * 9), uint8_t(x ^ y)};
        return (x / 3 + y) % 4 == 0 ? Bgr{0x10, 0x20, uint8_t(y)} : Bgr{0x44, 0x88, 0xCC};
    });
    PictureOwner back = decode(encode_gcmp24(*colour));
    ASSERT_TRUE(back);
    EXPECT_TRUE(same_pixels(*colour, *back));

    PictureOwner bw = make_picture(
        77, 301, [](int x, int y) { return (y > 40 || (x * y) % 7 == 0) ? white : black; });
    for (bool runs : {true, false}) {
        const Bytes file = encode_gcmp1(*bw, runs);
        PictureOwner back1 = decode(file);
        ASSERT_TRUE(back1);
        EXPECT_TRUE(same_pixels(*bw, *back1)) << runs;
    }
    // Byte runs make a mostly flat picture small.
    EXPECT_LT(encode_gcmp1(*bw, true).size(), encode_gcmp1(*bw, false).size() / 2);
}

}  // namespace
}  // namespace qln::test
