#include <gtest/gtest.h>

#include "graphics/decode_test_support.h"

namespace qln::test {
namespace {

Bytes targa_header(uint16_t w, uint16_t h, uint8_t type = 2, uint8_t depth = 32) {
    Bytes b(18, 0);
    b[2] = type;
    b[12] = uint8_t(w);
    b[13] = uint8_t(w >> 8);
    b[14] = uint8_t(h);
    b[15] = uint8_t(h >> 8);
    b[16] = depth;
    return b;
}

TEST(DecodeTarga, RowsAreBottomUpWithAnAlphaPlaneAndTheHeaderExtrasIgnored) {
    Bytes b = targa_header(2, 2);
    b[0] = 4;      // an identification field that is not skipped
    b[17] = 0x20;  // "top-down" is not consulted
    b.insert(b.end(), {0x44, 0x88, 0xCC, 0x10, 1, 2, 3, 0x20});  // bottom row
    b.insert(b.end(), {4, 5, 6, 0x30, 7, 8, 9, 0xFF});           // top row
    PictureOwner p = decode(b);
    ASSERT_TRUE(p);
    ASSERT_TRUE(p->alpha);
    EXPECT_EQ(pixel(*p, 0, 1), tint);
    EXPECT_EQ(pixel(*p, 1, 0), (Bgr{7, 8, 9}));
    EXPECT_EQ(std::vector<uint8_t>(p->alpha.get(), p->alpha.get() + 4),
              (std::vector<uint8_t>{0x30, 0xFF, 0x10, 0x20}));
}

TEST(DecodeTarga, OtherVariantsAndShortDataAreRefused) {
    Bytes pixel_bytes = {1, 2, 3, 4};
    for (Bytes b : {targa_header(1, 1, 10), targa_header(1, 1, 2, 24), targa_header(2, 1)}) {
        b.insert(b.end(), pixel_bytes.begin(), pixel_bytes.end());
        EXPECT_FALSE(decode(b));
    }
    Bytes mapped = targa_header(1, 1);
    mapped[1] = 1;
    mapped.insert(mapped.end(), pixel_bytes.begin(), pixel_bytes.end());
    EXPECT_FALSE(decode(mapped));
}

}  // namespace
}  // namespace qln::test
