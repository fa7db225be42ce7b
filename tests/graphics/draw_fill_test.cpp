// Fills, invert, cross-fade and the packed bitmap, by exact bytes.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <vector>

#include "graphics/draw.h"
#include "graphics/draw_reference.h"
#include "support/pixels.h"

namespace qln {
namespace {

using test::PicturePtr;

PicturePtr filled(int w, int h, uint8_t v, bool alpha) {
    PicturePtr p(picture_create(uint16_t(w), uint16_t(h)));
    std::fill(p->pixels.get(), p->pixels.get() + p->pixel_bytes(), v);
    if (alpha) {
        p->alpha.reset(new uint8_t[p->alpha_bytes()]);
        std::fill(p->alpha.get(), p->alpha.get() + p->alpha_bytes(), 1);
    }
    return p;
}

std::vector<uint8_t> bytes(const Picture& p) {
    return std::vector<uint8_t>(p.pixels.get(), p.pixels.get() + p.pixel_bytes());
}

TEST(PictureFill, SetsTheClippedRectangleInBlueGreenRedOrder) {
    auto p = filled(3, 2, 0, true);
    picture_fill(p.get(), 1, -1, 5, 2, 0xCC, 0x88, 0x44, 300);  // alpha takes its low byte
    picture_fill(p.get(), 0, 1, 3, 1, 1, 2, 3, -1);             // alpha below 0 leaves the plane
    EXPECT_EQ(test::picture_art(*p, {{0, '.'}, {0xCC8844, 'o'}, {0x010203, 'x'}}), ".oo\nxxx\n");
    EXPECT_EQ(std::vector<uint8_t>(p->alpha.get(), p->alpha.get() + 6),
              (std::vector<uint8_t>{1, 44, 44, 1, 1, 1}));
    const uint64_t before = test::picture_hash(*p);
    for (auto [x, y, w, h] : std::vector<std::array<int32_t, 4>>{{3, 0, 1, 1},
                                                                 {0, 2, 1, 1},
                                                                 {-5, 0, 5, 2},
                                                                 {0, 0, -1, 1},
                                                                 {INT32_MAX, 0, INT32_MAX, 1}})
        picture_fill(p.get(), x, y, w, h, 9, 9, 9, 9);
    EXPECT_EQ(test::picture_hash(*p), before);
}

TEST(PictureInvert, XorsBlueGreenRedInsideTheClippedRectangle) {
    auto p = filled(2, 2, 0xF0, false);
    picture_invert(p.get(), -1, 1, 2, 5, 0x01, 0x02, 0x04);
    EXPECT_EQ(bytes(*p), (std::vector<uint8_t>{0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0,  //
                                               0xF1, 0xF2, 0xF4, 0xF0, 0xF0, 0xF0}));
    picture_invert(p.get(), 0, 0, 2, 2, 255, 255, 255);
    EXPECT_EQ(bytes(*p)[0], 0x0F);
    EXPECT_EQ(bytes(*p)[6], 0x0E);
}

TEST(PictureCrossfade, LevelsBlendFromTowardsToAndClipToTheDestination) {
    auto from = filled(2, 1, 0, false), to = filled(2, 1, 0, false);
    const uint8_t f[6] = {0, 10, 255, 0x44, 0x88, 0xCC}, t[6] = {255, 200, 0, 0xCC, 0x44, 0x88};
    std::copy(f, f + 6, from->pixels.get());
    std::copy(t, t + 6, to->pixels.get());
    for (int level : {0, 128, 255}) {
        auto dst = filled(3, 1, 7, false);
        picture_crossfade(dst.get(), 1, 0, from.get(), to.get(), level);
        std::vector<uint8_t> expected{7, 7, 7};
        for (int i = 0; i < 6; ++i) expected.push_back(test::ref_blend(level, t[i], f[i]));
        EXPECT_EQ(bytes(*dst), expected) << level;
    }
    auto dst = filled(3, 1, 7, false);
    picture_crossfade(dst.get(), 0, 0, from.get(), to.get(), 255);
    EXPECT_EQ(bytes(*dst), (std::vector<uint8_t>{255, 200, 0, 0xCC, 0x44, 0x88, 7, 7, 7}));
    auto left = filled(3, 1, 7, false);  // x = -1: the second pixel lands at 0
    picture_crossfade(left.get(), -1, 0, from.get(), to.get(), 0);
    EXPECT_EQ(bytes(*left), (std::vector<uint8_t>{0x44, 0x88, 0xCC, 7, 7, 7, 7, 7, 7}));
    auto off = filled(3, 1, 7, false);
    picture_crossfade(off.get(), 3, 0, from.get(), to.get(), 0);
    picture_crossfade(off.get(), 0, 1, from.get(), to.get(), 0);
    EXPECT_EQ(bytes(*off), std::vector<uint8_t>(9, 7));
}

TEST(PackedDib, HeaderThenBottomUpRowsPaddedToFourBytes) {
    auto p = filled(1, 2, 0, false);
    const uint8_t px[6] = {0x44, 0x88, 0xCC, 1, 2, 3};
    std::copy(px, px + 6, p->pixels.get());
    const auto dib = picture_to_packed_dib(*p);
    // Header size 40, width 1, height 2, 1 plane, 24 bits, the rest 0.
    std::vector<uint8_t> expected = {40, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0};
    expected.resize(40);
    expected.insert(expected.end(), {1, 2, 3, 0, 0x44, 0x88, 0xCC, 0});
    EXPECT_EQ(dib, expected);
    for (auto [w, stride] :
         std::vector<std::pair<int, size_t>>{{2, 8}, {3, 12}, {4, 12}, {5, 16}}) {
        EXPECT_EQ(picture_to_packed_dib(*filled(w, 3, 9, false)).size(), 40 + 3 * stride) << w;
    }
    EXPECT_EQ(picture_to_packed_dib(*filled(0, 0, 0, false)).size(), 40u);
}

}  // namespace
}  // namespace qln
