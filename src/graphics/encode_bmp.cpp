// Windows bitmap and 32-bit targa writers.

#include <cstring>
#include <map>

#include "base/byte_order.h"
#include "graphics/encode_formats.h"

namespace qln {

std::vector<uint8_t> encode_bmp(const Picture& p, int bits) {
    if (bits != 1 && bits != 8 && bits != 24) return {};
    const size_t width = p.width, height = p.height;
    const uint8_t* px = p.pixels.get();

    // 8 bits: one table entry per distinct colour, in order of first use.
    std::map<uint32_t, uint8_t> index_of;
    std::vector<uint32_t> table;
    if (bits == 8) {
        for (size_t i = 0; i < width * height; ++i) {
            const uint32_t c = px[3 * i] | (px[3 * i + 1] << 8) | (uint32_t(px[3 * i + 2]) << 16);
            if (index_of.count(c)) continue;
            if (table.size() == 256) return {};
            index_of[c] = static_cast<uint8_t>(table.size());
            table.push_back(c);
        }
    } else if (bits == 1) {
        table = {0x000000, 0xFFFFFF};
    }

    const size_t row_bytes = bits == 24 ? width * 3 : bits == 8 ? width : (width + 7) / 8;
    const size_t stride = (row_bytes + 3) & ~size_t(3);
    const size_t data_at = 54 + 4 * table.size();
    std::vector<uint8_t> out(data_at + stride * height, 0);
    uint8_t* h = out.data();
    h[0] = 'B';
    h[1] = 'M';
    write_u32(h + 2, static_cast<uint32_t>(out.size()));
    write_u32(h + 10, static_cast<uint32_t>(data_at));
    write_u32(h + 14, 40);
    write_u32(h + 18, static_cast<uint32_t>(width));
    write_u32(h + 22, static_cast<uint32_t>(height));
    write_u16(h + 26, 1);
    write_u16(h + 28, static_cast<uint16_t>(bits));
    write_u32(h + 34, static_cast<uint32_t>(stride * height));
    write_u32(h + 46, static_cast<uint32_t>(table.size()));
    for (size_t i = 0; i < table.size(); ++i) write_u32(h + 54 + 4 * i, table[i]);

    for (size_t y = 0; y < height; ++y) {
        const uint8_t* src = px + y * width * 3;
        uint8_t* dst = out.data() + data_at + (height - 1 - y) * stride;
        if (bits == 24) {
            std::memcpy(dst, src, width * 3);
            continue;
        }
        for (size_t x = 0; x < width; ++x, src += 3) {
            if (bits == 8) {
                dst[x] = index_of[src[0] | (src[1] << 8) | (uint32_t(src[2]) << 16)];
            } else if (is_light(src)) {
                dst[x >> 3] |= uint8_t(0x80 >> (x & 7));
            }
        }
    }
    return out;
}

std::vector<uint8_t> encode_targa(const Picture& p) {
    const size_t width = p.width, height = p.height;
    std::vector<uint8_t> out(18 + width * height * 4, 0);
    out[2] = 2;
    write_u16(out.data() + 12, p.width);
    write_u16(out.data() + 14, p.height);
    out[16] = 32;
    out[17] = 8;  // eight alpha bits, rows bottom-up
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* src = p.pixels.get() + y * width * 3;
        const uint8_t* alpha = p.alpha ? p.alpha.get() + y * width : nullptr;
        uint8_t* dst = out.data() + 18 + (height - 1 - y) * width * 4;
        for (size_t x = 0; x < width; ++x, src += 3, dst += 4) {
            std::memcpy(dst, src, 3);
            dst[3] = alpha ? alpha[x] : 255;
        }
    }
    return out;
}

}  // namespace qln
