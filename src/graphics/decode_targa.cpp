// Targa: only uncompressed 32-bit true colour, rows bottom-up, blue, green,
// red, alpha. The identification length and image descriptor are not read.

#include <new>

#include "base/byte_order.h"
#include "graphics/decode_formats.h"

namespace qln {

namespace {
constexpr size_t targa_header_bytes = 18;
}

Picture* decode_targa(const uint8_t* bytes, size_t length) {
    if (length < targa_header_bytes) return nullptr;
    if (bytes[1] != 0 || bytes[2] != 2 || bytes[16] != 32) return nullptr;
    const uint16_t width = read_u16(bytes + 12);
    const uint16_t height = read_u16(bytes + 14);
    const uint64_t data_bytes = uint64_t(width) * height * 4;
    if (data_bytes > length - targa_header_bytes) return nullptr;

    PictureOwner pic(picture_create_decoded(width, height));
    if (!pic) return nullptr;
    pic->alpha.reset(new (std::nothrow) uint8_t[pic->alpha_bytes() + 1]);
    if (!pic->alpha) return nullptr;
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* src = bytes + targa_header_bytes + (height - 1 - y) * size_t(width) * 4;
        uint8_t* dst = pic->pixels.get() + y * size_t(width) * 3;
        uint8_t* alpha = pic->alpha.get() + y * size_t(width);
        for (size_t x = 0; x < width; ++x, src += 4, dst += 3) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
            alpha[x] = src[3];
        }
    }
    return pic.release();
}

}  // namespace qln
