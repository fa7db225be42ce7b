// Writers of the compressed engine format. They keep the same recent-value
// lists as the reader, so references and literals are chosen exactly as the
// reader will replay them.

#include <cstring>

#include "graphics/decode_formats.h"
#include "graphics/encode_formats.h"

namespace qln {

namespace {

void put_u16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put_u32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

std::vector<uint8_t> header(const Picture& p, int8_t code) {
    std::vector<uint8_t> out(gcmp_signature, gcmp_signature + 8);
    put_u16(out, p.width);
    put_u16(out, p.height);
    out.push_back(static_cast<uint8_t>(code));
    out.insert(out.end(), 3, 0);
    return out;
}

// One run of `count` copies of `value` in byte-run form.
void put_byte_run(std::vector<uint8_t>& out, uint8_t list[15], uint8_t value, uint64_t count) {
    size_t p = 15;
    for (size_t i = 0; i < 15; ++i) {
        if (list[i] == value) {
            p = i;
            break;
        }
    }
    if (p < 15) {
        // References: up to 16 in one byte, longer runs with a count field.
        // After the first the value is at the front of the list.
        while (count > 0) {
            if (count <= 32) {
                const uint64_t n = count < 16 ? count : 16;
                out.push_back(static_cast<uint8_t>(((p + 1) << 4) | (n - 1)));
                count -= n;
            } else {
                const uint64_t u32_most = 65841 + (uint64_t(0xFFFFFFFFu) << 4) + 15;
                const uint64_t take = count < u32_most ? count : u32_most;
                uint64_t rest;
                if (take <= 4112) {
                    rest = take - 17;
                    out.push_back(13);
                    out.push_back(static_cast<uint8_t>(rest >> 4));
                } else if (take <= 1048864) {
                    rest = take - 289;
                    out.push_back(14);
                    put_u16(out, static_cast<uint32_t>(rest >> 4));
                } else {
                    rest = take - 65841;
                    out.push_back(15);
                    put_u32(out, static_cast<uint32_t>(rest >> 4));
                }
                out.push_back(static_cast<uint8_t>(((p + 1) << 4) | (rest & 15)));
                count -= take;
            }
            std::memmove(list + 1, list, p);
            list[0] = value;
            p = 0;
        }
        return;
    }
    // A literal: the count comes first, then the value.
    if (count <= 10) {
        out.push_back(static_cast<uint8_t>(count - 1));
    } else if (count <= 266) {
        out.push_back(10);
        out.push_back(static_cast<uint8_t>(count - 11));
    } else if (count <= 65802) {
        out.push_back(11);
        put_u16(out, static_cast<uint32_t>(count - 267));
    } else {
        out.push_back(12);
        put_u32(out, static_cast<uint32_t>(count - 65803));
    }
    out.push_back(value);
    std::memmove(list + 1, list, 14);
    list[0] = value;
}

}  // namespace

bool is_light(const uint8_t* bgr) {
    return 299u * bgr[2] + 587u * bgr[1] + 114u * bgr[0] >= 128000u;
}

std::vector<uint8_t> encode_gcmp1(const Picture& p, bool runs) {
    std::vector<uint8_t> out = header(p, runs ? 1 : -1);
    const size_t row_bytes = (size_t(p.width) + 7) / 8;
    std::vector<uint8_t> bits(row_bytes * p.height, 0);
    for (size_t y = 0; y < p.height; ++y) {
        uint8_t* row = bits.data() + (p.height - 1 - y) * row_bytes;
        const uint8_t* src = p.pixels.get() + y * size_t(p.width) * 3;
        for (size_t x = 0; x < p.width; ++x)
            if (is_light(src + 3 * x)) row[x >> 3] |= uint8_t(0x80 >> (x & 7));
    }
    if (!runs) {
        out.insert(out.end(), bits.begin(), bits.end());
        return out;
    }
    uint8_t list[15] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 255};
    for (size_t i = 0; i < bits.size();) {
        size_t j = i + 1;
        while (j < bits.size() && bits[j] == bits[i]) ++j;
        put_byte_run(out, list, bits[i], j - i);
        i = j;
    }
    return out;
}

}  // namespace qln
