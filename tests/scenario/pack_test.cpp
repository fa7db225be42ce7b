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

Bytes round_trip_a(const Bytes& in) {
    const Bytes packed = qln::pack_a(in.data(), in.size());
    Bytes out(in.size());
    EXPECT_TRUE(qln::unpack_a(packed.data(), packed.size(), out.data(), out.size()));
    return out;
}

Bytes round_trip_b(const Bytes& in) {
    const Bytes packed = qln::pack_b(in.data(), in.size());
    Bytes out(in.size());
    EXPECT_TRUE(qln::unpack_b(packed.data(), packed.size(), out.data(), out.size()));
    return out;
}

TEST(PackA, SmallInputsGiveTheExpectedItems) {
    EXPECT_EQ(qln::pack_a(nullptr, 0), Bytes{});
    const Bytes abc = text("abcabc");
    EXPECT_EQ(qln::pack_a(abc.data(), abc.size()), (Bytes{0x10, 'a', 'b', 'c', 0x20, 0x00}));
    // One literal, the longest match (18) at distance 1, then two bytes too
    // few for a match.
    const Bytes run(21, 'a');
    EXPECT_EQ(qln::pack_a(run.data(), run.size()), (Bytes{0x40, 'a', 0x0F, 0x00, 'a', 'a'}));
}

TEST(PackA, MatchesReachBack4096Bytes) {
    // A 3-byte group repeated exactly 4096 bytes later and nowhere in between.
    const Bytes filler = qln::test::matchless_bytes(4096, 7, 1 << 20);
    const Bytes in = concat({filler, Bytes(filler.begin(), filler.begin() + 3)});
    const Bytes packed = qln::pack_a(in.data(), in.size());
    // 4096 literals take 512 flag bytes; the match is one flag byte and a word.
    ASSERT_EQ(packed.size(), 512 + 4096 + 1 + 2);
    EXPECT_EQ((Bytes(packed.end() - 3, packed.end())), (Bytes{0x80, 0xF0, 0xFF}));
    EXPECT_EQ(round_trip_a(in), in);
}

TEST(PackB, SmallInputsGiveTheExpectedTokens) {
    EXPECT_EQ(qln::pack_b(nullptr, 0), Bytes{});
    const Bytes abc = text("abcabc");
    EXPECT_EQ(qln::pack_b(abc.data(), abc.size()), (Bytes{0x02, 'a', 'b', 'c', 0x28}));
    // A long run: one literal, then one long match of 999 (0x3E4 + 3).
    const Bytes run(1000, 'a');
    EXPECT_EQ(qln::pack_b(run.data(), run.size()),
              (Bytes{0x00, 'a', 0x60, 0x00, 0x00, 0x00, 0x03, 0xE4}));
}

TEST(PackB, LiteralRunsUseEveryLengthClass) {
    const Bytes all = qln::test::matchless_bytes(70000, 11);
    auto lits = [&](size_t n) { return Bytes(all.begin(), all.begin() + n); };
    EXPECT_EQ(qln::pack_b(all.data(), 29), concat({{0x1C}, lits(29)}));
    EXPECT_EQ(qln::pack_b(all.data(), 30), concat({{0x1D, 0x00}, lits(30)}));
    EXPECT_EQ(qln::pack_b(all.data(), 285), concat({{0x1D, 0xFF}, lits(285)}));
    EXPECT_EQ(qln::pack_b(all.data(), 286), concat({{0x1E, 0x00, 0x00}, lits(286)}));
    EXPECT_EQ(qln::pack_b(all.data(), 65821), concat({{0x1E, 0xFF, 0xFF}, lits(65821)}));
    EXPECT_EQ(qln::pack_b(all.data(), 70000),
              concat({{0x1F, 0x00, 0x01, 0x11, 0x70}, lits(70000)}));
}

TEST(PackB, MatchesUseTheShortestToken) {
    const Bytes filler = qln::test::matchless_bytes(9000, 5, 1 << 20);
    // Distance 4, length 6: the one-byte short match 0x20-0x3F.
    Bytes in = concat({Bytes(filler.begin(), filler.begin() + 4),
                       Bytes(filler.begin(), filler.begin() + 4),
                       Bytes(filler.begin(), filler.begin() + 2)});
    EXPECT_EQ(qln::pack_b(in.data(), in.size()),
              concat({{0x03}, Bytes(filler.begin(), filler.begin() + 4), {0x2F}}));

    // Distance 103, length 3: 0x80-0xFF with the distance's high bits.
    in = concat(
        {Bytes(filler.begin(), filler.begin() + 103), Bytes(filler.begin(), filler.begin() + 3)});
    EXPECT_EQ(qln::pack_b(in.data(), in.size()),
              concat({{0x1D, 73}, Bytes(filler.begin(), filler.begin() + 103), {0x80, 102}}));

    // Distance 8192, length 10: 0x40-0x5F.
    in = concat(
        {Bytes(filler.begin(), filler.begin() + 8192), Bytes(filler.begin(), filler.begin() + 10)});
    Bytes expect = concat({{0x1E, 0x1E, 0xE2}, Bytes(filler.begin(), filler.begin() + 8192)});
    expect.insert(expect.end(), {0x5F, 0xFF, 0x03});
    EXPECT_EQ(qln::pack_b(in.data(), in.size()), expect);

    // Past the window (distance 8193) there is no match.
    in = concat(
        {Bytes(filler.begin(), filler.begin() + 8193), Bytes(filler.begin(), filler.begin() + 3)});
    EXPECT_EQ(qln::pack_b(in.data(), in.size()).size(), 3 + 8196);
}

TEST(PackLayout, HeaderStatesBothLengths) {
    const Bytes abc = text("abcabc");
    Bytes out;
    ASSERT_TRUE(qln::pack_layout(abc.data(), abc.size(), out));
    EXPECT_EQ(out, (Bytes{6, 0, 6, 0, 0x10, 'a', 'b', 'c', 0x20, 0x00}));
    Bytes back;
    ASSERT_TRUE(qln::packed_layout_unpack(out.data(), out.size(), back));
    EXPECT_EQ(back, abc);

    ASSERT_TRUE(qln::pack_layout(nullptr, 0, out));
    EXPECT_EQ(out, (Bytes{0, 0, 0, 0}));
}

TEST(PackLayout, RefusesWhatTheLengthFieldsCannotHold) {
    Bytes out = {1, 2, 3};
    const Bytes zeros(65536, 0);
    EXPECT_FALSE(qln::pack_layout(zeros.data(), zeros.size(), out));
    EXPECT_TRUE(out.empty());
    ASSERT_TRUE(qln::pack_layout(zeros.data(), 65535, out));
    Bytes back;
    ASSERT_TRUE(qln::packed_layout_unpack(out.data(), out.size(), back));
    EXPECT_EQ(back, Bytes(65535, 0));
    // 65,535 bytes without matches grow by their flag bytes past 65,535.
    const Bytes noise = qln::test::matchless_bytes(65535, 3, 4096);
    EXPECT_FALSE(qln::pack_layout(noise.data(), noise.size(), out));
    EXPECT_TRUE(out.empty());
}

TEST(PackRoundTrip, EveryKindOfDataComesBackExactly) {
    std::mt19937 rng(42);
    std::vector<Bytes> cases;
    for (size_t n = 0; n < 40; ++n) {
        Bytes b(n);
        for (auto& x : b) x = static_cast<uint8_t>(rng() % 3);
        cases.push_back(b);
    }
    Bytes random(50000);
    for (auto& x : random) x = static_cast<uint8_t>(rng());
    cases.push_back(random);
    Bytes small_alphabet(60000);
    for (auto& x : small_alphabet) x = static_cast<uint8_t>('a' + rng() % 4);
    cases.push_back(small_alphabet);
    Bytes runs;
    while (runs.size() < 60000)
        runs.insert(runs.end(), 1 + rng() % 700, static_cast<uint8_t>(rng()));
    cases.push_back(runs);
    cases.push_back(qln::test::picture_like(160, 120, 1));

    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(round_trip_a(cases[i]), cases[i]) << "case " << i;
        EXPECT_EQ(round_trip_b(cases[i]), cases[i]) << "case " << i;
    }
}

TEST(PackRoundTrip, PictureCompressesWithBothMethods) {
    const Bytes picture = qln::test::picture_like(640, 480, 2);
    const Bytes b = qln::pack_b(picture.data(), picture.size());
    EXPECT_LT(b.size(), picture.size() / 2);
    EXPECT_EQ(round_trip_b(picture), picture);
    EXPECT_LT(qln::pack_a(picture.data(), picture.size()).size(), picture.size() / 2);
    EXPECT_EQ(round_trip_a(picture), picture);
    // A flat megabyte is a literal and a handful of long matches.
    const Bytes flat(1 << 20, 0x7F);
    EXPECT_LE(qln::pack_b(flat.data(), flat.size()).size(), 8u);
    EXPECT_EQ(round_trip_b(flat), flat);
}

}  // namespace
