// The kernels that blend and combine without table lookups, held to the rounding formula.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics/draw.h"
#include "graphics/draw_kernels.h"
#include "graphics/draw_reference.h"

namespace qln {
namespace {

using test::ref_blend;

std::vector<const DrawKernels*> kernel_sets() {
    std::vector<const DrawKernels*> sets{&draw_kernels_sse2()};
    if (draw_kernels_avx2()) sets.push_back(draw_kernels_avx2());
    return sets;
}

std::vector<uint8_t> random_bytes(size_t n, std::mt19937& rng) {
    std::vector<uint8_t> v(n + 1);  // one guard byte
    for (auto& b : v) b = static_cast<uint8_t>(rng());
    return v;
}

TEST(DrawKernels, BlendMatchesForEveryWeightLengthAndBytePair) {
    std::mt19937 rng(11);
    // All 65536 (s, d) pairs in one long span at the weights nearest the
    // rounding edges, and every weight over lengths 1..70 for every tail.
    std::vector<uint8_t> s(65536), d(65536), out(65536);
    for (int i = 0; i < 65536; ++i) s[i] = uint8_t(i >> 8), d[i] = uint8_t(i);
    for (const DrawKernels* k : kernel_sets()) {
        for (int a : {1, 2, 85, 127, 128, 129, 200, 254}) {
            k->blend(out.data(), s.data(), d.data(), out.size(), uint8_t(a));
            for (int i = 0; i < 65536; ++i)
                ASSERT_EQ(out[i], ref_blend(a, s[i], d[i])) << a << " " << i;
        }
        for (int a = 0; a < 256; ++a) {
            const size_t n = size_t(a % 70) + 1;
            const auto s1 = random_bytes(n, rng), d1 = random_bytes(n, rng);
            std::vector<uint8_t> o(n + 1, 0x5A);
            k->blend(o.data(), s1.data(), d1.data(), n, static_cast<uint8_t>(a));
            for (size_t i = 0; i < n; ++i)
                ASSERT_EQ(o[i], ref_blend(a, s1[i], d1[i])) << a << " " << i;
            EXPECT_EQ(o[n], 0x5A) << "wrote past the span";
        }
    }
}

TEST(DrawKernels, RopsMatchTheirDefinitionsAtFullAndPartialWeight) {
    std::mt19937 rng(12);
    for (const DrawKernels* k : kernel_sets())
        for (int rop = 1; rop <= 5; ++rop)
            for (int a : {1, 64, 128, 254, 255})
                for (size_t n : {1u, 15u, 16u, 17u, 31u, 32u, 33u, 100u, 201u}) {
                    const auto s = random_bytes(n, rng);
                    auto d = random_bytes(n, rng);
                    const auto before = d;
                    k->rop(d.data(), s.data(), n, rop, uint8_t(a));
                    for (size_t i = 0; i < n; ++i) {
                        const uint8_t m = test::ref_rop(rop, s[i], before[i]);
                        ASSERT_EQ(d[i], a == 255 ? m : ref_blend(a, m, before[i]))
                            << "rop " << rop << " a " << a << " n " << n << " i " << i;
                    }
                    EXPECT_EQ(d[n], before[n]);
                }
}

TEST(DrawKernels, WeightedMatchesPerPixelRulesForEveryRopAndOpacity) {
    std::mt19937 rng(13);
    for (const DrawKernels* k : kernel_sets())
        for (int rop = 0; rop <= 5; ++rop)
            for (int opacity : {1, 128, 254, 255})
                for (size_t n = 1; n <= 67; n += 3) {
                    const auto s = random_bytes(n * 3, rng);
                    auto alpha = random_bytes(n, rng);
                    // Whole groups of 0 and of 255 take the skip and copy paths.
                    if (n >= 32 && n % 2) std::fill(alpha.begin(), alpha.begin() + 32, 255);
                    if (n >= 64 && n % 4 == 0) std::fill(alpha.begin() + 32, alpha.begin() + 64, 0);
                    auto d = random_bytes(n * 3, rng);
                    auto expected = d;
                    for (size_t i = 0; i < n; ++i)
                        test::ref_pixel(&expected[i * 3], &s[i * 3], alpha[i], opacity, rop);
                    k->weighted(d.data(), s.data(), alpha.data(), n, rop, uint8_t(opacity));
                    ASSERT_EQ(d, expected) << "rop " << rop << " opacity " << opacity << " n " << n;
                }
}

}  // namespace
}  // namespace qln
