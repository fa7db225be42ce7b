// Windows bitmaps: 40-byte information header, 1, 8 or 24 bits per pixel,
// rows bottom-up padded to 4 bytes.

#include <cstring>

#include "base/byte_order.h"
#include "graphics/decode_formats.h"

namespace qln {

namespace {

constexpr size_t file_header_bytes = 14;
constexpr size_t info_header_bytes = 40;

}  // namespace

bool is_bmp(const uint8_t* bytes, size_t length) {
    return length >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

Picture* decode_bmp(const uint8_t* bytes, size_t length) {
    if (length < file_header_bytes + info_header_bytes) return nullptr;
    const uint8_t* info = bytes + file_header_bytes;
    if (read_u32(info) != info_header_bytes) return nullptr;
    const uint16_t width = read_u16(info + 4);
    const uint16_t height = read_u16(info + 8);
    const uint16_t bits = read_u16(info + 14);
    if (bits != 1 && bits != 8 && bits != 24) return nullptr;
    uint64_t entries = read_u32(info + 32);
    if (bits == 24)
        entries = 0;
    else if (entries == 0)
        entries = bits == 8 ? 256 : 2;

    // The pixels follow the colour table; the file header's offset is not used.
    const uint64_t table_at = file_header_bytes + info_header_bytes;
    const uint64_t data_at = table_at + 4 * entries;
    const size_t row_bytes = bits == 24  ? size_t(width) * 3
                             : bits == 8 ? size_t(width)
                                         : (size_t(width) + 7) / 8;
    const size_t stride = (row_bytes + 3) & ~size_t(3);
    // The last row's padding need not be there.
    const uint64_t data_bytes = height ? uint64_t(height - 1) * stride + row_bytes : 0;
    if (data_at > length || data_bytes > length - data_at) return nullptr;

    PictureOwner pic(picture_create_decoded(width, height));
    if (!pic) return nullptr;
    const uint8_t* table = bytes + table_at;
    // Only the entries the 8-bit indices can reach; indices past the table are black.
    const size_t usable = entries < 256 ? static_cast<size_t>(entries) : 256;
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* src = bytes + data_at + (height - 1 - y) * stride;
        uint8_t* dst = pic->pixels.get() + y * size_t(width) * 3;
        if (bits == 24) {
            std::memcpy(dst, src, row_bytes);
        } else if (bits == 8) {
            for (size_t x = 0; x < width; ++x, dst += 3) {
                const size_t i = src[x];
                if (i < usable) {
                    std::memcpy(dst, table + 4 * i, 3);
                } else {
                    dst[0] = dst[1] = dst[2] = 0;
                }
            }
        } else {
            // 1-bit pictures ignore their colour table: set bits are white.
            for (size_t x = 0; x < width; ++x, dst += 3) {
                const uint8_t v = ((src[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0;
                dst[0] = dst[1] = dst[2] = v;
            }
        }
    }
    return pic.release();
}

}  // namespace qln
