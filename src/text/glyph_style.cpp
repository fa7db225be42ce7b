#include "text/glyph_style.h"

#include <cstddef>

#include "text/font.h"

namespace qln {

uint16_t glyph_style_normalise(uint16_t style) {
    return style == kStyleBold || style == kStyleSlantedBold ? style : 0;
}

void glyph_style_apply(uint8_t* ink, int32_t cx, int32_t cy, uint16_t style) {
    if (!ink || cx < 2 || cy < 1) return;
    if (style != kStyleBold && style != kStyleSlantedBold) return;
    const int32_t split = cx - cx / 2;
    for (int32_t y = 0; y < cy; ++y) {
        int32_t first = 1;  // columns first .. last are widened into
        int32_t last = cx - 1;
        if (style == kStyleSlantedBold) {
            if (y < cy / 2) {
                last = split < last ? split : last;
            } else {
                first = split + 1;
            }
        }
        uint8_t* row = ink + size_t(y) * size_t(cx);
        // Right to left: each column reads its left neighbour before that
        // neighbour is widened itself, so strokes grow by exactly one pixel.
        for (int32_t x = last; x >= first; --x) {
            if (row[x - 1] != 0) row[x] = row[x - 1];
        }
    }
}

}  // namespace qln
