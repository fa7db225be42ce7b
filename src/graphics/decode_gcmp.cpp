// The compressed engine format: depth 1 (byte runs or plain) and depth 24
// (colour runs), rows bottom-up.

#include <cstring>
#include <new>

#include "graphics/decode_formats.h"
#include "graphics/decode_reader.h"

namespace qln {

namespace {

// Byte-run data into out (exactly out_len bytes). False when the data ends
// early or a long reference names no list entry.
bool unpack_byte_runs(ByteReader& in, uint8_t* out, size_t out_len) {
    // The last entry starts as 255, not 14.
    uint8_t list[15] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 255};
    size_t done = 0;
    while (done < out_len) {
        uint32_t t;
        if (!in.u8(t)) return false;
        const uint32_t hi = t >> 4, lo = t & 15;
        uint64_t count;
        uint8_t value;
        size_t p;
        if (hi != 0) {
            p = hi - 1;
            value = list[p];
            count = lo + 1;
        } else if (lo <= 12) {
            uint32_t n = 0;
            if (lo <= 9) {
                count = lo + 1;
            } else if (lo == 10) {
                if (!in.u8(n)) return false;
                count = uint64_t(n) + 11;
            } else if (lo == 11) {
                if (!in.u16(n)) return false;
                count = uint64_t(n) + 267;
            } else {
                if (!in.u32(n)) return false;
                count = uint64_t(n) + 65803;
            }
            uint32_t literal;
            if (!in.u8(literal)) return false;
            value = static_cast<uint8_t>(literal);
            p = 14;
        } else {
            uint32_t n = 0;
            uint64_t base;
            if (lo == 13) {
                if (!in.u8(n)) return false;
                base = 16;
            } else if (lo == 14) {
                if (!in.u16(n)) return false;
                base = 288;
            } else {
                if (!in.u32(n)) return false;
                base = 65840;
            }
            uint32_t r;
            if (!in.u8(r)) return false;
            // A reference byte with a high nibble of 0 names no entry.
            if ((r >> 4) == 0) return false;
            p = (r >> 4) - 1;
            value = list[p];
            count = uint64_t(n) * 16 + base + (r & 15) + 1;
        }
        const size_t missing = out_len - done;
        const size_t n = count < missing ? static_cast<size_t>(count) : missing;
        std::memset(out + done, value, n);
        done += n;
        std::memmove(list + 1, list, p);
        list[0] = value;
    }
    return true;
}

// Depth-1 rows (bottom first, bit 7 leftmost) into black and white pixels.
void expand_bits(const uint8_t* bits, size_t row_bytes, Picture& pic) {
    const size_t stride = size_t(pic.width) * 3;
    for (size_t y = 0; y < pic.height; ++y) {
        const uint8_t* row = bits + (pic.height - 1 - y) * row_bytes;
        uint8_t* dst = pic.pixels.get() + y * stride;
        for (size_t x = 0; x < pic.width; ++x) {
            const uint8_t v = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0;
            dst[3 * x] = dst[3 * x + 1] = dst[3 * x + 2] = v;
        }
    }
}

Picture* decode_depth1(ByteReader& in, bool runs, PictureOwner pic) {
    const size_t row_bytes = (size_t(pic->width) + 7) / 8;
    const size_t total = row_bytes * pic->height;
    if (!runs) {
        const uint8_t* plain;
        if (!in.take(total, plain)) return nullptr;
        expand_bits(plain, row_bytes, *pic);
        return pic.release();
    }
    std::unique_ptr<uint8_t[]> bits(new (std::nothrow) uint8_t[total + 1]);
    if (!bits || !unpack_byte_runs(in, bits.get(), total)) return nullptr;
    expand_bits(bits.get(), row_bytes, *pic);
    return pic.release();
}

struct Colour {
    uint8_t b, g, r;
};

// Colour runs fill the pixels in file order (bottom row first, left to right).
Picture* decode_depth24(ByteReader& in, PictureOwner pic) {
    // The list of recent colours, position i at ring[(head + i) & 127]: a
    // literal then enters at the front in one step, the last colour falling
    // off, instead of shifting all 127 others.
    Colour ring[128] = {};
    size_t head = 0;
    uint32_t pending = 0;
    const size_t width = pic->width, height = pic->height;
    const size_t total = width * height;
    size_t done = 0;
    // The write position walks each row left to right, rows from the bottom.
    size_t x = 0, done_rows = 0;
    uint8_t* dst = height ? pic->pixels.get() + (height - 1) * width * 3 : nullptr;
    auto read_colour = [&in](Colour& c) {
        const uint8_t* p;
        if (!in.take(3, p)) return false;
        c = Colour{p[0], p[1], p[2]};
        return true;
    };
    while (done < total) {
        uint64_t count;
        Colour colour;
        size_t p = 127;  // a literal shifts the whole list
        uint32_t t = 0;
        if (pending > 0) {
            --pending;
            count = 1;
            if (!read_colour(colour)) return nullptr;
        } else {
            if (!in.u8(t)) return nullptr;
            if (t >= 128) {
                uint32_t n = (t >> 5) & 3;
                if (n != 0) {
                    count = n;
                    p = t & 31;
                } else {
                    uint32_t u;
                    if (!in.u8(u)) return nullptr;
                    count = (t & 31) * 2 + (u >> 7);
                    p = u & 127;
                    if (count == 0) {
                        if (!in.u32(n)) return nullptr;
                        count = n;
                    }
                }
                colour = ring[(head + p) & 127];
            } else {
                uint32_t n = t;
                if (t == 1) {
                    if (!in.u8(n)) return nullptr;
                    pending = n - 1;  // a count byte of 0 wraps: the rest are literals
                    n = 1;
                } else if (t == 0) {
                    if (!in.u32(n)) return nullptr;
                }
                count = n;
                if (!read_colour(colour)) return nullptr;
            }
        }
        const size_t missing = total - done;
        const size_t n = count < missing ? static_cast<size_t>(count) : missing;
        for (size_t i = 0; i < n; ++i) {
            dst[0] = colour.b;
            dst[1] = colour.g;
            dst[2] = colour.r;
            dst += 3;
            if (++x == width && ++done_rows < height) {
                x = 0;
                dst = pic->pixels.get() + (height - 1 - done_rows) * width * 3;
            }
        }
        done += n;
        if (p == 127) {
            head = (head - 1) & 127;
        } else {
            // A reference moves its colour to the front past the p before it.
            for (size_t i = p; i > 0; --i) ring[(head + i) & 127] = ring[(head + i - 1) & 127];
        }
        ring[head] = colour;
    }
    return pic.release();
}

}  // namespace

bool is_gcmp(const uint8_t* bytes, size_t length) {
    return length >= sizeof gcmp_signature &&
           std::memcmp(bytes, gcmp_signature, sizeof gcmp_signature) == 0;
}

Picture* decode_gcmp(const uint8_t* bytes, size_t length) {
    if (length < gcmp_header_bytes) return nullptr;
    const uint16_t width = static_cast<uint16_t>(bytes[8] | (bytes[9] << 8));
    const uint16_t height = static_cast<uint16_t>(bytes[10] | (bytes[11] << 8));
    const int8_t code = static_cast<int8_t>(bytes[12]);
    const int depth = code < 0 ? -int(code) : int(code);
    // Other depths carry no pixels this engine reads; a blank picture of the
    // stated size would be a way to make the engine take memory for nothing.
    if (depth != 1 && depth != 24) return nullptr;
    // Plain depth-1 data must hold every row: refused before allocating.
    const size_t plain_bytes = (size_t(width) + 7) / 8 * height;
    if (depth == 1 && code <= 0 && length - gcmp_header_bytes < plain_bytes) return nullptr;
    PictureOwner pic(picture_create_decoded(width, height));
    if (!pic) return nullptr;
    ByteReader in(bytes, length, gcmp_header_bytes);
    if (depth == 1) return decode_depth1(in, code > 0, std::move(pic));
    return decode_depth24(in, std::move(pic));
}

}  // namespace qln
