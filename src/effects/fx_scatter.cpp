#include "effects/fx_scatter.h"

#include <algorithm>
#include <cstring>

#include "graphics/draw.h"

namespace qln {
namespace {

// Where the piece at source offset `at` along a side of the picture (size n)
// starts in the area (size area).
int64_t piece_position(int64_t at, int64_t block, int64_t n, int64_t area, int64_t scale) {
    return (at + block / 2 - n / 2) * scale / 100 - block / 2 + (area - n) / 2 + n / 2;
}

}  // namespace

void fx_scatter_draw(Picture& dst, int32_t x, int32_t y, const Picture& src, int32_t area_w,
                     int32_t area_h, int32_t scale, int32_t block, FxFill fill) {
    picture_fill(&dst, x, y, area_w, area_h, fill.red, fill.green, fill.blue, -1);
    if (block <= 0) return;
    // The pieces are cut to the area and to dst: [left, right) x [top, bottom).
    const FxSpan area_cols = fx_span(x, area_w, dst.width);
    const FxSpan area_rows = fx_span(y, area_h, dst.height);
    if (area_cols.empty() || area_rows.empty()) return;
    const int64_t left = x + area_cols.first, right = x + area_cols.last;
    const int64_t top = y + area_rows.first, bottom = y + area_rows.last;

    const int64_t w = src.width, h = src.height, b = block;
    for (int64_t by = 0; by < h; by += b) {
        const int64_t piece_h = std::min(b, h - by);
        const int64_t at_y = y + piece_position(by, b, h, area_h, scale);
        const int64_t row0 = std::max(at_y, top), row1 = std::min(at_y + piece_h, bottom);
        if (row1 <= row0) continue;
        for (int64_t bx = 0; bx < w; bx += b) {
            const int64_t piece_w = std::min(b, w - bx);
            const int64_t at_x = x + piece_position(bx, b, w, area_w, scale);
            const int64_t col0 = std::max(at_x, left), col1 = std::min(at_x + piece_w, right);
            if (col1 <= col0) continue;
            const size_t bytes = size_t(col1 - col0) * 3;
            for (int64_t row = row0; row < row1; ++row) {
                std::memcpy(fx_pixel(dst, col0, row),
                            fx_pixel(src, bx + col0 - at_x, by + row - at_y), bytes);
            }
        }
    }
}

}  // namespace qln
