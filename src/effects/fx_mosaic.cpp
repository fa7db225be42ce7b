// The blocks start with a narrower one so the grid sits centred on the
// picture: its width is half the remainder of the picture over the block
// size, or half a block when that is 0. One row of a band of blocks is built
// in the destination and copied to the band's other rows.

#include "effects/fx_mosaic.h"

#include <algorithm>
#include <cstring>

#include "effects/fx_visible.h"

namespace qln {
namespace {

// Block size along one side: the operand when it fits the picture, else the
// picture's size (2 blocks then, since the first is half of it).
int32_t block_size(int32_t operand, int32_t size) {
    return operand >= 1 && operand <= size ? operand : size;
}

int32_t first_block(int32_t size, int32_t block) {
    const int32_t half_rest = (size % block) / 2;
    return half_rest != 0 ? half_rest : (block + 1) / 2;
}

// Writes the visible columns of one row of a band of blocks to out, each
// block the colour of its centre pixel in centre_row.
void band_colours(uint8_t* out, const uint8_t* centre_row, int32_t w, int32_t bw,
                  const FxVisible& vis) {
    if (bw == 1) {  // blocks of one column: the row itself
        std::memcpy(out, centre_row + size_t(vis.u0) * 3, size_t(vis.u1 - vis.u0) * 3);
        return;
    }
    for (int32_t left = 0, width = first_block(w, bw); left < vis.u1; left += width, width = bw) {
        width = std::min(width, w - left);
        const int32_t c0 = std::max(left, vis.u0), c1 = std::min(left + width, vis.u1);
        const uint8_t* colour = centre_row + size_t(left + width / 2) * 3;
        for (int32_t c = c0; c < c1; ++c) fx_put(out + size_t(c - vis.u0) * 3, colour);
    }
}

}  // namespace

void fx_mosaic(Picture& dst, int32_t x, int32_t y, const Picture& src, int32_t block_w,
               int32_t block_h) {
    const int32_t w = src.width, h = src.height;
    if (w == 0 || h == 0) return;
    const FxVisible vis = fx_visible(dst, x, y, w, h);
    if (vis.empty()) return;
    const int32_t bw = block_size(block_w, w), bh = block_size(block_h, h);
    const size_t visible_bytes = size_t(vis.u1 - vis.u0) * 3;

    for (int32_t top = 0, height = first_block(h, bh); top < vis.v1; top += height, height = bh) {
        height = std::min(height, h - top);
        const int32_t r0 = std::max(top, vis.v0), r1 = std::min(top + height, vis.v1);
        if (r0 >= r1) continue;
        const int32_t centre_y = top + height / 2;
        uint8_t* band_row = fx_pixel(dst, int64_t(x) + vis.u0, int64_t(y) + r0);
        band_colours(band_row, fx_pixel(src, 0, centre_y), w, bw, vis);
        for (int32_t r = r0 + 1; r < r1; ++r) {
            std::memcpy(fx_pixel(dst, int64_t(x) + vis.u0, int64_t(y) + r), band_row,
                        visible_bytes);
        }
    }
}

}  // namespace qln
