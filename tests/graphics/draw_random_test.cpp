// Random pictures (fixed seeds) through every drawing path, held to the plain
// reference: every opacity class, flag, rop and alpha-plane combination, odd
// widths for every kernel tail, rows past the chunk size and overlapping
// self-draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "graphics/draw.h"
#include "graphics/draw_reference.h"

namespace qln {
namespace {

struct Geometry {
    int32_t dx, dy, dw, dh, sx, sy, sw, sh;
};

// Rectangles inside both pictures, so the plain reference needs no clipping.
Geometry random_geometry(std::mt19937& rng, const Picture& dst, const Picture& src, bool stretch) {
    auto range = [&](int lo, int hi) { return lo + int(rng() % uint32_t(hi - lo + 1)); };
    Geometry g{};
    g.sx = range(0, src.width - 1), g.sy = range(0, src.height - 1);
    g.sw = range(1, std::min(src.width - g.sx, int(dst.width)));
    g.sh = range(1, std::min(src.height - g.sy, int(dst.height)));
    const int w = stretch ? range(1, dst.width) : g.sw, h = stretch ? range(1, dst.height) : g.sh;
    if (stretch) g.dw = w, g.dh = h;
    g.dx = range(0, dst.width - w), g.dy = range(0, dst.height - h);
    return g;
}

// Returns whether the draw changed anything, so the test knows it did not
// only compare draws that leave the picture as it was.
bool compare_draw(Picture& dst, const Picture& src, const Geometry& g, int opacity, int rop,
                  int flags) {
    auto expected = test::copy_picture(dst);
    const auto before = test::copy_picture(dst);
    test::reference_draw(expected.get(), g.dx, g.dy, g.dw, g.dh, &src, g.sx, g.sy, g.sw, g.sh,
                         opacity, rop, flags);
    picture_draw(&dst, g.dx, g.dy, g.dw, g.dh, &src, g.sx, g.sy, g.sw, g.sh, opacity, rop, flags);
    EXPECT_TRUE(test::same_picture(dst, *expected))
        << dst.width << "x" << dst.height << " from " << src.width << "x" << src.height << " at "
        << g.dx << "," << g.dy << " " << g.dw << "x" << g.dh << " of " << g.sx << "," << g.sy << " "
        << g.sw << "x" << g.sh << " opacity " << opacity << " rop " << rop << " flags " << flags;
    return !test::same_picture(dst, *before);
}

class DrawRandom : public ::testing::TestWithParam<bool> {};  // stretched or not

TEST_P(DrawRandom, EveryModeMatchesTheReference) {
    const bool stretch = GetParam();
    std::mt19937 rng(stretch ? 77 : 76);
    uint32_t seed = 1;
    int changed = 0;
    for (int opacity : {0, 1, 128, 254, 255, 256 + 128})
        for (int flags : {0, 1, 10, 11, 100, 110})
            for (int rop : {0, 1, 2, 3, 4, 5, 9})
                for (int alphas = 0; alphas < 4; ++alphas) {
                    const int sw = 1 + int(rng() % 67), sh = 1 + int(rng() % 9);
                    const int dw = 1 + int(rng() % 67), dh = 1 + int(rng() % 9);
                    auto src = test::random_picture(sw, sh, seed++, alphas & 1);
                    auto dst = test::random_picture(dw, dh, seed++, alphas & 2);
                    changed += compare_draw(*dst, *src, random_geometry(rng, *dst, *src, stretch),
                                            opacity, rop, flags);
                    if (HasFailure()) return;
                }
    // Opacity 0 and flags 100 and 110 leave about a third unchanged.
    EXPECT_GT(changed, 250);
}

TEST_P(DrawRandom, WideRowsAndSelfDrawsMatchTheReference) {
    const bool stretch = GetParam();
    std::mt19937 rng(stretch ? 91 : 90);
    int changed = 0;
    for (uint32_t round = 0; round < 300; ++round) {
        // Rows past the 1024-pixel chunk now and then; every third round draws
        // a picture onto itself, which must act as if drawn from a copy.
        const bool self = round % 3 == 0;
        const int sw = 1 + int(rng() % (round % 10 == 0 ? 1500 : 120));
        const int dw = 1 + int(rng() % (round % 10 == 5 ? 1300 : 120));
        auto src = test::random_picture(sw, 1 + int(rng() % 12), round * 2 + 1, rng() % 2);
        auto dst = test::random_picture(dw, 1 + int(rng() % 12), round * 2 + 2, rng() % 2);
        Picture& to = self ? *src : *dst;
        Geometry g = random_geometry(rng, to, *src, stretch);
        const int rows = stretch ? g.dh : g.sh;
        if (self && round % 2 && g.sy + rows <= to.height) g.dy = g.sy;  // rows shifted sideways
        const int flags = int(rng() % 2) + 10 * int(rng() % 2);
        changed += compare_draw(to, *src, g, int(rng() % 256), int(rng() % 7), flags);
        if (HasFailure()) return;
    }
    EXPECT_GT(changed, 120);
}

INSTANTIATE_TEST_SUITE_P(Paths, DrawRandom, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Stretched" : "OneToOne"; });

}  // namespace
}  // namespace qln
