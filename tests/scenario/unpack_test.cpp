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

Bytes repeat(size_t n, char c) {
    return Bytes(n, uint8_t(c));
}

// Short streams: the decoded bytes, or refused when `out` is absent.
struct Case {
    const char* name;
    Unpacked (*run)(const Bytes&, size_t);
    Bytes in;
    size_t out_len;
    bool ok;
    Bytes out;
};

TEST(Unpack, ShortStreamsDecodeOrAreRefusedWithoutStrayWrites) {
    const Case cases[] = {
        {"a: literals then a match",
         run_a,
         {0x10, 'a', 'b', 'c', 0x20, 0x00},
         6,
         true,
         text("abcabc")},
        {"a: nothing to write", run_a, {}, 0, true, {}},
        {"a: nothing to write, input left", run_a, {0xFF}, 0, true, {}},
        {"a: distance 1, length 18", run_a, {0x40, 'x', 0x0F, 0x00}, 19, true, repeat(19, 'x')},
        {"a: a match past the end is cut", run_a, {0x40, 'q', 0x0F, 0x00}, 6, true, repeat(6, 'q')},
        // The set bits after the last byte would be matches; no match word is read.
        {"a: flag bits after the end", run_a, {0x7F, 'z'}, 1, true, text("z")},
        {"a: match before the start", run_a, {0x80, 0x00, 0x00}, 3, false, {}},
        {"a: distance 2 after one byte", run_a, {0x40, 'a', 0x10, 0x00}, 4, false, {}},
        {"a: no flag byte", run_a, {}, 1, false, {}},
        {"a: a missing literal", run_a, {0x00, 'a', 'b'}, 3, false, {}},
        {"a: half a match word", run_a, {0x40, 'a', 0x0F}, 5, false, {}},
        {"a: no next flag byte", run_a, {0x00, 1, 2, 3, 4, 5, 6, 7, 8}, 9, false, {}},
        {"b: literals then a match", run_b, {0x02, 'a', 'b', 'c', 0x28}, 6, true, text("abcabc")},
        // Length (3 & 3) + 3, distance (3 & 7) + 1.
        {"b: 0x2F", run_b, {0x03, 'w', 'x', 'y', 'z', 0x2F}, 10, true, text("wxyzwxyzwx")},
        // Distance b1 + 1, length b2 + 7.
        {"b: 0x40", run_b, {0x01, 'a', 'b', 0x40, 0x01, 0x03}, 12, true, text("abababababab")},
        // Distance b1 + 1 and a big-endian length 0x105 + 3.
        {"b: 0x60",
         run_b,
         {0x00, 'k', 0x60, 0x00, 0x00, 0x00, 0x01, 0x05},
         265,
         true,
         repeat(265, 'k')},
        // Length ((0xE0 >> 5) & 3) + 3, distance b1 + 1.
        {"b: 0xE0", run_b, {0x02, 'p', 'q', 'r', 0xE0, 0x02}, 9, true, text("pqrpqrpqr")},
        {"b: distance 1, length 6", run_b, {0x00, 'm', 0x23}, 7, true, repeat(7, 'm')},
        {"b: an empty literal run", run_b, {0x1F, 0, 0, 0, 0, 0x00, 'e'}, 1, true, text("e")},
        {"b: three literals into two", run_b, {0x02, 'a', 'b', 'c'}, 2, false, {}},
        {"b: a match of 6 with 3 left", run_b, {0x00, 'a', 0x23}, 4, false, {}},
        {"b: a huge match", run_b, {0x00, 'a', 0x60, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}, 100, false, {}},
        {"b: match before any output", run_b, {0x20}, 3, false, {}},
        {"b: distance 2 after one byte", run_b, {0x00, 'a', 0x80, 0x01}, 4, false, {}},
        {"b: no token", run_b, {}, 1, false, {}},
        {"b: literals cut short", run_b, {0x02, 'a', 'b'}, 3, false, {}},
        {"b: 0x1D without its byte", run_b, {0x1D}, 30, false, {}},
        {"b: 0x1E half a count", run_b, {0x1E, 0x00}, 286, false, {}},
        {"b: 0x1F short count", run_b, {0x1F, 0x00, 0x00, 0x00}, 1, false, {}},
        {"b: 0x40 short", run_b, {0x00, 'a', 0x40, 0x00}, 8, false, {}},
        {"b: 0x60 short", run_b, {0x00, 'a', 0x60, 0x00, 0x00, 0x00, 0x00}, 4, false, {}},
        {"b: 0x80 short", run_b, {0x00, 'a', 0x80}, 4, false, {}},
        // A huge literal count must not be taken for room.
        {"b: huge literal count", run_b, {0x1F, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}, 1, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Unpacked r = c.run(c.in, c.out_len);
        EXPECT_EQ(r.ok, c.ok);
        if (c.ok) {
            EXPECT_EQ(r.bytes, c.out);
        }
        EXPECT_TRUE(r.guards_intact);
    }
}

TEST(UnpackA, EightLongMatchesNearTheEndStayInside) {
    // After eight literals 150 bytes remain; eight matches of 18 fill 144,
    // six literals the rest. Extra input follows so the wide paths are taken.
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
    Bytes in, expect;
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

TEST(UnpackB, LiteralRunLengthClassesAndFarDistances) {
    Bytes payload(300);
    for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i * 13 + 1);
    // Counts are big-endian.
    const struct {
        Bytes token;
        size_t count;
    } runs[] = {{{0x1C}, 29},
                {{0x1D, 0x00}, 30},
                {{0x1E, 0x00, 0x00}, 286},
                {{0x1E, 0x00, 0x01}, 287},
                {{0x1F, 0x00, 0x00, 0x01, 0x2C}, 300}};
    for (const auto& run : runs) {
        SCOPED_TRACE(run.count);
        Bytes in = run.token;
        in.insert(in.end(), payload.begin(), payload.begin() + long(run.count));
        const Unpacked r = run_b(in, run.count);
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.bytes, Bytes(payload.begin(), payload.begin() + long(run.count)));
    }
    // High distance bits come from the token: 0x81 0x00 is distance 257.
    Bytes in = {0x1E, 0x00, 0x00};
    Bytes expect(payload.begin(), payload.begin() + 286);
    in.insert(in.end(), expect.begin(), expect.end());
    in.insert(in.end(), {0x81, 0x00});
    for (int i = 0; i < 3; ++i) expect.push_back(expect[286 - 257 + i]);
    const Unpacked r = run_b(in, expect.size());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, expect);
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
