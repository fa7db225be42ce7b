// Random pictures (fixed seeds) through every drawing path, held to the plain
// reference drawn from the rules: every opacity class, flags, rop, alpha-plane
// combination and odd widths that leave every kernel tail.
#include <gtest/gtest.h>

#include <random>

#include "graphics/draw.h"
#include "graphics/draw_reference.h"

namespace qln {
namespace {

using test::random_picture;
using test::reference_draw;
using test::same_picture;

struct Geometry {
    int32_t dx, dy, dw, dh, sx, sy, sw, sh;
};

Geometry random_geometry(std::mt19937& rng, const Picture& dst, const Picture& src, bool stretch) {
    auto range = [&](int lo, int hi) { return lo + int(rng() % uint32_t(hi - lo + 1)); };
    Geometry g{};
    // Mostly overlapping the pictures, sometimes far off any edge.
    const bool wild = rng() % 4 == 0;
    g.dx = wild ? range(-40, dst.width + 4) : range(-src.width / 2 - 1, dst.width - 1);
    g.dy = wild ? range(-20, dst.height + 4) : range(-src.height / 2 - 1, dst.height - 1);
    if (rng() % 4 == 0) {
        g.sx = g.sy = g.sw = g.sh = 0;  // the whole source
    } else if (wild) {
        g.sx = range(-10, src.width);
        g.sy = range(-10, src.height);
        g.sw = range(1, src.width + 10);
        g.sh = range(1, src.height + 10);
    } else {
        g.sx = range(-2, src.width - 1);
        g.sy = range(-2, src.height - 1);
        g.sw = range(1, src.width - g.sx + 2);
        g.sh = range(1, src.height - g.sy + 2);
    }
    if (stretch) {
        g.dw = range(1, 150);
        g.dh = range(1, 90);
    }
    return g;
}

// Counts the draws that changed something, so the suite knows it is not
// comparing clipped-away nothing.
int changed_draws = 0;  // NOLINT: per-test counter, reset by each test

void compare_draw(Picture& dst, const Picture& src, const Geometry& g, int opacity, int rop,
                  int flags) {
    auto expected = test::copy_picture(dst);
    const auto before = test::copy_picture(dst);
    reference_draw(expected.get(), g.dx, g.dy, g.dw, g.dh, &src, g.sx, g.sy, g.sw, g.sh, opacity,
                   rop, flags);
    picture_draw(&dst, g.dx, g.dy, g.dw, g.dh, &src, g.sx, g.sy, g.sw, g.sh, opacity, rop, flags);
    ASSERT_TRUE(same_picture(dst, *expected))
        << "dst " << dst.width << "x" << dst.height << " src " << src.width << "x" << src.height
        << " at " << g.dx << "," << g.dy << " " << g.dw << "x" << g.dh << " from " << g.sx << ","
        << g.sy << " " << g.sw << "x" << g.sh << " opacity " << opacity << " rop " << rop
        << " flags " << flags;
    if (!same_picture(dst, *before)) ++changed_draws;
}

class DrawRandom : public ::testing::TestWithParam<bool> {};  // stretched or not

TEST_P(DrawRandom, EveryModeMatchesTheReference) {
    const bool stretch = GetParam();
    std::mt19937 rng(stretch ? 77 : 76);
    uint32_t seed = 1;
    changed_draws = 0;
    for (int opacity : {0, 1, 128, 254, 255, 256 + 128}) {
        for (int flags : {0, 1, 10, 11, 100, 110}) {
            for (int rop : {0, 1, 2, 3, 4, 5, 9}) {
                for (int alphas = 0; alphas < 4; ++alphas) {
                    const int sw = 1 + int(rng() % 67), sh = 1 + int(rng() % 9);
                    const int dw = 1 + int(rng() % 67), dh = 1 + int(rng() % 9);
                    auto src = random_picture(sw, sh, seed++, alphas & 1);
                    auto dst = random_picture(dw, dh, seed++, alphas & 2);
                    compare_draw(*dst, *src, random_geometry(rng, *dst, *src, stretch), opacity,
                                 rop, flags);
                    if (HasFatalFailure()) return;
                }
            }
        }
    }
    // Of 1008 draws, opacity 0, flags 100, flags 110 without both alpha planes
    // and clipping leave about 40% unchanged.
    EXPECT_GT(changed_draws, 250);
}

TEST_P(DrawRandom, WideRowsAndManyGeometriesMatchTheReference) {
    const bool stretch = GetParam();
    std::mt19937 rng(stretch ? 91 : 90);
    changed_draws = 0;
    for (uint32_t round = 0; round < 300; ++round) {
        // Rows past the 1024-pixel step of the stretched path now and then.
        const int sw = 1 + int(rng() % (round % 10 == 0 ? 1300 : 120));
        const int dw = 1 + int(rng() % (round % 10 == 5 ? 1300 : 120));
        auto src = random_picture(sw, 1 + int(rng() % 12), round * 2 + 1, rng() % 2);
        auto dst = random_picture(dw, 1 + int(rng() % 12), round * 2 + 2, rng() % 2);
        const int flags = int(rng() % 2) + 10 * int(rng() % 2);
        compare_draw(*dst, *src, random_geometry(rng, *dst, *src, stretch), int(rng() % 256),
                     int(rng() % 7), flags);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(changed_draws, 120);
}

TEST_P(DrawRandom, APictureDrawnOntoItselfActsAsIfFromACopy) {
    const bool stretch = GetParam();
    std::mt19937 rng(stretch ? 31 : 30);
    for (uint32_t round = 0; round < 200; ++round) {
        auto pic =
            random_picture(1 + int(rng() % 1500), 1 + int(rng() % 8), round + 500, rng() % 2);
        Geometry g = random_geometry(rng, *pic, *pic, stretch);
        if (round % 3 == 0) g.dy = g.sy;  // the same rows, shifted sideways
        compare_draw(*pic, *pic, g, int(rng() % 2) ? 255 : int(rng() % 256), int(rng() % 6),
                     int(rng() % 2) + 10 * int(rng() % 2));
        if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, DrawRandom, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Stretched" : "OneToOne"; });

}  // namespace
}  // namespace qln
