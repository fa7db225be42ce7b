// The two unpacking methods. Both decode into a caller's buffer of exactly the
// unpacked length. A match copies byte by byte in meaning (a distance shorter
// than the length repeats a pattern); the code below does the same work in
// wide steps wherever there is room, and checks bounds once per flag byte or
// token instead of once per byte.
#include "files/unpack.h"
#include "base/byte_order.h"

#include <bit>
#include <cstring>

namespace qln {
namespace {

// A wide match copy may write up to kSlack - 1 bytes past the match's end.
constexpr size_t kSlack = 16;

inline uint32_t load_be32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// A pattern of 1 to 7 bytes repeated through a 64-bit word: the pattern's
// bytes, masked, times a constant that puts copies of it side by side. The
// word is then stored every `step` bytes (the largest multiple of the
// distance up to 8), so the copy never reloads bytes it has just written.
struct Pattern {
    uint64_t word;
    size_t step;
};

inline Pattern pattern_of(const uint8_t* op, size_t distance) {
    static constexpr uint64_t kMask[8] = {
        0, 0xFF, 0xFFFF, 0xFFFFFF, 0xFFFFFFFF, 0xFFFFFFFFFF, 0xFFFFFFFFFFFF, 0xFFFFFFFFFFFFFF};
    static constexpr uint64_t kSpread[8] = {0,
                                            0x0101010101010101,
                                            0x0001000100010001,
                                            0x0001000001000001,
                                            0x0000000100000001,
                                            0x0000010000000001,
                                            0x0001000000000001,
                                            0x0100000000000001};
    static constexpr uint8_t kStep[8] = {0, 8, 8, 6, 8, 5, 6, 7};
    uint64_t word = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Loads 8 bytes of which the first `distance` count; the caller's
        // room at op covers the rest.
        std::memcpy(&word, op - distance, 8);
        word = (word & kMask[distance]) * kSpread[distance];
    } else {
        for (size_t i = 0; i < 8; ++i)
            word |= uint64_t(op[int(i % distance) - int(distance)]) << (8 * i);
    }
    return {word, kStep[distance]};
}

// Copies a match of len bytes from distance bytes back. The bytes written past
// op + len (fewer than kSlack) hold the pattern's continuation; later output
// overwrites them. The caller guarantees op + len + kSlack - 1 lies inside the
// output and that 1 <= distance <= bytes already written.
inline void copy_wild(uint8_t* op, size_t distance, size_t len) {
    uint8_t* const end = op + len;
    if (distance >= len) {
        // The source lies wholly behind the destination.
        std::memcpy(op, op - distance, len);
        return;
    }
    if (distance >= 16) {
        do {
            std::memcpy(op, op - distance, 16);
            op += 16;
        } while (op < end);
        return;
    }
    if (distance >= 8) {
        do {
            std::memcpy(op, op - distance, 8);
            op += 8;
        } while (op < end);
        return;
    }
    if (distance == 1) {
        std::memset(op, op[-1], len);
        return;
    }
    const Pattern p = pattern_of(op, distance);
    for (; op < end; op += p.step) std::memcpy(op, &p.word, 8);
}

// A match of at most 18 bytes (every match of method A, the short ones of
// method B) written as 24 bytes in three 8-byte steps, without branching on
// the length. The caller guarantees 24 bytes of room at op.
inline void copy_short_wild(uint8_t* op, size_t distance) {
    if (distance >= 8) {
        std::memcpy(op, op - distance, 8);
        std::memcpy(op + 8, op + 8 - distance, 8);
        std::memcpy(op + 16, op + 16 - distance, 8);
        return;
    }
    const Pattern p = pattern_of(op, distance);
    std::memcpy(op, &p.word, 8);
    std::memcpy(op + p.step, &p.word, 8);
    std::memcpy(op + 2 * p.step, &p.word, 8);
}

// The same without writing past op + len; oend is the end of the output.
inline void copy_exact(uint8_t* op, size_t distance, size_t len, const uint8_t* oend) {
    const size_t room = static_cast<size_t>(oend - op);
    if (room - len >= kSlack) {
        copy_wild(op, distance, len);
        return;
    }
    size_t done = 0;
    if (len > kSlack) {
        done = len - kSlack;
        copy_wild(op, distance, done);  // ends at least kSlack before oend
    }
    // From the match's start: i - distance would wrap below op.
    const uint8_t* from = op - distance;
    for (size_t i = done; i < len; ++i) op[i] = from[i];
}

}  // namespace

bool unpack_a(const uint8_t* in, size_t in_len, uint8_t* out, size_t out_len) {
    const uint8_t* ip = in;
    const uint8_t* const iend = in + in_len;
    uint8_t* op = out;
    uint8_t* const oend = out + out_len;

    // Worst case for one flag byte: 1 + 8 * 2 bytes in, plus 8 bytes that a
    // literal run may read ahead; 8 * 18 bytes out, plus 8 bytes that the
    // literal move after the last match writes ahead (it runs, empty, even
    // when the flag byte ends with a match).
    constexpr size_t kGroupIn = 1 + 16 + 8;
    constexpr size_t kGroupOut = 8 * 18 + 8;

    while (op < oend) {
        if (static_cast<size_t>(iend - ip) >= kGroupIn &&
            static_cast<size_t>(oend - op) >= kGroupOut) {
            // The flag bits go to the top of a word with a stop bit after
            // them, so each run of literals is counted with one instruction
            // and copied with one 8-byte move.
            uint32_t f = (uint32_t(*ip++) << 24) | 0x00800000u;
            for (;;) {
                const int literals = std::countl_zero(f);
                std::memcpy(op, ip, 8);
                op += literals;
                ip += literals;
                f <<= literals;
                if (f == 0x80000000u) break;  // only the stop bit is left
                f <<= 1;
                const unsigned w = read_u16(ip);
                ip += 2;
                const size_t distance = (w >> 4) + 1;
                if (distance > static_cast<size_t>(op - out)) return false;
                copy_short_wild(op, distance);
                op += (w & 0x0F) + 3;
            }
            continue;
        }

        // Near either end: check every item, and cut the last match.
        if (ip == iend) return false;
        unsigned flags = *ip++;
        for (int bit = 0; bit < 8 && op < oend; ++bit, flags <<= 1) {
            if ((flags & 0x80) == 0) {
                if (ip == iend) return false;
                *op++ = *ip++;
                continue;
            }
            if (iend - ip < 2) return false;
            const unsigned w = read_u16(ip);
            ip += 2;
            const size_t distance = (w >> 4) + 1;
            size_t len = (w & 0x0F) + 3;
            if (distance > static_cast<size_t>(op - out)) return false;
            const size_t room = static_cast<size_t>(oend - op);
            if (len > room) len = room;
            copy_exact(op, distance, len, oend);
            op += len;
        }
    }
    return true;
}

bool unpack_b(const uint8_t* in, size_t in_len, uint8_t* out, size_t out_len) {
    const uint8_t* ip = in;
    const uint8_t* const iend = in + in_len;
    uint8_t* op = out;
    uint8_t* const oend = out + out_len;

    while (op < oend) {
        if (ip == iend) return false;
        const unsigned t = *ip++;
        const size_t in_left = static_cast<size_t>(iend - ip);
        const size_t out_left = static_cast<size_t>(oend - op);

        if (t < 0x20) {
            uint64_t n;
            if (t < 0x1D) {
                n = t + 1;
                // Short runs: one fixed 32-byte copy when both sides have room.
                if (in_left >= 32 && out_left >= 32) {
                    std::memcpy(op, ip, 32);
                    op += n;
                    ip += n;
                    continue;
                }
            } else if (t == 0x1D) {
                if (in_left < 1) return false;
                n = uint64_t(ip[0]) + 30;
                ip += 1;
            } else if (t == 0x1E) {
                if (in_left < 2) return false;
                n = ((uint64_t(ip[0]) << 8) | ip[1]) + 286;
                ip += 2;
            } else {
                if (in_left < 4) return false;
                n = load_be32(ip);
                ip += 4;
            }
            if (n > static_cast<uint64_t>(iend - ip) || n > out_left) return false;
            std::memcpy(op, ip, static_cast<size_t>(n));
            op += n;
            ip += n;
            continue;
        }

        size_t distance;
        uint64_t len;
        if (t < 0x40) {
            len = (t & 3) + 3;
            distance = ((t >> 2) & 7) + 1;
        } else if (t < 0x60) {
            if (in_left < 2) return false;
            distance = (((t & 0x1Fu) << 8) | ip[0]) + 1;
            len = uint64_t(ip[1]) + 7;
            ip += 2;
        } else if (t < 0x80) {
            if (in_left < 5) return false;
            distance = (((t & 0x1Fu) << 8) | ip[0]) + 1;
            len = uint64_t(load_be32(ip + 1)) + 3;
            ip += 5;
        } else {
            if (in_left < 1) return false;
            len = ((t >> 5) & 3) + 3;
            distance = (((t & 0x1Fu) << 8) | ip[0]) + 1;
            ip += 1;
        }
        if (distance > static_cast<size_t>(op - out) || len > out_left) return false;
        if (len <= 18 && out_left >= 24) {
            copy_short_wild(op, distance);
        } else {
            copy_exact(op, distance, static_cast<size_t>(len), oend);
        }
        op += len;
    }
    return true;
}

}  // namespace qln
