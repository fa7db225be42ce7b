#include "files/unpack.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Unpacker = bool (*)(const uint8_t*, size_t, uint8_t*, size_t);

// The output carries guard bytes on both sides so a stray write shows.
struct Unpacked {
    bool ok = false;
    Bytes bytes;
    bool guards_intact = true;
};

Unpacked run(Unpacker fn, const Bytes& in, size_t out_len) {
    constexpr size_t kGuard = 32;
    Bytes buffer(out_len + 2 * kGuard, 0xA5);
    Unpacked r;
    r.ok = fn(in.data(), in.size(), buffer.data() + kGuard, out_len);
    r.bytes.assign(buffer.begin() + kGuard, buffer.begin() + kGuard + out_len);
    for (size_t i = 0; i < kGuard; ++i) {
        if (buffer[i] != 0xA5 || buffer[kGuard + out_len + i] != 0xA5) r.guards_intact = false;
    }
    return r;
}

Bytes text(const char* s) {
    return Bytes(s, s + std::char_traits<char>::length(s));
}

const Unpacker A = qln::unpack_a;
const Unpacker B = qln::unpack_b;

TEST(Unpack, ShortStreamsDecodeOrAreRefusedWithoutStrayWrites) {
    const struct {
        const char* name;
        Unpacker run;
        Bytes in;
        size_t out_len;
        bool ok;
        Bytes out;  // when ok
    } cases[] = {
        {"a: literals, match", A, {0x10, 'a', 'b', 'c', 0x20, 0x00}, 6, true, text("abcabc")},
        {"a: nothing to write", A, {}, 0, true, {}},
        {"a: nothing to write, input left", A, {0xFF}, 0, true, {}},
        {"a: distance 1, length 18", A, {0x40, 'x', 0x0F, 0x00}, 19, true, Bytes(19, 'x')},
        {"a: a match past the end is cut", A, {0x40, 'q', 0x0F, 0x00}, 6, true, Bytes(6, 'q')},
        // The set bits after the last byte would be matches; no match word is read.
        {"a: flag bits after the end", A, {0x7F, 'z'}, 1, true, text("z")},
        {"a: match before the start", A, {0x80, 0x00, 0x00}, 3, false, {}},
        {"a: distance 2 after one byte", A, {0x40, 'a', 0x10, 0x00}, 4, false, {}},
        {"a: no flag byte", A, {}, 1, false, {}},
        {"a: a missing literal", A, {0x00, 'a', 'b'}, 3, false, {}},
        {"a: half a match word", A, {0x40, 'a', 0x0F}, 5, false, {}},
        {"a: no next flag byte", A, {0x00, 1, 2, 3, 4, 5, 6, 7, 8}, 9, false, {}},
        {"b: literals, match", B, {0x02, 'a', 'b', 'c', 0x28}, 6, true, text("abcabc")},
        // Length (3 & 3) + 3, distance (3 & 7) + 1.
        {"b: 0x2F", B, {0x03, 'w', 'x', 'y', 'z', 0x2F}, 10, true, text("wxyzwxyzwx")},
        // Distance b1 + 1, length b2 + 7.
        {"b: 0x40", B, {0x01, 'a', 'b', 0x40, 0x01, 0x03}, 12, true, text("abababababab")},
        // Distance b1 + 1 and a big-endian length 0x105 + 3.
        {"b: 0x60", B, {0x00, 'k', 0x60, 0x00, 0x00, 0x00, 0x01, 0x05}, 265, true, Bytes(265, 'k')},
        // Length ((0xE0 >> 5) & 3) + 3, distance b1 + 1.
        {"b: 0xE0", B, {0x02, 'p', 'q', 'r', 0xE0, 0x02}, 9, true, text("pqrpqrpqr")},
        {"b: distance 1, length 6", B, {0x00, 'm', 0x23}, 7, true, Bytes(7, 'm')},
        {"b: an empty literal run", B, {0x1F, 0, 0, 0, 0, 0x00, 'e'}, 1, true, text("e")},
        {"b: three literals into two", B, {0x02, 'a', 'b', 'c'}, 2, false, {}},
        {"b: a match of 6 with 3 left", B, {0x00, 'a', 0x23}, 4, false, {}},
        {"b: a huge match", B, {0x00, 'a', 0x60, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}, 100, false, {}},
        {"b: match before any output", B, {0x20}, 3, false, {}},
        {"b: distance 2 after one byte", B, {0x00, 'a', 0x80, 0x01}, 4, false, {}},
        {"b: no token", B, {}, 1, false, {}},
        {"b: literals cut short", B, {0x02, 'a', 'b'}, 3, false, {}},
        {"b: 0x1D without its byte", B, {0x1D}, 30, false, {}},
        {"b: 0x1E half a count", B, {0x1E, 0x00}, 286, false, {}},
        {"b: 0x1F short count", B, {0x1F, 0x00, 0x00, 0x00}, 1, false, {}},
        {"b: 0x40 short", B, {0x00, 'a', 0x40, 0x00}, 8, false, {}},
        {"b: 0x60 short", B, {0x00, 'a', 0x60, 0x00, 0x00, 0x00, 0x00}, 4, false, {}},
        {"b: 0x80 short", B, {0x00, 'a', 0x80}, 4, false, {}},
        // A huge literal count must not be taken for room.
        {"b: huge literal count", B, {0x1F, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}, 1, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Unpacked r = run(c.run, c.in, c.out_len);
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
    const Unpacked r = run(A, in, expect.size());
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.bytes, expect);
    EXPECT_TRUE(r.guards_intact);
}

// Random streams built from valid items, checked against the output the
// items describe when copied one byte at a time. They cross every wide path
// (long and short matches of every small distance, near the end and far).
struct Stream {
    Bytes in;
    Bytes out;
    void copy_match_slowly(size_t distance, size_t len) {
        for (size_t i = 0; i < len; ++i) out.push_back(out[out.size() - distance]);
    }
    void literals(std::mt19937& rng, size_t n) {
        for (size_t i = 0; i < n; ++i) {
            in.push_back(uint8_t(rng()));
            out.push_back(in.back());
        }
    }
    void put_be(uint64_t v, int bytes) {
        for (int i = bytes - 1; i >= 0; --i) in.push_back(uint8_t(v >> (8 * i)));
    }
};

// Favours small distances, where the copies overlap.
size_t random_distance(std::mt19937& rng, size_t reach) {
    return rng() % 2 ? 1 + rng() % std::min<size_t>(reach, 20) : 1 + rng() % reach;
}

Stream random_stream_b(std::mt19937& rng, size_t target) {
    Stream s;
    while (s.out.size() < target) {
        const size_t left = target - s.out.size();
        const unsigned kind = s.out.empty() ? 0 : rng() % 8;
        if (kind < 3) {
            const size_t n = std::min<size_t>(left, 1 + rng() % (kind == 0 ? 29 : 400));
            if (n <= 29) {
                s.in.push_back(uint8_t(n - 1));
            } else if (n <= 285) {
                s.in.insert(s.in.end(), {0x1D, uint8_t(n - 30)});
            } else if (rng() % 2) {
                s.in.push_back(0x1E);
                s.put_be(n - 286, 2);
            } else {
                s.in.push_back(0x1F);
                s.put_be(n, 4);
            }
            s.literals(rng, n);
            continue;
        }
        if (left < 3) continue;  // too little room for a match: the next item is literals
        size_t distance = random_distance(rng, std::min<size_t>(s.out.size(), 8192));
        size_t len = 3 + rng() % std::min<size_t>(4, left - 2);
        const uint8_t high = uint8_t((distance - 1) >> 8);
        if (kind == 3) {
            distance = 1 + rng() % std::min<size_t>(s.out.size(), 8);
            s.in.push_back(uint8_t(0x20 | ((distance - 1) << 2) | (len - 3)));
        } else if (kind == 4) {
            s.in.insert(s.in.end(),
                        {uint8_t(0x80 | ((len - 3) << 5) | high), uint8_t(distance - 1)});
        } else if (kind == 5 && left >= 7) {
            len = 7 + rng() % std::min<size_t>(256, left - 6);
            s.in.insert(s.in.end(),
                        {uint8_t(0x40 | high), uint8_t(distance - 1), uint8_t(len - 7)});
        } else {
            len = 3 + rng() % std::min<size_t>(3000, left - 2);
            s.in.insert(s.in.end(), {uint8_t(0x60 | high), uint8_t(distance - 1)});
            s.put_be(len - 3, 4);
        }
        s.copy_match_slowly(distance, len);
    }
    return s;
}

// Method A's packer emits every kind of item, so its round trips cover it;
// method B's packer leaves out the longer forms of short runs and matches.
TEST(UnpackB, RandomStreamsMatchByteByByteCopies) {
    std::mt19937 rng(99);
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE(round);
        const size_t target = round < 200 ? 1 + rng() % 64 : 1 + rng() % 30000;
        const Stream s = random_stream_b(rng, target);
        const Unpacker fn = B;
        const Unpacked r = run(fn, s.in, s.out.size());
        ASSERT_TRUE(r.ok);
        ASSERT_EQ(r.bytes, s.out);
        ASSERT_TRUE(r.guards_intact);
        // The last input byte belongs to the last item: without it the stream
        // is refused. With one byte less of room nothing is written past the end.
        EXPECT_FALSE(run(fn, Bytes(s.in.begin(), s.in.end() - 1), s.out.size()).ok);
        EXPECT_TRUE(run(fn, s.in, s.out.size() - 1).guards_intact);
    }
}

}  // namespace
