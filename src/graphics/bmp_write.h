#pragma once
// Pictures written as Windows bitmap files: a 14-byte file header, a 40-byte
// information header, rows bottom-up padded to four bytes. The 24-bit form
// holds the pixels as they are; the 8-bit form holds the display palette and
// the indices an 8-bit screen shows for the same picture (the same ordered
// dither as the screen update, counted from the bottom row of the file).

#include <cstddef>
#include <cstdint>
#include <memory>

#include "graphics/picture.h"

namespace qln {

inline constexpr uint32_t kBmpHeaderBytes = 54;
inline constexpr uint32_t kBmpPaletteBytes = 1024;

// Row stride of the file: 3 or 1 bytes per pixel rounded up to four bytes.
inline uint32_t bmp_stride(uint16_t width, int bits_per_pixel) {
    const uint32_t bytes = bits_per_pixel == 8 ? width : 3u * width;
    return (bytes + 3u) & ~3u;
}

// The bytes of a whole file.
struct BmpFile {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0;
};

// The file of the picture in out (replaced). False, with out empty, when the
// file would be larger than its 32-bit size field can say or memory fails.
[[nodiscard]] bool bmp_encode_24(const Picture& picture, BmpFile& out);
// palette: 256 entries of red, green, blue and a flag byte (the display
// palette's layout); the file gets blue, green, red, 0.
[[nodiscard]] bool bmp_encode_8(const Picture& picture, const uint8_t (&palette)[256][4],
                                BmpFile& out);

}  // namespace qln
