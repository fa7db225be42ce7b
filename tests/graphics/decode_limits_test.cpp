// Picture files that state sizes beyond the caps are refused at once, before
// any memory is taken; sizes at the caps still decode.

#include <gtest/gtest.h>

#include <chrono>

#include "graphics/decode_formats.h"
#include "support/hostile_pictures.h"

namespace qln {
namespace {

TEST(DecodeLimits, HostileHeadersAreRefusedQuickly) {
    for (const test::HostilePicture& h : test::hostile_pictures()) {
        SCOPED_TRACE(h.name);
        const auto start = std::chrono::steady_clock::now();
        PictureOwner p(picture_decode(h.bytes.data(), h.bytes.size()));
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
        EXPECT_FALSE(p);
        EXPECT_LT(ms, 100);
    }
}

TEST(DecodeLimits, PicturesAtTheCapsStillDecode) {
    struct Case {
        uint32_t width, height;
        bool decodes;
    };
    // One colour run of 2^32 - 1 pixels fills any picture.
    const Case cases[] = {
        {16384, 1, true}, {1, 16384, true}, {16385, 1, false}, {16384, 4097, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        std::vector<uint8_t> b = test::gcmp_file(c.width, c.height, 24);
        b.insert(b.end(), {0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3});
        PictureOwner p(picture_decode(b.data(), b.size()));
        ASSERT_EQ(bool(p), c.decodes);
        if (!p) continue;
        EXPECT_EQ(p->width, c.width);
        const size_t last = p->pixel_bytes() - 3;
        EXPECT_EQ(p->pixels[last] * 65536 + p->pixels[last + 1] * 256 + p->pixels[last + 2],
                  0x010203);
    }
}

TEST(PictureLimits, CommandsMayMakeThinWidePicturesButNotHugeOnes) {
    struct Case {
        uint16_t width, height;
        bool made;
    };
    const Case cases[] = {
        {65535, 15, true}, {8192, 8192, true}, {8192, 8193, false}, {65535, 65535, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        PictureOwner p(picture_create(c.width, c.height));
        EXPECT_EQ(bool(p), c.made);
    }
}

}  // namespace
}  // namespace qln
