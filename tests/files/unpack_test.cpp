#include "files/unpack.h"

#include <gtest/gtest.h>

#include <cstdint>
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

}  // namespace
