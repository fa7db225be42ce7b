// Picture files beyond the caps are refused at once, before memory is taken;
// at the caps they still decode. Commands may make thin wide pictures.

#include <gtest/gtest.h>

#include <chrono>

#include "graphics/decode_formats.h"
#include "support/hostile_pictures.h"

namespace qln {
namespace {

TEST(DecodeLimits, HostileHeadersAreRefusedQuicklyAndTheCapsStillDecode) {
    for (const test::HostilePicture& h : test::hostile_pictures()) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(PictureOwner(picture_decode(h.bytes.data(), h.bytes.size()))) << h.name;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    }
    // One colour run of 2^32 - 1 pixels fills the picture.
    for (auto [w, h, decodes] :
         {std::tuple{16384, 1, true}, {1, 16384, true}, {16384, 4097, false}}) {
        std::vector<uint8_t> b = test::gcmp_file(uint16_t(w), uint16_t(h), 24);
        b.insert(b.end(), {0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3});
        PictureOwner p(picture_decode(b.data(), b.size()));
        ASSERT_EQ(bool(p), decodes) << w << " x " << h;
        if (p) {
            EXPECT_EQ(p->pixels[p->pixel_bytes() - 1], 3);
        }
    }
    for (auto [w, h, made] : {std::tuple{65535, 15, true}, {8192, 8192, true}, {8192, 8193, false}})
        EXPECT_EQ(bool(PictureOwner(picture_create(uint16_t(w), uint16_t(h)))), made)
            << w << "x" << h;
}

}  // namespace
}  // namespace qln
