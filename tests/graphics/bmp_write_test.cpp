// Pictures as bitmap files, byte for byte: headers, bottom-up rows, row
// padding, and the 8-bit palette with the dithered indices.

#include "graphics/bmp_write.h"
#include "graphics/dither.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace qln {
namespace {

struct PictureOwner {
    Picture* p;
    explicit PictureOwner(uint16_t w, uint16_t h) : p(picture_create(w, h)) {}
    ~PictureOwner() { picture_free(p); }
    void set(int x, int y, uint8_t b, uint8_t g, uint8_t r) {
        uint8_t* q = p->pixels.get() + (size_t(y) * p->width + size_t(x)) * 3;
        q[0] = b;
        q[1] = g;
        q[2] = r;
    }
};

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
    PictureOwner pic(3, 2);
    // Top row: three distinct pixels; bottom row: the channel-order colour.
    pic.set(0, 0, 0x01, 0x02, 0x03);
    pic.set(1, 0, 0x04, 0x05, 0x06);
    pic.set(2, 0, 0x07, 0x08, 0x09);
    for (int x = 0; x < 3; ++x) pic.set(x, 1, 0x44, 0x88, 0xCC);
    BmpFile f;
    ASSERT_TRUE(bmp_encode_24(*pic.p, f));
    ASSERT_EQ(f.size, 78u);
    const std::vector<uint8_t> header = {
        'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
        40,  0,   0,  0, 3, 0, 0, 0, 2, 0, 0,  0, 1, 0,
        24,  0,  // size, width, height, planes, bits
        0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0,
        0,   0,                        // compression, image size, resolutions
        0,   0,   0,  0, 0, 0, 0, 0};  // colours used, important
    EXPECT_EQ(bytes(f, 0, 54), header);
    const std::vector<uint8_t> bottom = {0x44, 0x88, 0xCC, 0x44, 0x88, 0xCC,
                                         0x44, 0x88, 0xCC, 0,    0,    0};
    const std::vector<uint8_t> top = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0};
    EXPECT_EQ(bytes(f, 54, 12), bottom);
    EXPECT_EQ(bytes(f, 66, 12), top);
}

TEST(BmpWrite, StridesRoundUpToFourBytes) {
    const struct {
        uint32_t width, bits, stride;
    } strides[] = {{1, 24, 4}, {4, 24, 12}, {5, 24, 16},        {1, 8, 4},
                   {4, 8, 4},  {5, 8, 8},   {65535, 24, 196608}};
    for (const auto& c : strides) EXPECT_EQ(bmp_stride(c.width, c.bits), c.stride) << c.width;

    PictureOwner one(1, 3);
    for (int y = 0; y < 3; ++y) one.set(0, y, uint8_t(y), 0x88, 0xCC);
    BmpFile f;
    ASSERT_TRUE(bmp_encode_24(*one.p, f));
    ASSERT_EQ(f.size, 54u + 3 * 4);
    EXPECT_EQ(u32(f, 2), 66u);
    EXPECT_EQ(bytes(f, 54, 12),
              (std::vector<uint8_t>{2, 0x88, 0xCC, 0, 1, 0x88, 0xCC, 0, 0, 0x88, 0xCC, 0}));
}

TEST(BmpWrite, EmptyPictureIsHeadersOnly) {
    PictureOwner empty(0, 0);
    BmpFile f;
    ASSERT_TRUE(bmp_encode_24(*empty.p, f));
    EXPECT_EQ(f.size, 54u);
    EXPECT_EQ(u32(f, 18), 0u);
    EXPECT_EQ(u32(f, 22), 0u);
    ASSERT_TRUE(bmp_encode_8(*empty.p, {}, f));
    EXPECT_EQ(f.size, 1078u);
}

TEST(BmpWrite, DitherIndexFollowsTheColourCube) {
    EXPECT_EQ(dither_index(0, 0, 0, 0), 10);
    EXPECT_EQ(dither_index(0, 0, 0, 50), 10);
    EXPECT_EQ(dither_index(255, 255, 255, 0), 225);
    EXPECT_EQ(dither_index(255, 255, 255, 50), 225);  // 305 / 51 is still 5
    EXPECT_EQ(dither_index(51, 0, 0, 0), 46);         // red level 1
    EXPECT_EQ(dither_index(0, 51, 0, 0), 16);         // green level 1
    EXPECT_EQ(dither_index(0, 0, 51, 0), 11);         // blue level 1
    EXPECT_EQ(dither_index(50, 50, 50, 0), 10);
    EXPECT_EQ(dither_index(50, 50, 50, 1), 10 + 36 + 6 + 1);
}

TEST(BmpWrite, EightBitHoldsThePaletteAndDitheredIndicesBottomRowFirst) {
    PictureOwner pic(5, 2);
    for (int x = 0; x < 5; ++x) {
        pic.set(x, 0, 0xFF, 0xFF, 0xFF);  // top row white
        pic.set(x, 1, 0x44, 0x88, 0xCC);  // bottom row: red 204, green 136, blue 68
    }
    uint8_t palette[256][4];
    for (int i = 0; i < 256; ++i) {
        palette[i][0] = uint8_t(i);         // red
        palette[i][1] = uint8_t(i ^ 0x55);  // green
        palette[i][2] = uint8_t(255 - i);   // blue
        palette[i][3] = 0x04;               // the reserved flag never reaches the file
    }
    BmpFile f;
    ASSERT_TRUE(bmp_encode_8(*pic.p, palette, f));
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
    PictureOwner pic(1, 5);
    for (int y = 0; y < 5; ++y) pic.set(0, y, 20, 20, 20);
    BmpFile f;
    ASSERT_TRUE(bmp_encode_8(*pic.p, {}, f));
    const uint8_t grey_low = 10, grey_high = 10 + 36 + 6 + 1;  // 20 + d below / at 51
    const uint8_t expected[5] = {grey_low, grey_high, grey_low, grey_high, grey_low};
    for (size_t r = 0; r < 5; ++r) EXPECT_EQ(f.bytes[1078 + 4 * r], expected[r]) << r;
}

}  // namespace
}  // namespace qln
