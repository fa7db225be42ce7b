// The single-frame effects and the dissolve's passes, pixel by pixel.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "effects/fx_dissolve.h"
#include "effects/fx_mosaic.h"
#include "effects/fx_pattern.h"
#include "effects/fx_pictures.h"
#include "effects/fx_row_shift.h"
#include "engine/random_state.h"

namespace qln::test {
namespace {

// From seed 1 the generator gives 41, 18467, 6334, 26500, ...

TEST(FxMosaic, BlocksStartNarrowAndShowTheirCentrePixel) {
    struct Case {
        int32_t w, block;
        const char* columns;
    };
    const Case cases[] = {
        {10, 4, "0333377779"},                                     // a first block of rest / 2
        {9, 3, "113336668"},                                       // no rest: half a block
        {5, 0, "11144"},       {5, 9, "11144"}, {5, -1, "11144"},  // the picture: 2 blocks
        {5, 1, "01234"},
    };
    for (const Case& c : cases) {
        PicturePtr src = source_picture(c.w, 1), dst = filled_picture(c.w, 1, kGround);
        fx_mosaic(*dst, 0, 0, *src, c.block, 1);
        EXPECT_EQ(xs(*dst, 0), c.columns) << c.w << " " << c.block;
    }
    // Heights follow the picture's height: a block height of 5 is too tall
    // for 3 rows.
    PicturePtr src = source_picture(7, 3), dst = filled_picture(7, 3, kGround);
    fx_mosaic(*dst, 0, 0, *src, 2, 5);
    EXPECT_EQ(all_xs(*dst), "0224466/0224466/0224466/");
    for (int32_t x = 0; x < 7; ++x) EXPECT_EQ(ys(*dst, x), "112");
}

TEST(FxWave, RowsShiftBySineTimesAmplitudeTruncatedAndFillOrWrap) {
    int16_t sine[1024] = {};
    sine[1] = 5000;
    sine[2] = -5000;
    sine[3] = 10000;
    sine[1023] = -10000;
    struct Case {
        uint16_t phase, step, amplitude;
        bool wrap;
        const char* rows;
    };
    const Case cases[] = {
        // Shifts 0, 1.5, -1.5, 3 truncate to 0, 1, -1, 3.
        {0, 1, 3, false, "012345/*01234/12345*/***012/"},
        {0, 1, 3, true, "012345/501234/123450/345012/"},
        // Phases 1023, 2048, 3073, 4098 taken mod 1024; shifts -7, 0, 3, -3:
        // -7 pushes the whole row out or turns it by one.
        {1023, 1025, 7, false, "******/012345/***012/345***/"},
        {1023, 1025, 7, true, "123450/012345/345012/345012/"},
        {0, 1, 0, false, "012345/012345/012345/012345/"},
    };
    const RowFill fill{false, 0x77, 0xAA, 0x33};
    for (const Case& c : cases) {
        PicturePtr src = source_picture(6, 4), dst = filled_picture(6, 4, kGround);
        fx_wave(*dst, 0, 0, *src, sine, c.phase, c.step, c.amplitude,
                c.wrap ? RowFill{true} : fill);
        EXPECT_EQ(all_xs(*dst), c.rows) << c.phase << " " << c.amplitude << " " << c.wrap;
        EXPECT_TRUE(rows_kept(*dst));
    }
}

TEST(FxJitter, EachRowShiftsByItsRandomNumberWithBlackFill) {
    PicturePtr src = source_picture(5, 4), dst = filled_picture(5, 4, kGround);
    Random random;
    // 41, 18467, 6334, 26500 mod 5, minus 2.
    fx_jitter(*dst, 0, 0, *src, 2, random);
    EXPECT_EQ(all_xs(*dst), "1234_/01234/__012/234__/");
    EXPECT_TRUE(rows_kept(*dst));
    fx_jitter(*dst, 0, 0, *src, 0, random);
    EXPECT_EQ(all_xs(*dst), "01234/01234/01234/01234/");
}

TEST(FxPattern, BlackTilePixelsCopyOthersLeaveOnlyWholeTilesCount) {
    // Tiles of 2 x 2: black (blue 0 counts, whatever red and green), white
    // (a blue of 1 is enough), mixed.
    PicturePtr pattern = filled_picture(2, 6, 0xFFFF00);
    for (int32_t x = 0; x < 2; ++x) set_pixel(*pattern, x, 2, 0x000001);
    for (int32_t x = 0; x < 2; ++x) set_pixel(*pattern, x, 3, 0xFFFFFF);
    set_pixel(*pattern, 1, 4, 0x000001);
    set_pixel(*pattern, 0, 5, 0x000001);
    struct Case {
        uint16_t frame;
        const char* rows;
    };
    const Case cases[] = {
        {0, "012/012/012/"},     {1, ".../.../.../"},
        {2, "0.2/.1./0.2/"},     {3, ".../.../.../"},  // beyond the pattern: nothing
        {65535, ".../.../.../"},
    };
    for (const Case& c : cases) {
        PicturePtr src = source_picture(3, 3), dst = filled_picture(3, 3, kGround);
        fx_pattern(*dst, 0, 0, *src, *pattern, c.frame);
        EXPECT_EQ(all_xs(*dst), c.rows) << c.frame;
    }
    PicturePtr src = source_picture(3, 3), dst = filled_picture(3, 3, kGround);
    Picture no_columns;
    no_columns.height = 4;
    fx_pattern(*dst, 0, 0, *src, no_columns, 0);
    EXPECT_EQ(all_xs(*dst), ".../.../.../");
    // Drawn over itself one pixel to the right, each pixel reads what the one
    // before it just wrote.
    fx_pattern(*src, 1, 0, *src, *pattern, 0);
    EXPECT_EQ(xs(*src, 0), "000");
}

TEST(FxDissolvePass, TheEdgeThinsOutFromItsFront) {
    Random random;
    PicturePtr src = source_picture(6, 3), dst = filled_picture(6, 3, kGround);
    // Rows 0 to 2 take every 1st, 2nd, 3rd pixel from 41 % 1, 18467 % 2, 6334 % 3.
    Rect r = fx_dissolve_pass(*dst, 0, 0, *src, kDissolveDown, 3, 0, random);
    EXPECT_EQ(all_xs(*dst), "012345/.1.3.5/.1..4./");
    EXPECT_EQ(std::vector<int32_t>({r.left, r.top, r.right, r.bottom}),
              std::vector<int32_t>({0, 0, 6, 3}));
    random = Random{};
    src = source_picture(3, 6);
    dst = filled_picture(3, 6, kGround);
    fx_dissolve_pass(*dst, 0, 0, *src, kDissolveRight, 3, 0, random);
    EXPECT_EQ(ys(*dst, 0) + ys(*dst, 1) + ys(*dst, 2), "012345.1.3.5.1..4.");
    // Diagonals from the top-right corner, the corner itself first.
    src = source_picture(5, 2);
    dst = filled_picture(5, 2, kGround);
    fx_dissolve_pass(*dst, 0, 0, *src, kDissolveDiagonal, 3, 0, random);
    EXPECT_EQ(all_xs(*dst), "..234/...34/");
    EXPECT_TRUE(fx_dissolve_pass(*dst, 0, 0, *src, 3, 3, 0, random).empty());

    struct Case {
        uint16_t edge;
        int32_t pass, rows;
    };
    for (const Case c : {Case{0, 0, 64}, Case{100, 0, 70}, Case{100, 60, 10}, Case{1, 5, 1}}) {
        src = source_picture(2, 70);
        dst = filled_picture(2, 70, kGround);
        r = fx_dissolve_pass(*dst, 3, 4, *src, kDissolveDown, c.edge, c.pass, random);
        EXPECT_EQ(std::vector<int32_t>({r.left, r.top, r.right, r.bottom}),
                  std::vector<int32_t>({3, 4 + c.pass, 5, 4 + c.pass + c.rows}));
    }
}

TEST(FxDissolvePass, DiagonalsCompleteThePictureOnlyWithAnEdgeOf16) {
    for (const auto& [w, h] : {std::pair{20, 7}, std::pair{1, 1}, std::pair{3, 40}}) {
        for (const uint16_t edge : {uint16_t(16), uint16_t(15)}) {
            PicturePtr src = source_picture(w, h), dst = filled_picture(w, h, kGround);
            Random random;
            const int32_t passes = fx_dissolve_passes(*src, kDissolveDiagonal);
            for (int32_t pass = 0; pass < passes; ++pass) {
                fx_dissolve_pass(*dst, 0, 0, *src, kDissolveDiagonal, edge, pass, random);
            }
            const bool whole = all_xs(*dst).find('.') == std::string::npos;
            EXPECT_EQ(whole, edge == 16 || w * h == 1) << w << "x" << h << " " << edge;
        }
    }
}

// Every effect drawn into a small window hanging off at any side writes just
// what it would have written there into a picture large enough for it all,
// and takes the same random numbers.
TEST(FxClipping, APartlyOutsideAreaDrawsItsVisiblePartExactly) {
    int16_t sine[1024];
    for (int i = 0; i < 1024; ++i) sine[i] = int16_t((i * 7919) % 20001 - 10000);
    PicturePtr checker = filled_picture(2, 2, 0);
    set_pixel(*checker, 1, 0, 0xFF);
    using Draw = std::function<void(Picture&, int32_t, int32_t, const Picture&, Random&)>;
    const std::vector<std::pair<const char*, Draw>> effects = {
        {"mosaic", [](Picture& d, int32_t x, int32_t y, const Picture& s,
                      Random&) { fx_mosaic(d, x, y, s, 2, 3); }},
        {"wave wrap", [&](Picture& d, int32_t x, int32_t y, const Picture& s,
                          Random&) { fx_wave(d, x, y, s, sine, 5, 77, 4, RowFill{true}); }},
        {"wave fill", [&](Picture& d, int32_t x, int32_t y, const Picture& s,
                          Random&) { fx_wave(d, x, y, s, sine, 9, 300, 3, RowFill{}); }},
        {"jitter", [](Picture& d, int32_t x, int32_t y, const Picture& s,
                      Random& r) { fx_jitter(d, x, y, s, 3, r); }},
        {"pattern", [&](Picture& d, int32_t x, int32_t y, const Picture& s,
                        Random&) { fx_pattern(d, x, y, s, *checker, 0); }},
    };
    std::vector<std::pair<const char*, Draw>> all = effects;
    for (const uint16_t mode : {kDissolveDown, kDissolveDiagonal, kDissolveRight}) {
        all.emplace_back("dissolve",
                         [mode](Picture& d, int32_t x, int32_t y, const Picture& s, Random& r) {
                             for (int32_t pass = 0; pass < 2; ++pass)
                                 fx_dissolve_pass(d, x, y, s, mode, 4, pass, r);
                         });
    }
    constexpr int32_t kMargin = 9;
    PicturePtr src = source_picture(7, 5);
    for (const auto& [name, draw] : all) {
        for (const auto& [x, y] : {std::pair{-2, -1}, std::pair{2, 3}, std::pair{-8, 0},
                                   std::pair{0, 6}, std::pair{INT32_MIN, INT32_MAX}}) {
            PicturePtr small = filled_picture(5, 4, kGround);
            PicturePtr large = filled_picture(5 + 2 * kMargin, 4 + 2 * kMargin, kGround);
            Random r1, r2;
            draw(*small, x, y, *src, r1);
            const bool near = x >= -kMargin && y <= kMargin;
            if (near) draw(*large, x + kMargin, y + kMargin, *src, r2);
            int32_t wrong = 0;
            for (int32_t v = 0; v < 4; ++v) {
                for (int32_t u = 0; u < 5; ++u) {
                    const uint32_t expected =
                        near ? pixel(*large, u + kMargin, v + kMargin) : kGround;
                    wrong += pixel(*small, u, v) != expected;
                }
            }
            EXPECT_EQ(wrong, 0) << name << " at " << x << ", " << y;
            if (near) {
                EXPECT_EQ(r1.state, r2.state) << name;
            }
        }
    }
}

}  // namespace
}  // namespace qln::test
