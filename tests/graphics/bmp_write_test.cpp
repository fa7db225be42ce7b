// Pictures as bitmap files, byte for byte: headers, bottom-up rows, row
// padding, and the 8-bit palette with the dithered indices.

#include "graphics/bmp_write.h"
#include "graphics/dither.h"

#include <gtest/gtest.h>

#include <vector>

#include "graphics/draw_reference.h"
#include "support/pixels.h"

namespace qln {
namespace {

using test::filled_picture;

uint32_t u32(const BmpFile& f, size_t at) {
    return uint32_t(f.bytes[at]) | uint32_t(f.bytes[at + 1]) << 8 |
           uint32_t(f.bytes[at + 2]) << 16 | uint32_t(f.bytes[at + 3]) << 24;
}
uint32_t u16(const BmpFile& f, size_t at) {
    return uint32_t(f.bytes[at]) | uint32_t(f.bytes[at + 1]) << 8;
}
std::vector<uint8_t> bytes(const BmpFile& f, size_t at, size_t n) {
    return std::vector<uint8_t>(f.bytes.get() + at, f.bytes.get() + at + n);
}

TEST(BmpWrite, TwentyFourBitThreeByTwoIsSeventyEightBytesBottomRowFirst) {
    // Top row: three distinct pixels; bottom row: the channel-order colour.
    auto pic = filled_picture(3, 2, 0xCC8844);
    for (int x = 0; x < 3; ++x) test::set_pixel(*pic, x, 0, 0x030201 + 0x030303 * uint32_t(x));
    BmpFile f;
    ASSERT_TRUE(bmp_encode_24(*pic, f));
    ASSERT_EQ(f.size, 78u);
    const std::vector<uint8_t> file = {
        'B',  'M',  78,   0,    0,    0,    0,    0,    0,    0, 54, 0, 0, 0,  // file header
        40,   0,    0,    0,    3,    0,    0,    0,    2,    0, 0,  0, 1, 0,
        24,   0,  // size, width, height, planes, bits
        0,    0,    0,    0,    0,    0,    0,    0,    0,    0, 0,  0, 0, 0,
        0,    0,                                      // compression, image size, resolutions
        0,    0,    0,    0,    0,    0,    0,    0,  // colours used, important
        0x44, 0x88, 0xCC, 0x44, 0x88, 0xCC, 0x44, 0x88, 0xCC, 0, 0,  0,  // bottom row
        1,    2,    3,    4,    5,    6,    7,    8,    9,    0, 0,  0};
    EXPECT_EQ(bytes(f, 0, 78), file);
}

TEST(BmpWrite, StridesRoundUpToFourBytesAndAnEmptyPictureIsHeadersOnly) {
    const struct {
        uint32_t width, bits, stride;
    } strides[] = {{1, 24, 4}, {4, 24, 12}, {5, 24, 16},        {1, 8, 4},
                   {4, 8, 4},  {5, 8, 8},   {65535, 24, 196608}};
    for (const auto& c : strides) EXPECT_EQ(bmp_stride(c.width, c.bits), c.stride) << c.width;

    BmpFile f;
    ASSERT_TRUE(bmp_encode_24(*filled_picture(1, 3, 0xCC8844), f));
    EXPECT_EQ(u32(f, 2), 66u);
    EXPECT_EQ(bytes(f, 54, 12), (std::vector<uint8_t>{0x44, 0x88, 0xCC, 0, 0x44, 0x88, 0xCC, 0,
                                                      0x44, 0x88, 0xCC, 0}));
    auto empty = filled_picture(0, 0, 0);
    ASSERT_TRUE(bmp_encode_24(*empty, f));
    EXPECT_EQ(f.size, 54u);
    EXPECT_EQ(u32(f, 18), 0u);
    EXPECT_EQ(u32(f, 22), 0u);
    ASSERT_TRUE(bmp_encode_8(*empty, {}, f));
    EXPECT_EQ(f.size, 1078u);
}

TEST(BmpWrite, DitherIndexFollowsTheColourCube) {
    const struct {
        uint8_t r, g, b, d, index;
    } cases[] = {
        {0, 0, 0, 0, 10},        {0, 0, 0, 50, 10},
        {255, 255, 255, 0, 225}, {255, 255, 255, 50, 225},  // 305 / 51 is still 5
        {51, 0, 0, 0, 46},                                  // red level 1
        {0, 51, 0, 0, 16},                                  // green level 1
        {0, 0, 51, 0, 11},                                  // blue level 1
        {50, 50, 50, 0, 10},     {50, 50, 50, 1, 10 + 36 + 6 + 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(dither_index(c.r, c.g, c.b, c.d), c.index) << int(c.r) << " " << int(c.d);
}

TEST(BmpWrite, EightBitHoldsThePaletteAndDitheredIndicesBottomRowFirst) {
    auto pic = filled_picture(5, 2, 0xCC8844);  // bottom row: red 204, green 136, blue 68
    for (int x = 0; x < 5; ++x) test::set_pixel(*pic, x, 0, 0xFFFFFF);  // top row white
    uint8_t palette[256][4];
    for (int i = 0; i < 256; ++i) {
        palette[i][0] = uint8_t(i);         // red
        palette[i][1] = uint8_t(i ^ 0x55);  // green
        palette[i][2] = uint8_t(255 - i);   // blue
        palette[i][3] = 0x04;               // the reserved flag never reaches the file
    }
    BmpFile f;
    ASSERT_TRUE(bmp_encode_8(*pic, palette, f));
    ASSERT_EQ(f.size, 1078u + 2 * 8);
    EXPECT_EQ(u32(f, 2), 1094u);
    EXPECT_EQ(u32(f, 10), 1078u);
    EXPECT_EQ(u16(f, 28), 8u);
    EXPECT_EQ(u32(f, 46), 256u);
    EXPECT_EQ(u32(f, 50), 0u);
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(bytes(f, 54 + 4 * size_t(i), 4),
                  (std::vector<uint8_t>{uint8_t(255 - i), uint8_t(i ^ 0x55), uint8_t(i), 0}))
            << i;
    }
    // File row 0 (the bottom row) uses dither values 0, 27, 7, 33, 0:
    // d = 0 and 7 give levels 4, 2, 1 (167); 27 and 33 give 4, 3, 1 (173).
    EXPECT_EQ(bytes(f, 1078, 8), (std::vector<uint8_t>{167, 173, 167, 173, 167, 0, 0, 0}));
    EXPECT_EQ(bytes(f, 1086, 8), (std::vector<uint8_t>{225, 225, 225, 225, 225, 0, 0, 0}));
}

TEST(BmpWrite, EightBitRowsTakeTheMatrixRowOfTheirFileRow) {
    // One column, five rows of the same grey: file rows 0-4 use the first
    // column of matrix rows 0, 1, 2, 3, 0 (0, 40, 10, 50, 0).
    BmpFile f;
    ASSERT_TRUE(bmp_encode_8(*filled_picture(1, 5, 0x141414), {}, f));
    const uint8_t grey_low = 10, grey_high = 10 + 36 + 6 + 1;  // 20 + d below / at 51
    const uint8_t expected[5] = {grey_low, grey_high, grey_low, grey_high, grey_low};
    for (size_t r = 0; r < 5; ++r) EXPECT_EQ(f.bytes[1078 + 4 * r], expected[r]) << r;
}

}  // namespace
}  // namespace qln
