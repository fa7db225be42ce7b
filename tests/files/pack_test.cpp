#include "files/pack.h"

#include <gtest/gtest.h>

#include <random>

#include "files/archive_read.h"
#include "files/unpack.h"
#include "support/packing_data.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes text(const char* s) {
    return Bytes(s, s + std::char_traits<char>::length(s));
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes pack_a(const Bytes& in) {
    return qln::pack_a(in.data(), in.size());
}
Bytes pack_b(const Bytes& in) {
    return qln::pack_b(in.data(), in.size());
}

// Packs with both methods, checks both unpack to the input, and returns the
// two packed sizes.
std::pair<size_t, size_t> round_trip(const Bytes& in) {
    const Bytes a = pack_a(in), b = pack_b(in);
    Bytes out_a(in.size()), out_b(in.size());
    EXPECT_TRUE(qln::unpack_a(a.data(), a.size(), out_a.data(), out_a.size()));
    EXPECT_TRUE(qln::unpack_b(b.data(), b.size(), out_b.data(), out_b.size()));
    EXPECT_EQ(out_a, in);
    EXPECT_EQ(out_b, in);
    return {a.size(), b.size()};
}

TEST(PackA, ItemsAndTheFarthestMatch) {
    EXPECT_EQ(pack_a({}), Bytes{});
    EXPECT_EQ(pack_a(text("abcabc")), (Bytes{0x10, 'a', 'b', 'c', 0x20, 0x00}));
    // One literal, the longest match (18) at distance 1, then two bytes too
    // few for a match.
    EXPECT_EQ(pack_a(Bytes(21, 'a')), (Bytes{0x40, 'a', 0x0F, 0x00, 'a', 'a'}));
    // "abc" at 6 and "bcd" at 7 both match 3 bytes: a match one byte later
    // is taken only when it is longer.
    EXPECT_EQ(pack_a(text("abcbcdabcd")),
              (Bytes{0x02, 'a', 'b', 'c', 'b', 'c', 'd', 0x50, 0x00, 'd'}));
    // A 3-byte group repeated exactly 4096 bytes later and nowhere in between:
    // 4096 literals take 512 flag bytes; the match is one flag byte and a word.
    const Bytes filler = qln::test::matchless_bytes(4096, 7, 1 << 20);
    const Bytes in = concat({filler, Bytes(filler.begin(), filler.begin() + 3)});
    const Bytes packed = pack_a(in);
    ASSERT_EQ(packed.size(), 512 + 4096 + 1 + 2);
    EXPECT_EQ((Bytes(packed.end() - 3, packed.end())), (Bytes{0x80, 0xF0, 0xFF}));
    round_trip(in);
}

TEST(PackB, LiteralRunsUseEveryLengthClass) {
    EXPECT_EQ(pack_b({}), Bytes{});
    const Bytes all = qln::test::matchless_bytes(70000, 11);
    const struct {
        size_t n;
        Bytes token;
    } cases[] = {{29, {0x1C}},
                 {30, {0x1D, 0x00}},
                 {285, {0x1D, 0xFF}},
                 {286, {0x1E, 0x00, 0x00}},
                 {65821, {0x1E, 0xFF, 0xFF}},
                 {70000, {0x1F, 0x00, 0x01, 0x11, 0x70}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        const Bytes lits(all.begin(), all.begin() + long(c.n));
        EXPECT_EQ(pack_b(lits), concat({c.token, lits}));
    }
}

TEST(PackB, MatchesUseTheShortestToken) {
    const Bytes filler = qln::test::matchless_bytes(9000, 5, 1 << 20);
    const auto first = [&](size_t n) { return Bytes(filler.begin(), filler.begin() + long(n)); };
    EXPECT_EQ(pack_b(text("abcabc")), (Bytes{0x02, 'a', 'b', 'c', 0x28}));
    // Distance 4, length 6: the one-byte short match 0x20-0x3F.
    EXPECT_EQ(pack_b(concat({first(4), first(4), first(2)})), concat({{0x03}, first(4), {0x2F}}));
    // Distance 103, length 3: 0x80-0xFF with the distance's high bits.
    EXPECT_EQ(pack_b(concat({first(103), first(3)})),
              concat({{0x1D, 73}, first(103), {0x80, 102}}));
    // Distance 8192, length 10: 0x40-0x5F.
    EXPECT_EQ(pack_b(concat({first(8192), first(10)})),
              concat({{0x1E, 0x1E, 0xE2}, first(8192), {0x5F, 0xFF, 0x03}}));
    // Past the window (distance 8193) there is no match.
    EXPECT_EQ(pack_b(concat({first(8193), first(3)})).size(), 3 + 8196);
    // A long run: one literal, then one long match of 999 (0x3E4 + 3).
    EXPECT_EQ(pack_b(Bytes(1000, 'a')), (Bytes{0x00, 'a', 0x60, 0x00, 0x00, 0x00, 0x03, 0xE4}));
}

TEST(PackLayout, HeaderStatesBothLengthsWithinSixteenBits) {
    Bytes out, back;
    ASSERT_TRUE(qln::pack_layout(nullptr, 0, out));
    EXPECT_EQ(out, (Bytes{0, 0, 0, 0}));
    const Bytes abc = text("abcabc");
    ASSERT_TRUE(qln::pack_layout(abc.data(), abc.size(), out));
    EXPECT_EQ(out, (Bytes{6, 0, 6, 0, 0x10, 'a', 'b', 'c', 0x20, 0x00}));
    ASSERT_TRUE(qln::packed_layout_unpack(out.data(), out.size(), back));
    EXPECT_EQ(back, abc);

    const Bytes zeros(65536, 0);
    EXPECT_FALSE(qln::pack_layout(zeros.data(), zeros.size(), out));
    EXPECT_TRUE(out.empty());
    ASSERT_TRUE(qln::pack_layout(zeros.data(), 65535, out));
    ASSERT_TRUE(qln::packed_layout_unpack(out.data(), out.size(), back));
    EXPECT_EQ(back, Bytes(65535, 0));
    // 65,535 bytes without matches grow by their flag bytes past 65,535.
    const Bytes noise = qln::test::matchless_bytes(65535, 3, 4096);
    EXPECT_FALSE(qln::pack_layout(noise.data(), noise.size(), out));
    EXPECT_TRUE(out.empty());
}

TEST(PackRoundTrip, EveryKindOfDataComesBackExactly) {
    std::mt19937 rng(42);
    const auto random = [&](size_t n, unsigned alphabet, uint8_t base) {
        Bytes b(n);
        for (auto& x : b) x = uint8_t(base + rng() % alphabet);
        return b;
    };
    for (size_t n = 0; n < 40; ++n) round_trip(random(n, 3, 0));
    round_trip(random(50000, 256, 0));
    round_trip(random(60000, 4, 'a'));
    Bytes runs;
    while (runs.size() < 60000) runs.insert(runs.end(), 1 + rng() % 700, uint8_t(rng()));
    round_trip(runs);
    round_trip(qln::test::picture_like(160, 120, 1));
    // A picture packs to under half with both methods; a flat megabyte is a
    // literal and a handful of long matches.
    const Bytes picture = qln::test::picture_like(640, 480, 2);
    const auto [a, b] = round_trip(picture);
    EXPECT_LT(a, picture.size() / 2);
    EXPECT_LT(b, picture.size() / 2);
    EXPECT_LE(round_trip(Bytes(1 << 20, 0x7F)).second, 8u);
}

}  // namespace
