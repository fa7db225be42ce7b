// Invert and the packed bitmap, by exact bytes (fills: picture_commands_test.cpp;
// cross-fades: picture_fade_test.cpp).
#include <gtest/gtest.h>

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

TEST(PictureInvert, XorsBlueGreenRedInsideTheClippedRectangle) {
    auto p = filled(2, 2, 0xF0, false);
    picture_invert(p.get(), -1, 1, 2, 5, 0x01, 0x02, 0x04);
    EXPECT_EQ(bytes(*p), (std::vector<uint8_t>{0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0,  //
                                               0xF1, 0xF2, 0xF4, 0xF0, 0xF0, 0xF0}));
    picture_invert(p.get(), 0, 0, 2, 2, 255, 255, 255);
    EXPECT_EQ(bytes(*p)[0], 0x0F);
    EXPECT_EQ(bytes(*p)[6], 0x0E);
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
