// picture_draw by exact pixels on tiny pictures: the rules before drawing,
// the colour cases, the flags, the rops and both kinds of clipping.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "graphics/draw.h"
#include "graphics/draw_reference.h"

namespace qln {
namespace {

using test::PicturePtr;

struct Bgr {
    uint8_t b, g, r;
    bool operator==(const Bgr&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Bgr& p) {
    return os << "(" << int(p.b) << "," << int(p.g) << "," << int(p.r) << ")";
}

// A picture from rows of pixels, optionally with alpha values.
PicturePtr make(int w, int h, const std::vector<Bgr>& px, const std::vector<uint8_t>& alpha = {}) {
    PicturePtr p(picture_create(uint16_t(w), uint16_t(h)));
    for (size_t i = 0; i < size_t(w) * h; ++i) {
        const Bgr c = px.size() == 1 ? px[0] : px[i];
        p->pixels[i * 3] = c.b, p->pixels[i * 3 + 1] = c.g, p->pixels[i * 3 + 2] = c.r;
    }
    if (!alpha.empty()) {
        p->alpha.reset(new uint8_t[size_t(w) * h]);
        for (size_t i = 0; i < size_t(w) * h; ++i)
            p->alpha[i] = alpha.size() == 1 ? alpha[0] : alpha[i];
    }
    return p;
}

std::vector<Bgr> pixels_of(const Picture& p) {
    std::vector<Bgr> out;
    for (size_t i = 0; i < size_t(p.width) * p.height; ++i)
        out.push_back({p.pixels[i * 3], p.pixels[i * 3 + 1], p.pixels[i * 3 + 2]});
    return out;
}
std::vector<uint8_t> alpha_of(const Picture& p) {
    return std::vector<uint8_t>(p.alpha.get(), p.alpha.get() + p.alpha_bytes());
}

const Bgr kSrc{0x44, 0x88, 0xCC};
const Bgr kZero{0, 0, 0};
const Bgr A{1, 2, 3}, B{4, 5, 6}, C{7, 8, 9}, D{10, 11, 12};
const Bgr O{0xEE, 0xEE, 0xEE};  // untouched destination

// Two pixels of kSrc drawn over two of kZero; H is kSrc weighted 128.
struct ColourCase {
    const char* name;
    std::vector<uint8_t> src_alpha, dst_alpha;
    int opacity, flags;
    std::vector<Bgr> pixels;
    std::vector<uint8_t> alpha_after;
};

TEST(DrawRules, OpacityFlagsAndAlphaPlanes) {
    const Bgr S = kSrc, Z = kZero, H{34, 68, 102};  // table[128][x] + table[127][0]
    const ColourCase cases[] = {
        {"opacity 0 draws nothing, not even the alpha copy",
         {200, 200},
         {7, 7},
         0,
         11,
         {Z, Z},
         {7, 7}},
        {"opacity takes its low 8 bits: 256 is 0", {200, 200}, {7, 7}, 256, 11, {Z, Z}, {7, 7}},
        {"full opacity copies", {}, {}, 255, 0, {S, S}, {}},
        {"-1 is 255", {}, {}, -1, 0, {S, S}, {}},
        {"alpha 0 skips, 255 copies", {0, 255}, {}, 255, 1, {Z, S}, {}},
        {"alpha 255 at opacity 128 weighs 128", {0, 255}, {}, 128, 1, {Z, H}, {}},
        {"without the units digit the plane is ignored", {0, 255}, {}, 255, 0, {S, S}, {}},
        {"weighting without a source plane draws plainly", {}, {}, 128, 1, {H, H}, {}},
        {"flags 110 copy alpha only", {9, 200}, {1, 1}, 255, 110, {Z, Z}, {9, 200}},
        {"no destination plane: colour only", {9, 200}, {}, 255, 10, {S, S}, {}},
        {"flags 100 draw nothing", {9, 200}, {1, 1}, 255, 100, {Z, Z}, {1, 1}},
        // The copy is unweighted and the colour weighted by the alpha before it.
        {"both digits", {9, 200}, {1, 1}, 255, 11, {Bgr{2, 5, 7}, Bgr{53, 107, 160}}, {9, 200}},
    };
    for (const ColourCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto src = make(2, 1, {kSrc}, c.src_alpha);
        auto dst = make(2, 1, {kZero}, c.dst_alpha);
        picture_draw(dst.get(), 0, 0, 0, 0, src.get(), 0, 0, 0, 0, c.opacity, 0, c.flags);
        EXPECT_EQ(pixels_of(*dst), c.pixels);
        if (c.dst_alpha.empty()) {
            EXPECT_EQ(dst->alpha, nullptr);
        } else {
            EXPECT_EQ(alpha_of(*dst), c.alpha_after);
        }
    }
}

TEST(DrawRules, RopsCombineByteWise) {
    const Bgr s{0x44, 0x88, 0xCC}, d{0x10, 0x88, 0x44};
    auto src = make(1, 1, {s});
    auto run = [&](int rop, int opacity = 255) {
        auto dst = make(1, 1, {d});
        picture_draw(dst.get(), 0, 0, 0, 0, src.get(), 0, 0, 0, 0, opacity, rop, 0);
        return pixels_of(*dst)[0];
    };
    EXPECT_EQ(run(1), (Bgr{0x00, 0x88, 0x44}));
    EXPECT_EQ(run(2), (Bgr{0x54, 0x88, 0xCC}));
    EXPECT_EQ(run(3), (Bgr{0x54, 0x00, 0x88}));
    EXPECT_EQ(run(4), (Bgr{0x54, 0xFF, 0xFF}));  // saturates
    EXPECT_EQ(run(5), (Bgr{4, 72, 54}));         // (s * d) >> 8
    EXPECT_EQ(run(9), s);                        // unknown rops copy
    EXPECT_EQ(run(-3), s);
    // Below full weight the combination is blended over d: rop 3 at 128.
    EXPECT_EQ(run(3, 128), (Bgr{50, 68, 102}));

    auto white = make(1, 1, {Bgr{255, 255, 255}});
    auto dst = make(1, 1, {Bgr{255, 255, 255}});
    picture_draw(dst.get(), 0, 0, 0, 0, white.get(), 0, 0, 0, 0, 255, 5, 0);
    EXPECT_EQ(pixels_of(*dst)[0], (Bgr{254, 254, 254}));
}

TEST(DrawClip, OneToOneCutsEveryEdgeAndTakesShiftedSourceColumns) {
    auto src = make(3, 1, {A, B, C});
    auto at = [&](int dx, int dy, int sx, int sy, int sw, int sh) {
        auto dst = make(4, 2, {O});
        picture_draw(dst.get(), dx, dy, 0, 0, src.get(), sx, sy, sw, sh, 255, 0, 0);
        return pixels_of(*dst);
    };
    EXPECT_EQ(at(-1, 0, 0, 0, 0, 0), (std::vector<Bgr>{B, C, O, O, O, O, O, O}));
    EXPECT_EQ(at(2, 1, 0, 0, 0, 0), (std::vector<Bgr>{O, O, O, O, O, O, A, B}));
    EXPECT_EQ(at(0, -1, 0, 0, 0, 0), (std::vector<Bgr>(8, O)));
    EXPECT_EQ(at(4, 0, 0, 0, 0, 0), (std::vector<Bgr>(8, O)));
    EXPECT_EQ(at(-3, 0, 0, 0, 0, 0), (std::vector<Bgr>(8, O)));
    // A negative sx moves the drawing right; a too wide source is cut.
    EXPECT_EQ(at(0, 0, -2, 0, 4, 1), (std::vector<Bgr>{O, O, A, B, O, O, O, O}));
    EXPECT_EQ(at(0, 0, 1, 0, 9, 9), (std::vector<Bgr>{B, C, O, O, O, O, O, O}));
    EXPECT_EQ(at(0, 0, 3, 0, 1, 1), (std::vector<Bgr>(8, O)));
    EXPECT_EQ(at(0, 0, 1, 0, -1, 1), (std::vector<Bgr>(8, O)));
}

TEST(DrawClip, EqualSizesTakeTheOneToOnePath) {
    auto src = make(3, 1, {A, B, C});
    auto dst = make(4, 1, {O});
    picture_draw(dst.get(), -1, 0, 3, 1, src.get(), 0, 0, 3, 1, 255, 0, 0);
    EXPECT_EQ(pixels_of(*dst), (std::vector<Bgr>{B, C, O, O}));
    // (3, 0) differs from (3, 1): stretched, and a zero height draws nothing.
    auto flat = make(4, 1, {O});
    picture_draw(flat.get(), 0, 0, 3, 0, src.get(), 0, 0, 3, 1, 255, 0, 0);
    EXPECT_EQ(pixels_of(*flat), (std::vector<Bgr>(4, O)));
}

std::vector<Bgr> stretch_row(const Picture& src, int dst_width, int dx, int dw, int sx, int sw) {
    auto dst = make(dst_width, 1, {O});
    picture_draw(dst.get(), dx, 0, dw, 1, &src, sx, 0, sw, 1, 255, 0, 0);
    return pixels_of(*dst);
}

TEST(DrawStretch, UpDownAndOddRatiosSampleNearestInSixteenSixteenSteps) {
    auto two = make(2, 1, {A, B});
    auto dst = make(4, 2, {O});
    picture_draw(dst.get(), 0, 0, 4, 2, two.get(), 0, 0, 0, 0, 255, 0, 0);
    EXPECT_EQ(pixels_of(*dst), (std::vector<Bgr>{A, A, B, B, A, A, B, B}));

    auto six = make(6, 1, {A, B, C, D, A, B});
    EXPECT_EQ(stretch_row(*six, 2, 0, 2, 0, 6), (std::vector<Bgr>{A, D}));  // a third
    auto three = make(3, 1, {A, B, C});
    EXPECT_EQ(stretch_row(*three, 5, 0, 5, 0, 3), (std::vector<Bgr>{A, A, B, B, C}));  // 5/3
    EXPECT_EQ(stretch_row(*six, 4, 0, 4, 0, 6), (std::vector<Bgr>{A, B, D, A}));       // 2/3
}

TEST(DrawStretch, ClippingKeepsBothRectanglesInProportion) {
    auto four = make(4, 1, {A, B, C, D});
    // dx = -3 at 2x: one source column is cut, and the 3 left go over 5 pixels.
    EXPECT_EQ(stretch_row(*four, 5, -3, 8, 0, 4), (std::vector<Bgr>{B, B, C, C, D}));
    // Cut at the right: 5 of 8 pixels and 2 source columns go.
    EXPECT_EQ(stretch_row(*four, 3, 0, 8, 0, 4), (std::vector<Bgr>{A, A, B}));
    // sx = -1: the drawing moves right by one source column's width.
    EXPECT_EQ(stretch_row(*four, 8, 0, 8, -1, 4), (std::vector<Bgr>{O, O, A, A, B, B, C, C}));
    // Source rectangle past the source's right edge.
    EXPECT_EQ(stretch_row(*four, 8, 0, 8, 2, 4), (std::vector<Bgr>{C, C, D, D, O, O, O, O}));
    // Wholly outside, either side.
    EXPECT_EQ(stretch_row(*four, 4, 4, 8, 0, 4), (std::vector<Bgr>(4, O)));
    EXPECT_EQ(stretch_row(*four, 4, -8, 8, 0, 4), (std::vector<Bgr>(4, O)));
    EXPECT_EQ(stretch_row(*four, 4, 0, 8, 4, 4), (std::vector<Bgr>(4, O)));
    EXPECT_EQ(stretch_row(*four, 4, 0, 8, -4, 4), (std::vector<Bgr>(4, O)));
    // Rounding of the right-edge cut leaves 5 pixels for 3 columns; the last
    // sample is still the source's last column.
    auto three = make(3, 1, {A, B, C});
    EXPECT_EQ(stretch_row(*three, 9, 0, 7, 0, 5), (std::vector<Bgr>{A, A, B, B, C, O, O, O, O}));
    // Sizes beyond any picture are refused.
    auto two = make(2, 1, {A, B});
    EXPECT_EQ(stretch_row(*two, 3, 0, 65536, 0, 2), (std::vector<Bgr>(3, O)));
    EXPECT_EQ(stretch_row(*two, 3, 0, 65535, 0, 2), (std::vector<Bgr>(3, A)));
}

TEST(DrawStretch, WeightsAndCopiesTheSampledAlpha) {
    auto src = make(2, 1, {A, B}, {0, 255});
    auto dst = make(4, 1, {O}, {5});
    picture_draw(dst.get(), 0, 0, 4, 1, src.get(), 0, 0, 0, 0, 255, 0, 11);
    EXPECT_EQ(pixels_of(*dst), (std::vector<Bgr>{O, O, B, B}));
    EXPECT_EQ(alpha_of(*dst), (std::vector<uint8_t>{0, 0, 255, 255}));
}

TEST(DrawClip, HostileArgumentsNeverReachOutsideEitherPicture) {
    const int32_t values[] = {INT_MIN, INT_MIN + 1, -65536, -65535, -1,          0,
                              1,       2,           65535,  65536,  INT_MAX - 1, INT_MAX};
    auto src = test::random_picture(5, 4, 3, true);
    for (int32_t a : values) {
        for (int32_t b : values) {
            for (int stretch = 0; stretch < 2; ++stretch) {
                auto dst = test::random_picture(6, 3, 4, true);
                auto expected = test::copy_picture(*dst);
                const int32_t dw = stretch ? b : 0, dh = stretch ? 7 : 0;
                test::reference_draw(expected.get(), a, 1, dw, dh, src.get(), b, a, a, b, 200, 0,
                                     11);
                picture_draw(dst.get(), a, 1, dw, dh, src.get(), b, a, a, b, 200, 0, 11);
                ASSERT_TRUE(test::same_picture(*dst, *expected)) << a << " " << b << " " << stretch;
                test::reference_draw(expected.get(), 1, a, 9, b, src.get(), -1, b, 3, a, 255, 4, 1);
                picture_draw(dst.get(), 1, a, 9, b, src.get(), -1, b, 3, a, 255, 4, 1);
                ASSERT_TRUE(test::same_picture(*dst, *expected)) << a << " " << b;
            }
        }
    }
    picture_draw(nullptr, 0, 0, 0, 0, src.get(), 0, 0, 0, 0, 255, 0, 0);
    picture_draw(src.get(), 0, 0, 0, 0, nullptr, 0, 0, 0, 0, 255, 0, 0);
}

}  // namespace
}  // namespace qln
