// How picture_decode chooses among the formats, and that no prefix of a
// valid file makes any reader misbehave.
#include <gtest/gtest.h>

#include "graphics/decode_test_support.h"
#include "graphics/encode_formats.h"

namespace qln::test {
namespace {

PictureOwner sample(uint16_t w, uint16_t h) {
    return make_picture(w, h, [](int x, int y) {
        return Bgr{uint8_t(17 * ((x + y) % 4)), uint8_t(17 * (x % 3)), 0xCC};
    });
}

TEST(DecodeChoice, ThePlanarReaderDecidesWhatTheTargaReaderRefuses) {
    // Placement 0 and 16 pixels across look like a true-colour targa header
    // up to its depth.
    const Bytes planar = encode_planar(*sample(16, 4), 7, 0);
    ASSERT_EQ(planar[1], 0);
    ASSERT_EQ(planar[2], 2);
    PictureOwner p = decode(planar);
    ASSERT_TRUE(p);
    EXPECT_TRUE(same_pixels(*sample(16, 4), *p));
}

TEST(DecodeChoice, SignaturesWinAndTheirRefusalsAreFinal) {
    Bytes planar = encode_planar(*sample(16, 4));
    ASSERT_TRUE(decode(planar));
    // A planar file with "BM" placement bytes is taken for a bitmap.
    planar[0] = 'B';
    planar[1] = 'M';
    EXPECT_FALSE(decode(planar));
    PictureOwner direct(decode_planar(planar.data(), planar.size()));
    EXPECT_TRUE(direct);

    // The compressed signature needs its zero byte.
    Bytes gcmp = encode_gcmp24(*sample(3, 3));
    ASSERT_TRUE(decode(gcmp));
    gcmp[7] = ' ';
    EXPECT_FALSE(decode(gcmp));

    EXPECT_FALSE(picture_decode(nullptr, 0));
    EXPECT_FALSE(decode(Bytes{}));
}

TEST(DecodeChoice, EveryPrefixOfAValidFileIsRefusedOrDecodedSafely) {
    PictureOwner colour = sample(16, 6);
    PictureOwner bw = make_picture(13, 6, [](int x, int y) { return (x ^ y) & 1 ? white : black; });
    const std::vector<Bytes> files = {
        encode_gcmp24(*colour),  encode_gcmp1(*bw, true), encode_gcmp1(*bw, false),
        encode_bmp(*colour, 24), encode_bmp(*colour, 8),  encode_bmp(*bw, 1),
        encode_targa(*colour),   encode_planar(*colour),
    };
    for (size_t f = 0; f < files.size(); ++f) {
        ASSERT_FALSE(files[f].empty()) << f;
        ASSERT_TRUE(decode(files[f])) << f;
        for (size_t n = 0; n < files[f].size(); ++n) {
            // Exact-size copies, so a read past the end is caught by the
            // sanitizers.
            Bytes prefix(files[f].begin(), files[f].begin() + n);
            PictureOwner p = decode(prefix);
            // Only a bitmap may lose its last row's padding.
            if (f < 3 || f == 7) {
                EXPECT_FALSE(p) << f << " " << n;
            }
            if (f == 6 && n >= 18) {
                EXPECT_FALSE(p) << f << " " << n;
            }
        }
    }
}

TEST(DecodeChoice, HeaderFieldsAtTheirExtremesAreRefusedWithoutHugeReads) {
    // Width and height bytes raised to 65535 x 65535 (or the planar maximum)
    // over the data of a picture of a few pixels.
    const std::pair<Bytes, std::vector<size_t>> files[] = {
        {encode_targa(*sample(1, 1)), {12, 13, 14, 15}},
        {encode_bmp(*sample(1, 1), 24), {18, 19, 22, 23}},
        {encode_gcmp1(*sample(8, 1), false), {8, 9, 10, 11}},
        {encode_planar(*sample(8, 2)), {2, 3}}};
    for (auto [file, at] : files) {
        for (size_t i : at) file[i] = 0xFF;
        EXPECT_FALSE(decode(file)) << at[0];
    }
}

}  // namespace
}  // namespace qln::test
