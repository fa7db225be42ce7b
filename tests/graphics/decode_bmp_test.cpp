#include <gtest/gtest.h>

#include "graphics/decode_test_support.h"
#include "graphics/encode_formats.h"

namespace qln::test {
namespace {

// A bitmap header; the file header's data offset is deliberately wrong, as
// the reader does not use it.
Bytes bmp_header(int32_t w, int32_t h, uint16_t bits, uint32_t colours_used,
                 uint32_t info_size = 40) {
    Bytes b = {'B', 'M'};
    put_u32(b, 0);
    put_u32(b, 0);
    put_u32(b, 9999);
    put_u32(b, info_size);
    put_u32(b, uint32_t(w));
    put_u32(b, uint32_t(h));
    put_u16(b, 1);
    put_u16(b, bits);
    for (int i = 0; i < 4; ++i) put_u32(b, 0);
    put_u32(b, colours_used);
    put_u32(b, 0);
    return b;
}

TEST(DecodeBmp, TwentyFourBitRowsArePaddedAndBottomUp) {
    Bytes b = bmp_header(3, 2, 24, 0);
    // Bottom row: tint, black, white + 3 padding; top row: three greys;
    // the last row's padding may be missing.
    b.insert(b.end(), {0x44, 0x88, 0xCC, 0, 0, 0, 255, 255, 255, 9, 9, 9});
    b.insert(b.end(), {1, 2, 3, 4, 5, 6, 7, 8, 9});
    PictureOwner p = decode(b);
    ASSERT_TRUE(p);
    EXPECT_EQ(row(*p, 1), (Row{tint, black, white}));
    EXPECT_EQ(row(*p, 0), (Row{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}));
    b.pop_back();
    EXPECT_FALSE(decode(b));
}

TEST(DecodeBmp, EightBitIndicesUseTheTableAndUnlistedIndicesAreBlack) {
    Bytes b = bmp_header(4, 1, 8, 2);
    put_u32(b, 0x00CC8844);  // entry 0: blue 0x44, green 0x88, red 0xCC
    put_u32(b, 0x00010203);
    b.insert(b.end(), {1, 0, 2, 255});
    PictureOwner p = decode(b);
    ASSERT_TRUE(p);
    EXPECT_EQ(row(*p, 0), (Row{{3, 2, 1}, tint, black, black}));

    // Colours-used 0 means 256 entries before the pixels.
    Bytes full = bmp_header(1, 1, 8, 0);
    full.resize(full.size() + 4 * 256, 0);
    full[54 + 4 * 7] = 0x70;
    full.push_back(7);
    PictureOwner q = decode(full);
    ASSERT_TRUE(q);
    EXPECT_EQ(pixel(*q, 0, 0), (Bgr{0x70, 0, 0}));
}

TEST(DecodeBmp, OneBitIgnoresItsTableAndPadsRowsOfWidth33ToEightBytes) {
    Bytes b = bmp_header(33, 2, 1, 2);
    put_u32(b, 0x00CC8844);
    put_u32(b, 0x00112233);
    b.insert(b.end(), {0x80, 0, 0, 0, 0x80, 0xEE, 0xEE, 0xEE});  // bottom row
    b.insert(b.end(), {0x01, 0, 0, 0, 0x00});                    // top row
    PictureOwner p = decode(b);
    ASSERT_TRUE(p);
    EXPECT_EQ(pixel(*p, 0, 1), white);
    EXPECT_EQ(pixel(*p, 1, 1), black);
    EXPECT_EQ(pixel(*p, 32, 1), white);
    EXPECT_EQ(pixel(*p, 7, 0), white);
    EXPECT_EQ(pixel(*p, 32, 0), black);
}

TEST(DecodeBmp, RefusesOtherHeadersDepthsAndTablesBeyondTheData) {
    Bytes pixel_row = {1, 2, 3, 0};
    auto with_row = [&](Bytes b) {
        b.insert(b.end(), pixel_row.begin(), pixel_row.end());
        return b;
    };
    EXPECT_TRUE(decode(with_row(bmp_header(1, 1, 24, 0))));
    EXPECT_FALSE(decode(with_row(bmp_header(1, 1, 24, 0, 108))));
    EXPECT_FALSE(decode(with_row(bmp_header(1, 1, 32, 0))));
    EXPECT_FALSE(decode(with_row(bmp_header(1, 1, 4, 0))));
    EXPECT_FALSE(decode(with_row(bmp_header(1, 1, 8, 0xFFFFFFFF))));
    // A top-down height keeps only its low 16 bits: far more rows than data.
    EXPECT_FALSE(decode(with_row(bmp_header(1, -1, 24, 0))));
    // A "BM" that is no bitmap is not handed to another reader.
    EXPECT_FALSE(decode(Bytes{'B', 'M'}));
    // Width and height are the low 16 bits.
    PictureOwner p = decode(with_row(bmp_header(0x10001, 0x30001, 24, 0)));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 1);
    EXPECT_EQ(p->height, 1);
}

TEST(DecodeBmp, AnEightBitBitmapHoldsAtMost256Colours) {
    PictureOwner many = make_picture(300, 1, [](int x, int) {
        return Bgr{uint8_t(x), uint8_t(x >> 8), 0};
    });
    EXPECT_TRUE(encode_bmp(*many, 8).empty());
    EXPECT_FALSE(encode_bmp(*many, 24).empty());
}

}  // namespace
}  // namespace qln::test
