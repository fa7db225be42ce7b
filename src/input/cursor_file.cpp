// Reading the animated cursor file. Every offset is checked once, in
// cursor_layout_read; the readers after it rely on that check.

#include "input/cursor_file.h"

#include "base/byte_order.h"
#include "platform/platform.h"

namespace qln {
namespace {

constexpr size_t kPaletteOffset = 10;
constexpr size_t kFrameCountOffset = 74;
constexpr size_t kPixelBytes = 512;
constexpr int kRowPixelBytes = 16;  // 32 pixels at 4 bits
constexpr int kRowMaskBytes = 4;    // 32 pixels at 1 bit

}  // namespace

bool cursor_layout_read(const uint8_t* data, size_t size, CursorLayout& out) {
    if (!data || size < kCursorHeaderSize) return false;
    if (data[0] != 'a' || data[1] != 'p' || data[2] != 't' || data[3] != 'r') return false;
    CursorLayout layout;
    layout.image_count = read_u16(data + 4);
    layout.hot_x = read_u16(data + 6);
    layout.hot_y = read_u16(data + 8);
    // 64-bit sums: a count of 65535 in every field cannot overflow them.
    uint64_t offset = kCursorHeaderSize + uint64_t(layout.image_count) * kCursorImageSize;
    for (int state = 0; state < kCursorStates; ++state) {
        layout.frame_count[state] = read_u16(data + kFrameCountOffset + 2 * state);
        layout.frame_table[state] = static_cast<size_t>(offset);
        offset += uint64_t(layout.frame_count[state]) * 4;
    }
    if (offset > size) return false;
    out = layout;
    return true;
}

CursorFrame cursor_frame_at(const uint8_t* data, const CursorLayout& layout, int state,
                            uint16_t index) {
    const uint8_t* p = data + layout.frame_table[state] + size_t(index) * 4;
    return CursorFrame{read_u16(p), read_u16(p + 2)};
}

bool cursor_image_build(const uint8_t* data, const CursorLayout& layout, uint16_t image,
                        CursorImage& out) {
    if (image >= layout.image_count) return false;
    const uint8_t* pixels = data + kCursorHeaderSize + size_t(image) * kCursorImageSize;
    const uint8_t* mask = pixels + kPixelBytes;
    const uint8_t* palette = data + kPaletteOffset;
    for (int y = 0; y < 32; ++y) {
        const uint8_t* colour_row = pixels + (31 - y) * kRowPixelBytes;  // bottom row first
        const uint8_t* mask_row = mask + y * kRowMaskBytes;              // top row first
        uint8_t* dst = out.bgra + y * 32 * 4;
        for (int x = 0; x < 32; ++x, dst += 4) {
            if (mask_row[x >> 3] & (0x80 >> (x & 7))) {
                dst[0] = dst[1] = dst[2] = dst[3] = 0;
                continue;
            }
            const uint8_t pair = colour_row[x >> 1];
            const uint8_t index = (x & 1) ? (pair & 0x0F) : (pair >> 4);
            const uint8_t* entry = palette + index * 4;  // blue, green, red, unused
            dst[0] = entry[0];
            dst[1] = entry[1];
            dst[2] = entry[2];
            dst[3] = 255;
        }
    }
    out.hot_x = layout.hot_x;
    out.hot_y = layout.hot_y;
    return true;
}

}  // namespace qln
