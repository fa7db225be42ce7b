#include "graphics/bmp_write.h"

#include <cstring>
#include <new>

#include "graphics/dither.h"

namespace qln {
namespace {

void put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void put32(uint8_t* p, uint32_t v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

// Sizes the file and writes both headers; false when it cannot be had.
bool start_file(const Picture& picture, int bits, BmpFile& out) {
    out.bytes.reset();
    out.size = 0;
    const uint32_t palette = bits == 8 ? kBmpPaletteBytes : 0;
    const uint64_t offset = kBmpHeaderBytes + palette;
    const uint64_t total = uint64_t(picture.height) * bmp_stride(picture.width, bits) + offset;
    if (total > UINT32_MAX) return false;
    // Zeroed: the reserved fields and the row padding stay 0.
    out.bytes.reset(new (std::nothrow) uint8_t[size_t(total)]());
    if (!out.bytes) return false;
    out.size = size_t(total);
    uint8_t* h = out.bytes.get();
    h[0] = 'B';
    h[1] = 'M';
    put32(h + 2, uint32_t(total));
    put32(h + 10, uint32_t(offset));
    put32(h + 14, 40);
    put32(h + 18, picture.width);
    put32(h + 22, picture.height);  // positive: the bottom row comes first
    put16(h + 26, 1);
    put16(h + 28, uint32_t(bits));
    put32(h + 46, bits == 8 ? 256 : 0);
    return true;
}

}  // namespace

bool bmp_encode_24(const Picture& picture, BmpFile& out) {
    if (!start_file(picture, 24, out)) return false;
    const uint32_t stride = bmp_stride(picture.width, 24);
    const size_t row_bytes = size_t(picture.width) * 3;
    uint8_t* dst = out.bytes.get() + kBmpHeaderBytes;
    for (uint32_t r = 0; r < picture.height; ++r, dst += stride) {
        const uint8_t* src = picture.pixels.get() + size_t(picture.height - 1 - r) * row_bytes;
        std::memcpy(dst, src, row_bytes);
    }
    return true;
}

bool bmp_encode_8(const Picture& picture, const uint8_t (&palette)[256][4], BmpFile& out) {
    if (!start_file(picture, 8, out)) return false;
    uint8_t* entries = out.bytes.get() + kBmpHeaderBytes;
    for (int i = 0; i < 256; ++i) {
        entries[4 * i + 0] = palette[i][2];
        entries[4 * i + 1] = palette[i][1];
        entries[4 * i + 2] = palette[i][0];
        entries[4 * i + 3] = 0;
    }
    const uint32_t stride = bmp_stride(picture.width, 8);
    const size_t row_bytes = size_t(picture.width) * 3;
    uint8_t* dst = entries + kBmpPaletteBytes;
    for (uint32_t r = 0; r < picture.height; ++r, dst += stride) {
        const uint8_t* src = picture.pixels.get() + size_t(picture.height - 1 - r) * row_bytes;
        const uint8_t* m = kDitherMatrix[r & 3];
        for (uint32_t x = 0; x < picture.width; ++x, src += 3) {
            dst[x] = dither_index(src[2], src[1], src[0], m[x & 3]);
        }
    }
    return true;
}

}  // namespace qln
