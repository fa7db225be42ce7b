#include <gtest/gtest.h>

#include "graphics/decode_test_support.h"
#include "graphics/encode_formats.h"

namespace qln::test {
namespace {

// palette[i] = {blue, green, red} in 0..15 (or more, to test refusal).
Bytes planar_header(uint8_t units_x, uint8_t units_y, const std::vector<Bgr>& palette,
                    uint8_t place_x = 0, uint8_t place_y = 0) {
    Bytes b = {place_x, place_y, units_x, units_y};
    for (size_t i = 0; i < 16; ++i) {
        const Bgr c = i < palette.size() ? palette[i] : black;
        const uint8_t stored[3] = {c[1], c[2], c[0]};  // green, red, blue
        for (size_t k = 0; k < 3; ++k) b.push_back(uint8_t(~(stored[k] + planar_key_char(i, k))));
    }
    return b;
}

const std::vector<Bgr> palette = {{0, 0, 0}, {15, 15, 15}, {4, 8, 12}, {1, 2, 3}};
const Bgr c1{255, 255, 255}, c2{68, 136, 204}, c3{17, 34, 51};

TEST(DecodePlanar, ThreePhasesPaintTheIndexPlane) {
    Bytes b = planar_header(2, 2, palette);  // 16 x 4
    // Phase 1: plane 0 top 0xF0, bottom 0x0F; one tile at position 1 (x 8, y 0).
    b.insert(b.end(), {0xF0, 0x0F, 0, 0, 0, 0, 0, 0, 0xC0, 0x01, 0xFF});
    // Phase 2: plane 1 = 0x9F (top 1001, bottom 1111); one tile at position
    // 160 (x 0, y 2).
    b.insert(b.end(), {0, 0x9F, 0, 0, 0x80, 160, 0xFF});
    // Phase 3: cells (0,0), (1,0), (1,1), (2,1), (3,1) in that order.
    b.insert(b.end(), {0xF0, 0, 0, 0, 0x0F, 0, 0, 0, 0xFF, 0xFF, 0, 0});
    b.insert(b.end(), {0, 0, 0, 0, 0x88, 0x88, 0, 0});
    PictureOwner p = decode(b);
    ASSERT_TRUE(p);
    ASSERT_EQ(p->width, 16);
    ASSERT_EQ(p->height, 4);
    const char* rows[4] = {"1111000011110000",  // phase 3 cells 0,1 | phase-1 tile
                           "0000111100001111",
                           "2002333300003000",  // phase-2 tile | phase-3 cells 1,2,3
                           "2222333300003000"};
    const Bgr colours[4] = {black, c1, c2, c3};
    for (int y = 0; y < 4; ++y) {
        Row want;
        for (int x = 0; x < 16; ++x) want.push_back(colours[rows[y][x] - '0']);
        EXPECT_EQ(row(*p, y), want) << y;
    }
}

TEST(DecodePlanar, RectanglesAreClippedAndZeroCountsPaintNothing) {
    Bytes b = planar_header(2, 2, palette);             // 16 x 4: 2 x 2 wide tiles
    b.insert(b.end(), {0xFF, 0xFF, 0, 0, 0, 0, 0, 0});  // all index 1
    b.insert(b.end(), {0x00, 0x00, 200, 200});          // mode 0, clipped to 2 x 2
    b.insert(b.end(), {0x40, 0x4F, 0});                 // mode 1 at column 79: a = 0
    b.insert(b.end(), {0xC0, 79});                      // mode 3 outside the picture
    b.insert(b.end(), {0xFF});
    b.insert(b.end(), {0, 0, 0, 0, 0x01, 0x00, 9, 0xFF});  // phase 2 past the bottom
    PictureOwner p = decode(b);
    ASSERT_TRUE(p);
    for (int y = 0; y < 4; ++y) EXPECT_EQ(row(*p, y), Row(16, c1)) << y;
}

TEST(DecodePlanar, PaletteAboveFifteenIsRefusedOthersAreMultiplesOf17) {
    Bytes tiles = {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF};
    tiles.insert(tiles.end(), 16, 0);  // four cells of index 0 for 8 x 2
    Bytes good = planar_header(1, 1, {{15, 0, 7}});
    good.insert(good.end(), tiles.begin(), tiles.end());
    PictureOwner p = decode(good);
    ASSERT_TRUE(p);
    EXPECT_EQ(pixel(*p, 0, 0), (Bgr{255, 0, 119}));
    for (int k = 0; k < 3; ++k) {
        Bgr c{0, 0, 0};
        c[k] = 16;
        Bytes bad = planar_header(1, 1, {black, c});
        bad.insert(bad.end(), tiles.begin(), tiles.end());
        EXPECT_FALSE(decode(bad)) << k;
    }
}

TEST(DecodePlanar, RefusedOnlyWhenPlacementAndSizeAreAllTooLarge) {
    auto file = [](uint8_t px, uint8_t py, uint8_t ux, uint8_t uy) {
        Bytes b = planar_header(ux, uy, palette, px, py);
        b.insert(b.end(), {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF});
        b.resize(b.size() + size_t(ux) * 2 * uy * 4, 0);
        return b;
    };
    EXPECT_FALSE(decode(file(80, 200, 81, 201)));
    EXPECT_TRUE(decode(file(79, 200, 81, 201)));
    EXPECT_TRUE(decode(file(80, 199, 81, 201)));
    EXPECT_TRUE(decode(file(80, 200, 80, 201)));
    EXPECT_TRUE(decode(file(80, 200, 81, 200)));
}

TEST(DecodePlanar, EncoderUsesAllThreePhasesAndReadsBackExactly) {
    // A flat field (phase 1), a repeated small pattern (phase 2), noise
    // (phase 3), and columns beyond 640 that only phase 3 can reach.
    auto col = [](int i) {
        return Bgr{uint8_t(17 * i), uint8_t(17 * (15 - i)), uint8_t(17 * (i % 3))};
    };
    PictureOwner p = make_picture(664, 420, [&](int x, int y) -> Bgr {
        if (x >= 640) return col(y % 16);
        if (y >= 400) return col((x + y) % 16);
        if (x < 300) return col(3);
        // Even cells repeat one pattern; odd cells spell out the block's
        // position, so every 8 x 2 block is unique.
        if (x < 500 && (x / 4) % 2 == 0) return x % 4 == 0 ? col(15) : col(0);
        if (x < 500) return col(((y / 2 * 80 + x / 8) >> (4 * (x % 4))) & 15);
        return col((x * 7 + y * 13 + x * y) % 11 + 4);
    });
    const Bytes file = encode_planar(*p, 3, 4);
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file[0], 3);
    EXPECT_EQ(file[1], 4);
    PictureOwner back = decode(file);
    ASSERT_TRUE(back);
    EXPECT_TRUE(same_pixels(*p, *back));
    // Far smaller than one tile per cell.
    EXPECT_LT(file.size(), size_t(664 / 4) * 210 * 4 / 2);
}

TEST(DecodePlanar, EncoderRefusesWhatTheFormatCannotHold) {
    auto flat = [](uint16_t w, uint16_t h, Bgr c) {
        return make_picture(w, h, [c](int, int) { return c; });
    };
    EXPECT_FALSE(encode_planar(*flat(8, 2, black)).empty());
    EXPECT_TRUE(encode_planar(*flat(12, 2, black)).empty());
    EXPECT_TRUE(encode_planar(*flat(8, 3, black)).empty());
    EXPECT_TRUE(encode_planar(*flat(2048, 2, black)).empty());
    EXPECT_TRUE(
        encode_planar(*flat(8, 2, Bgr{0x45, 0x88, 0xCC})).empty());  // 0x45 is no multiple of 17
    EXPECT_TRUE(encode_planar(*flat(8, 2, black), 'B', 'M').empty());
    PictureOwner many = make_picture(32, 2, [](int x, int) {
        return Bgr{uint8_t(17 * (x % 16)), uint8_t(17 * (x / 16)), 0};
    });
    EXPECT_TRUE(encode_planar(*many).empty());
}

}  // namespace
}  // namespace qln::test
