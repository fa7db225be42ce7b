// picture_draw by exact pixels on tiny pictures: both kinds of clipping and
// the stretched sampling (the colour rules are held to the reference in
// draw_random_test.cpp).
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "graphics/draw.h"
#include "graphics/draw_reference.h"
#include "support/pixels.h"

namespace qln {
namespace {

using test::PicturePtr;

// A w x h picture of one colour, with an alpha plane when one is given.
PicturePtr plain(int w, int h, uint32_t rgb, const std::vector<uint8_t>& alpha = {}) {
    PicturePtr p = test::filled_picture(w, h, rgb);
    if (!alpha.empty()) {
        p->alpha.reset(new uint8_t[size_t(w) * h]);
        for (int i = 0; i < w * h; ++i) p->alpha[i] = alpha.size() == 1 ? alpha[0] : alpha[i];
    }
    return p;
}

std::vector<uint8_t> alpha_of(const Picture& p) {
    return std::vector<uint8_t>(p.alpha.get(), p.alpha.get() + p.alpha_bytes());
}

// Four source colours and the untouched destination.
const test::ArtLegend kArt = {
    {0x030201, 'A'}, {0x060504, 'B'}, {0x090807, 'C'}, {0x0C0B0A, 'D'}, {0xEEEEEE, '.'}};

// One row painted from art such as "ABC".
PicturePtr row_of(const std::string& art) {
    PicturePtr p(picture_create(uint16_t(art.size()), 1));
    for (size_t x = 0; x < art.size(); ++x)
        for (const auto& [rgb, mark] : kArt)
            if (mark == art[x]) test::set_pixel(*p, int(x), 0, rgb);
    return p;
}

TEST(DrawClip, OneToOneCutsEveryEdgeAndTakesShiftedSourceColumns) {
    auto src = row_of("ABC");
    const struct {
        int dx, dy, dw, dh, sx, sy, sw, sh;
        const char* art;
    } cases[] = {
        {-1, 0, 0, 0, 0, 0, 0, 0, "BC..\n....\n"},
        {2, 0, 0, 0, 0, 0, 0, 0, "..AB\n....\n"},
        {2, 1, 0, 0, 0, 0, 0, 0, "....\n..AB\n"},
        {0, -1, 0, 0, 0, 0, 0, 0, "....\n....\n"},
        {4, 0, 0, 0, 0, 0, 0, 0, "....\n....\n"},
        {-3, 0, 0, 0, 0, 0, 0, 0, "....\n....\n"},
        // A negative sx moves the drawing right; a too wide source is cut.
        {0, 0, 0, 0, -2, 0, 4, 1, "..AB\n....\n"},
        {0, 0, 0, 0, 1, 0, 9, 9, "BC..\n....\n"},
        {0, 0, 0, 0, 3, 0, 1, 1, "....\n....\n"},
        {0, 0, 0, 0, 1, 0, -1, 1, "....\n....\n"},
        // Equal sizes take the one-to-one path, clipped alike.
        {-1, 0, 3, 1, 0, 0, 3, 1, "BC..\n....\n"},
        // (3, 0) differs from (3, 1): stretched, and a zero height draws nothing.
        {0, 0, 3, 0, 0, 0, 3, 1, "....\n....\n"},
    };
    for (const auto& c : cases) {
        auto dst = plain(4, 2, 0xEEEEEE);
        picture_draw(dst.get(), c.dx, c.dy, c.dw, c.dh, src.get(), c.sx, c.sy, c.sw, c.sh, 255, 0,
                     0);
        EXPECT_EQ(test::picture_art(*dst, kArt), c.art) << c.dx << "," << c.dy << " " << c.sx;
    }
}

TEST(DrawStretch, SamplesNearestInTruncatedSixteenSixteenStepsAndClipsInProportion) {
    auto two = row_of("AB");
    auto square = plain(4, 2, 0xEEEEEE);
    picture_draw(square.get(), 0, 0, 4, 2, two.get(), 0, 0, 0, 0, 255, 0, 0);
    EXPECT_EQ(test::picture_art(*square, kArt), "AABB\nAABB\n");

    const struct {
        const char* src;
        int dst_width, dx, dw, sx, sw;
        const char* art;
    } rows[] = {
        {"ABCDAB", 2, 0, 2, 0, 6, "AD\n"},       // a third
        {"ABC", 5, 0, 5, 0, 3, "AABBC\n"},       // 5/3
        {"ABCDAB", 4, 0, 4, 0, 6, "ABDA\n"},     // 2/3
        {"ABCD", 6, 0, 6, 0, 4, "AABBCD\n"},     // a step of 43690.67 is cut to 43690
        {"ABCD", 5, -3, 8, 0, 4, "BBCCD\n"},     // one column cut, 3 over 5 pixels
        {"ABCD", 3, 0, 8, 0, 4, "AAB\n"},        // 5 pixels and 2 columns cut
        {"ABCD", 8, 0, 8, -1, 4, "..AABBCC\n"},  // moved right by a column's width
        {"ABCD", 8, 0, 8, 2, 4, "CCDD....\n"},   // past the source's right edge
        {"ABCD", 4, 4, 8, 0, 4, "....\n"},       // wholly outside, either side
        {"ABCD", 4, -8, 8, 0, 4, "....\n"},
        {"ABCD", 4, 0, 8, 4, 4, "....\n"},
        {"ABCD", 4, 0, 8, -4, 4, "....\n"},
        {"ABC", 9, 0, 7, 0, 5, "AABBC....\n"},  // the last sample is still column 2
        {"AB", 3, 0, 65536, 0, 2, "...\n"},     // beyond any picture: refused
        {"AB", 3, 0, 65535, 0, 2, "AAA\n"},
    };
    for (const auto& r : rows) {
        auto src = row_of(r.src);
        auto dst = plain(r.dst_width, 1, 0xEEEEEE);
        picture_draw(dst.get(), r.dx, 0, r.dw, 1, src.get(), r.sx, 0, r.sw, 1, 255, 0, 0);
        EXPECT_EQ(test::picture_art(*dst, kArt), r.art)
            << r.src << " dx " << r.dx << " sx " << r.sx;
    }

    // The sampled alpha weighs the colour and is copied.
    auto weighted = row_of("AB");
    weighted->alpha.reset(new uint8_t[2]{0, 255});
    auto dst = plain(4, 1, 0xEEEEEE, {5});
    picture_draw(dst.get(), 0, 0, 4, 1, weighted.get(), 0, 0, 0, 0, 255, 0, 11);
    EXPECT_EQ(test::picture_art(*dst, kArt), "..BB\n");
    EXPECT_EQ(alpha_of(*dst), (std::vector<uint8_t>{0, 0, 255, 255}));
}

TEST(DrawClip, HostileArgumentsNeverReachOutsideEitherPicture) {
    const int32_t values[] = {INT_MIN, INT_MIN + 1, -65536, -65535, -1,          0,
                              1,       2,           65535,  65536,  INT_MAX - 1, INT_MAX};
    auto src = test::random_picture(5, 4, 3, true);
    // Each result was held to a plain clipping reference when this hash was
    // taken: 288 pairs of draws, one-to-one and stretched, mostly clipped away.
    uint64_t h = 0;
    for (int32_t a : values) {
        for (int32_t b : values) {
            for (int stretch = 0; stretch < 2; ++stretch) {
                auto dst = test::random_picture(6, 3, 4, true);
                picture_draw(dst.get(), a, 1, stretch ? b : 0, stretch ? 7 : 0, src.get(), b, a, a,
                             b, 200, 0, 11);
                picture_draw(dst.get(), 1, a, 9, b, src.get(), -1, b, 3, a, 255, 4, 1);
                h = h * 31 + test::picture_hash(*dst);
            }
        }
    }
    EXPECT_EQ(h, 0x1849cf51a16f6e9u);
    picture_draw(nullptr, 0, 0, 0, 0, src.get(), 0, 0, 0, 0, 255, 0, 0);
    picture_draw(src.get(), 0, 0, 0, 0, nullptr, 0, 0, 0, 0, 255, 0, 0);
}

}  // namespace
}  // namespace qln
