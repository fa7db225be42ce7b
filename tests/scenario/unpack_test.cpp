#include "files/unpack.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Output buffers carry guard bytes on both sides so a stray write shows.
constexpr size_t kGuard = 32;
constexpr uint8_t kGuardByte = 0xA5;

struct Unpacked {
    bool ok = false;
    Bytes bytes;
    bool guards_intact = true;
};

template <class Fn>
Unpacked run(Fn fn, const Bytes& in, size_t out_len) {
    Bytes buffer(out_len + 2 * kGuard, kGuardByte);
    Unpacked r;
    r.ok = fn(in.data(), in.size(), buffer.data() + kGuard, out_len);
    r.bytes.assign(buffer.begin() + kGuard, buffer.begin() + kGuard + out_len);
    for (size_t i = 0; i < kGuard; ++i) {
        if (buffer[i] != kGuardByte || buffer[kGuard + out_len + i] != kGuardByte)
            r.guards_intact = false;
    }
    return r;
}

Unpacked run_a(const Bytes& in, size_t out_len) {
    return run(qln::unpack_a, in, out_len);
}
Unpacked run_b(const Bytes& in, size_t out_len) {
    return run(qln::unpack_b, in, out_len);
}

Bytes text(const char* s) {
    return Bytes(s, s + std::char_traits<char>::length(s));
}

TEST(UnpackA, LiteralsThenMatchGiveAbcabc) {
    const Unpacked r = run_a({0x10, 'a', 'b', 'c', 0x20, 0x00}, 6);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, text("abcabc"));
    EXPECT_TRUE(r.guards_intact);
}

TEST(UnpackA, ZeroLengthWritesAndReadsNothing) {
    EXPECT_TRUE(run_a({}, 0).ok);
    const Unpacked r = run_a({0xFF}, 0);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.guards_intact);
}

TEST(UnpackA, DistanceOneRepeatsTheLastByte) {
    // One literal, then a match of length 18 (w = 0x000F) at distance 1.
    const Unpacked r = run_a({0x40, 'x', 0x0F, 0x00}, 19);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, Bytes(19, 'x'));
}

TEST(UnpackA, MatchLongerThanWhatRemainsIsCut) {
    // Length 18 asked for, only 5 bytes remain: the match stops at the end.
    const Unpacked r = run_a({0x40, 'q', 0x0F, 0x00}, 6);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, Bytes(6, 'q'));
    EXPECT_TRUE(r.guards_intact);
}

TEST(UnpackA, FlagBitsAfterTheLastByteAreIgnored) {
    // Bit 7 clear gives the one literal needed; the set bits after it would be
    // matches, but nothing remains, so no match word is read.
    const Unpacked r = run_a({0x7F, 'z'}, 1);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, text("z"));
}

TEST(UnpackA, RefusesMalformedInput) {
    // Match reaching before the start of the output.
    EXPECT_FALSE(run_a({0x80, 0x00, 0x00}, 3).ok);
    EXPECT_FALSE(run_a({0x40, 'a', 0x10, 0x00}, 4).ok);  // distance 2 after one byte
    // Input ends: no flag byte, a missing literal, half a match word.
    EXPECT_FALSE(run_a({}, 1).ok);
    EXPECT_FALSE(run_a({0x00, 'a', 'b'}, 3).ok);
    EXPECT_FALSE(run_a({0x40, 'a', 0x0F}, 5).ok);
    // Input ends where the next flag byte should be.
    EXPECT_FALSE(run_a({0x00, 1, 2, 3, 4, 5, 6, 7, 8}, 9).ok);
}

TEST(UnpackA, EightLongMatchesNearTheEndStayInside) {
    // After eight literals 150 bytes remain; a flag byte of eight matches of
    // 18 fills 144 of them, six literals the rest. Extra input bytes follow
    // so the wide paths are taken wherever the bounds allow.
    Bytes in = {0x00, 1, 2, 3, 4, 5, 6, 7, 8, 0xFF};
    for (int i = 0; i < 8; ++i) in.insert(in.end(), {0x0F, 0x00});
    in.insert(in.end(), {0x00, 11, 12, 13, 14, 15, 16});
    in.insert(in.end(), 8, 0xEE);
    Bytes expect = {1, 2, 3, 4, 5, 6, 7, 8};
    expect.insert(expect.end(), 144, 8);
    expect.insert(expect.end(), {11, 12, 13, 14, 15, 16});
    const Unpacked r = run_a(in, expect.size());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, expect);
    EXPECT_TRUE(r.guards_intact);
}

TEST(UnpackA, FarDistanceReachesTheFirstByte) {
    // 4096 literals, then a match at distance 4096 (w = 0xFFF0) of length 3.
    Bytes in;
    Bytes expect;
    for (int i = 0; i < 4096; ++i) {
        if (i % 8 == 0) in.push_back(0x00);
        in.push_back(static_cast<uint8_t>(i * 7));
        expect.push_back(static_cast<uint8_t>(i * 7));
    }
    in.insert(in.end(), {0x80, 0xF0, 0xFF});
    expect.insert(expect.end(), {expect[0], expect[1], expect[2]});
    const Unpacked r = run_a(in, expect.size());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, expect);
}

TEST(UnpackB, LiteralsThenShortMatchGiveAbcabc) {
    const Unpacked r = run_b({0x02, 'a', 'b', 'c', 0x28}, 6);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, text("abcabc"));
}

TEST(UnpackB, LiteralRunLengthClasses) {
    Bytes payload(300);
    for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i * 13 + 1);

    // 0x1D with b = 0: 30 literals.
    Bytes in = {0x1D, 0x00};
    in.insert(in.end(), payload.begin(), payload.begin() + 30);
    Unpacked r = run_b(in, 30);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, Bytes(payload.begin(), payload.begin() + 30));

    // 0x1E with v = 0: 286 literals.
    in = {0x1E, 0x00, 0x00};
    in.insert(in.end(), payload.begin(), payload.begin() + 286);
    r = run_b(in, 286);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, Bytes(payload.begin(), payload.begin() + 286));

    // 0x1E is big-endian: v = 0x0001 gives 287.
    in = {0x1E, 0x00, 0x01};
    in.insert(in.end(), payload.begin(), payload.begin() + 287);
    EXPECT_TRUE(run_b(in, 287).ok);

    // 0x1F with a big-endian count of 0x0000012C = 300.
    in = {0x1F, 0x00, 0x00, 0x01, 0x2C};
    in.insert(in.end(), payload.begin(), payload.end());
    r = run_b(in, 300);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, payload);

    // 0x1C: 29 literals, the longest single-byte run.
    in = {0x1C};
    in.insert(in.end(), payload.begin(), payload.begin() + 29);
    r = run_b(in, 29);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, Bytes(payload.begin(), payload.begin() + 29));
}

TEST(UnpackB, MatchTokenKinds) {
    // 0x2F: length (3 & 3) + 3 = 6, distance (3 & 7) + 1 = 4.
    Unpacked r = run_b({0x03, 'w', 'x', 'y', 'z', 0x2F}, 10);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, text("wxyzwxyzwx"));

    // 0x40 b1 b2: distance b1 + 1 (here 2), length b2 + 7 (here 10).
    r = run_b({0x01, 'a', 'b', 0x40, 0x01, 0x03}, 12);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, text("abababababab"));

    // 0x60 b1 and a big-endian u32: distance 1, length 0x105 + 3 = 264.
    r = run_b({0x00, 'k', 0x60, 0x00, 0x00, 0x00, 0x01, 0x05}, 265);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, Bytes(265, 'k'));

    // 0xE0 b1: length ((0xE0 >> 5) & 3) + 3 = 6, distance b1 + 1 = 3.
    r = run_b({0x02, 'p', 'q', 'r', 0xE0, 0x02}, 9);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, text("pqrpqrpqr"));

    // High distance bits come from the token: 0x81 0x00 is distance 257.
    Bytes in = {0x1E, 0x00, 0x00};
    Bytes expect;
    for (int i = 0; i < 286; ++i) expect.push_back(static_cast<uint8_t>(i));
    in.insert(in.end(), expect.begin(), expect.end());
    in.insert(in.end(), {0x81, 0x00});
    for (int i = 0; i < 3; ++i) expect.push_back(expect[286 - 257 + i]);
    r = run_b(in, expect.size());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, expect);
}

TEST(UnpackB, DistanceOneRepeatsTheLastByte) {
    const Unpacked r = run_b({0x00, 'm', 0x23}, 7);  // length 6, distance 1
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, Bytes(7, 'm'));
}

TEST(UnpackB, RefusesTokensThatWritePastTheEnd) {
    Unpacked r = run_b({0x02, 'a', 'b', 'c'}, 2);  // three literals into two bytes
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.guards_intact);
    r = run_b({0x00, 'a', 0x23}, 4);  // a match of 6 with 3 left
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.guards_intact);
    r = run_b({0x00, 'a', 0x60, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}, 100);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.guards_intact);
}

TEST(UnpackB, RefusesMalformedInput) {
    EXPECT_FALSE(run_b({0x20}, 3).ok);                   // match before any output
    EXPECT_FALSE(run_b({0x00, 'a', 0x80, 0x01}, 4).ok);  // distance 2 after one byte
    EXPECT_FALSE(run_b({}, 1).ok);                       // no token at all
    EXPECT_FALSE(run_b({0x02, 'a', 'b'}, 3).ok);         // literals cut short
    EXPECT_FALSE(run_b({0x1D}, 30).ok);                  // operand bytes missing
    EXPECT_FALSE(run_b({0x1E, 0x00}, 286).ok);
    EXPECT_FALSE(run_b({0x1F, 0x00, 0x00, 0x00}, 1).ok);
    EXPECT_FALSE(run_b({0x00, 'a', 0x40, 0x00}, 8).ok);
    EXPECT_FALSE(run_b({0x00, 'a', 0x60, 0x00, 0x00, 0x00, 0x00}, 4).ok);
    EXPECT_FALSE(run_b({0x00, 'a', 0x80}, 4).ok);
    // A huge literal count must not be taken for room.
    EXPECT_FALSE(run_b({0x1F, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}, 1).ok);
}

TEST(UnpackB, EmptyLiteralTokenIsANoOp) {
    const Unpacked r = run_b({0x1F, 0, 0, 0, 0, 0x00, 'e'}, 1);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, text("e"));
}

// Random streams built from valid items, checked against the output the
// items describe when copied one byte at a time. They cross every fast path
// (long and short matches of every small distance, near the end and far from
// it).
struct Stream {
    Bytes in;
    Bytes out;
};

void copy_match_slowly(Bytes& out, size_t distance, size_t len) {
    for (size_t i = 0; i < len; ++i) out.push_back(out[out.size() - distance]);
}

Stream random_stream_a(std::mt19937& rng, size_t target) {
    Stream s;
    size_t flag_at = 0;
    int items = 8;
    while (s.out.size() < target) {
        if (items == 8) {
            flag_at = s.in.size();
            s.in.push_back(0);
            items = 0;
        }
        const bool match = !s.out.empty() && rng() % 3 != 0;
        if (match) {
            s.in[flag_at] |= static_cast<uint8_t>(0x80 >> items);
            const size_t reach = std::min<size_t>(s.out.size(), 4096);
            // Favour small distances, where the copies overlap.
            const size_t distance =
                rng() % 2 ? 1 + rng() % std::min<size_t>(reach, 20) : 1 + rng() % reach;
            const size_t len = 3 + rng() % 16;
            const unsigned w = static_cast<unsigned>(((distance - 1) << 4) | (len - 3));
            s.in.push_back(static_cast<uint8_t>(w));
            s.in.push_back(static_cast<uint8_t>(w >> 8));
            copy_match_slowly(s.out, distance, std::min(len, target - s.out.size()));
        } else {
            const uint8_t b = static_cast<uint8_t>(rng());
            s.in.push_back(b);
            s.out.push_back(b);
        }
        ++items;
    }
    return s;
}

TEST(UnpackA, RandomStreamsMatchByteByByteCopies) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 400; ++round) {
        const size_t target = round < 200 ? 1 + rng() % 64 : 1 + rng() % 20000;
        const Stream s = random_stream_a(rng, target);
        const Unpacked r = run_a(s.in, s.out.size());
        ASSERT_TRUE(r.ok) << "round " << round;
        ASSERT_EQ(r.bytes, s.out) << "round " << round;
        ASSERT_TRUE(r.guards_intact) << "round " << round;
        // The last input byte always belongs to the last item: without it the
        // stream is refused.
        if (s.in.size() > 1) {
            Bytes cut(s.in.begin(), s.in.end() - 1);
            EXPECT_FALSE(run_a(cut, s.out.size()).ok) << "round " << round;
        }
    }
}

Stream random_stream_b(std::mt19937& rng, size_t target) {
    Stream s;
    auto put_be = [&](uint64_t v, int bytes) {
        for (int i = bytes - 1; i >= 0; --i) s.in.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    while (s.out.size() < target) {
        const size_t left = target - s.out.size();
        const unsigned kind = s.out.empty() ? 0 : rng() % 8;
        if (kind < 3) {
            size_t n = std::min<size_t>(left, 1 + rng() % (kind == 0 ? 29 : 400));
            if (n <= 29) {
                s.in.push_back(static_cast<uint8_t>(n - 1));
            } else if (n <= 285) {
                s.in.push_back(0x1D);
                s.in.push_back(static_cast<uint8_t>(n - 30));
            } else if (rng() % 2) {
                s.in.push_back(0x1E);
                put_be(n - 286, 2);
            } else {
                s.in.push_back(0x1F);
                put_be(n, 4);
            }
            for (size_t i = 0; i < n; ++i) {
                const uint8_t b = static_cast<uint8_t>(rng());
                s.in.push_back(b);
                s.out.push_back(b);
            }
            continue;
        }
        const size_t reach = std::min<size_t>(s.out.size(), 8192);
        size_t distance = rng() % 2 ? 1 + rng() % std::min<size_t>(reach, 20) : 1 + rng() % reach;
        size_t len;
        if (kind == 3 && left >= 3) {
            distance = 1 + rng() % std::min<size_t>(reach, 8);
            len = 3 + rng() % std::min<size_t>(4, left - 2);
            s.in.push_back(static_cast<uint8_t>(0x20 | ((distance - 1) << 2) | (len - 3)));
        } else if (kind == 4 && left >= 3) {
            len = 3 + rng() % std::min<size_t>(4, left - 2);
            s.in.push_back(static_cast<uint8_t>(0x80 | ((len - 3) << 5) | ((distance - 1) >> 8)));
            s.in.push_back(static_cast<uint8_t>(distance - 1));
        } else if (kind == 5 && left >= 7) {
            len = 7 + rng() % std::min<size_t>(256, left - 6);
            s.in.push_back(static_cast<uint8_t>(0x40 | ((distance - 1) >> 8)));
            s.in.push_back(static_cast<uint8_t>(distance - 1));
            s.in.push_back(static_cast<uint8_t>(len - 7));
        } else if (left >= 3) {
            len = 3 + rng() % std::min<size_t>(3000, left - 2);
            s.in.push_back(static_cast<uint8_t>(0x60 | ((distance - 1) >> 8)));
            s.in.push_back(static_cast<uint8_t>(distance - 1));
            put_be(len - 3, 4);
        } else {
            continue;  // too little room for a match: the next item is literals
        }
        copy_match_slowly(s.out, distance, len);
    }
    return s;
}

TEST(UnpackB, RandomStreamsMatchByteByByteCopies) {
    std::mt19937 rng(99);
    for (int round = 0; round < 400; ++round) {
        const size_t target = round < 200 ? 1 + rng() % 64 : 1 + rng() % 30000;
        const Stream s = random_stream_b(rng, target);
        const Unpacked r = run_b(s.in, s.out.size());
        ASSERT_TRUE(r.ok) << "round " << round;
        ASSERT_EQ(r.bytes, s.out) << "round " << round;
        ASSERT_TRUE(r.guards_intact) << "round " << round;
        // The last token is needed: without its last byte the stream fails.
        // With one byte less of room nothing may be written past the end.
        Bytes cut(s.in.begin(), s.in.end() - 1);
        EXPECT_FALSE(run_b(cut, s.out.size()).ok) << "round " << round;
        const Unpacked small = run_b(s.in, s.out.size() - 1);
        EXPECT_TRUE(small.guards_intact) << "round " << round;
    }
}

}  // namespace
