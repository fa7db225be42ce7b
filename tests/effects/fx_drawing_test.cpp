// The single-frame effects and the dissolve's passes, pixel by pixel. From
// seed 1 the random generator gives 41, 18467, 6334, 26500, ...

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "effects/fx_dissolve.h"
#include "effects/fx_mosaic.h"
#include "effects/fx_pattern.h"
#include "effects/fx_pictures.h"
#include "effects/fx_row_shift.h"
#include "engine/random_state.h"

namespace qln::test {
namespace {

TEST(FxMosaic, BlocksStartNarrowAndShowTheirCentrePixel) {
    struct Case {
        int32_t w, h, block_w, block_h;
        const char* rows;
    };
    const Case cases[] = {
        // A first block of half the rest, or with no rest of half a block.
        {10, 1, 4, 1, "0333377779/"},
        {9, 1, 3, 1, "113336668/"},
        {5, 1, 1, 1, "01234/"},
        // Sizes of 0 or beyond the picture are the picture's size: 2 blocks.
        {5, 1, 0, 1, "11144/"},
        {5, 1, 9, 1, "11144/"},
        {5, 1, -1, 1, "11144/"},
        {7, 3, 2, 5, "799bbdd/799bbdd/eggiikk/"},
    };
    for (const Case& c : cases) {
        PicturePtr src = source_picture(c.w, c.h), dst = filled_picture(c.w, c.h, kGround);
        fx_mosaic(*dst, 0, 0, *src, c.block_w, c.block_h);
        EXPECT_EQ(all_xs(*dst), c.rows) << c.w << " " << c.block_w;
    }
}

TEST(FxRowShift, WaveShiftsBySineTimesAmplitudeTruncatedJitterAtRandom) {
    int16_t sine[1024] = {0, 5000, -5000, 10000};
    sine[1023] = -10000;
    struct Case {
        uint16_t phase, step, amplitude;
        bool wrap;
        const char* rows;
    };
    const Case cases[] = {
        // Shifts 0, 1.5, -1.5, 3 truncate to 0, 1, -1, 3.
        {0, 1, 3, false, "012345/*6789a/defgh*/***ijk/"},
        {0, 1, 3, true, "012345/b6789a/defghc/lmnijk/"},
        // Phases 1023, 2048, 3073, 4098 mod 1024: shifts -7, 0, 3, -3.
        {1023, 1025, 7, false, "******/6789ab/***cde/lmn***/"},
        {1023, 1025, 7, true, "123450/6789ab/fghcde/lmnijk/"},
        {0, 1, 0, false, "012345/6789ab/cdefgh/ijklmn/"},
    };
    for (const Case& c : cases) {
        PicturePtr src = source_picture(6, 4), dst = filled_picture(6, 4, kGround);
        fx_wave(*dst, 0, 0, *src, sine, c.phase, c.step, c.amplitude,
                RowFill{c.wrap, 0x77, 0xAA, 0x33});
        EXPECT_EQ(all_xs(*dst), c.rows) << c.phase << " " << c.wrap;
    }
    PicturePtr src = source_picture(5, 4), dst = filled_picture(5, 4, kGround);
    Random random;
    fx_jitter(*dst, 0, 0, *src, 2, random);  // 41, 18467, 6334, 26500 mod 5, - 2
    EXPECT_EQ(all_xs(*dst), "1234_/56789/__abc/hij__/");
}

TEST(FxPattern, BlackTilePixelsCopyOthersLeaveOnlyWholeTilesCount) {
    // Tiles of 2 x 2: black (only blue counts), white (blue 1 is enough), mixed.
    PicturePtr pattern = filled_picture(2, 6, 0xFFFF00);
    for (const auto& [x, y] : {std::pair{0, 2}, {1, 2}, {0, 3}, {1, 3}, {1, 4}, {0, 5}})
        set_pixel(*pattern, x, y, 0x000001);
    for (const auto& [frame, rows] : {std::pair<uint16_t, const char*>{0, "012/345/678/"},
                                      {1, ".../.../.../"},
                                      {2, "0.2/.4./6.8/"},
                                      {3, ".../.../.../"},
                                      {65535, ".../.../.../"}}) {
        PicturePtr src = source_picture(3, 3), dst = filled_picture(3, 3, kGround);
        fx_pattern(*dst, 0, 0, *src, *pattern, frame);
        EXPECT_EQ(all_xs(*dst), rows) << frame;
    }
    PicturePtr src = source_picture(3, 1);
    Picture no_columns;
    no_columns.height = 4;
    fx_pattern(*src, 0, 0, *src, no_columns, 0);
    EXPECT_EQ(all_xs(*src), "012/");
    // Over itself one pixel on, each pixel reads what the one before wrote.
    fx_pattern(*src, 1, 0, *src, *pattern, 0);
    EXPECT_EQ(all_xs(*src), "000/");
}

TEST(FxDissolvePass, TheEdgeThinsOutFromItsFront) {
    struct Case {
        int32_t w, h;
        uint16_t mode;
        const char* rows;
    };
    // Lines 1 to 3 of the edge take every 1st, 2nd, 3rd pixel from
    // 41 % 1, 18467 % 2, 6334 % 3; diagonals start at the top-right corner.
    const Case cases[] = {{6, 3, kDissolveDown, "012345/.7.9.b/.d..g./"},
                          {3, 6, kDissolveRight, "0../345/6../9a./c.e/fg./"},
                          {5, 2, kDissolveDiagonal, "..234/...89/"}};
    for (const Case& c : cases) {
        PicturePtr src = source_picture(c.w, c.h), dst = filled_picture(c.w, c.h, kGround);
        Random random;
        fx_dissolve_pass(*dst, 0, 0, *src, c.mode, 3, 0, random);
        EXPECT_EQ(all_xs(*dst), c.rows) << c.mode;
    }
    // An edge width of 0 is 64 rows.
    PicturePtr src = source_picture(2, 70), dst = filled_picture(2, 70, kGround);
    Random random;
    const Rect r = fx_dissolve_pass(*dst, 3, 4, *src, kDissolveDown, 0, 0, random);
    EXPECT_EQ(std::vector<int32_t>({r.left, r.top, r.right, r.bottom}),
              std::vector<int32_t>({3, 4, 5, 68}));
}

// Every effect drawn into a small picture it hangs off writes there just
// what it writes into a picture large enough for all of it, and takes the
// same random numbers.
TEST(FxClipping, APartlyOutsideAreaDrawsItsVisiblePartExactly) {
    int16_t sine[1024];
    for (int i = 0; i < 1024; ++i) sine[i] = int16_t((i * 7919) % 20001 - 10000);
    PicturePtr checker = filled_picture(2, 2, 0), src = source_picture(7, 5);
    set_pixel(*checker, 1, 0, 0xFF);
    using Draw = std::function<void(Picture&, int32_t, int32_t, Random&)>;
    std::vector<Draw> effects = {
        [&](Picture& d, int32_t x, int32_t y, Random&) { fx_mosaic(d, x, y, *src, 2, 3); },
        [&](Picture& d, int32_t x, int32_t y, Random&) {
            fx_wave(d, x, y, *src, sine, 5, 77, 4, RowFill{true});
        },
        [&](Picture& d, int32_t x, int32_t y, Random&) {
            fx_wave(d, x, y, *src, sine, 9, 300, 3, RowFill{});
        },
        [&](Picture& d, int32_t x, int32_t y, Random& r) { fx_jitter(d, x, y, *src, 3, r); },
        [&](Picture& d, int32_t x, int32_t y, Random&) { fx_pattern(d, x, y, *src, *checker, 0); },
    };
    for (const uint16_t mode : {kDissolveDown, kDissolveDiagonal, kDissolveRight}) {
        effects.push_back([&, mode](Picture& d, int32_t x, int32_t y, Random& r) {
            for (int32_t pass = 0; pass < 2; ++pass)
                fx_dissolve_pass(d, x, y, *src, mode, 4, pass, r);
        });
    }
    constexpr int32_t kMargin = 9;
    for (size_t e = 0; e < effects.size(); ++e) {
        for (const auto& [x, y] :
             {std::pair{-2, -1}, {2, 3}, {-8, 0}, {0, 6}, {INT32_MIN, INT32_MAX}}) {
            PicturePtr small = filled_picture(5, 4, kGround);
            PicturePtr large = filled_picture(5 + 2 * kMargin, 4 + 2 * kMargin, kGround);
            Random r1, r2;
            effects[e](*small, x, y, r1);
            const bool near = x >= -kMargin && y <= kMargin;
            if (near) effects[e](*large, x + kMargin, y + kMargin, r2);
            int32_t wrong = 0;
            for (int32_t i = 0; i < 20; ++i) {
                const uint32_t seen =
                    near ? pixel(*large, i % 5 + kMargin, i / 5 + kMargin) : kGround;
                wrong += pixel(*small, i % 5, i / 5) != seen;
            }
            EXPECT_EQ(wrong, 0) << "effect " << e << " at " << x << ", " << y;
            EXPECT_TRUE(!near || r1.state == r2.state) << "effect " << e;
        }
    }
}

}  // namespace
}  // namespace qln::test
