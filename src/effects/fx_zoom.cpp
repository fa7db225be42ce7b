#include "effects/fx_zoom.h"

#include <cstring>

#include "graphics/draw.h"

namespace qln {
namespace {

// Destination row r of the shrunk picture takes source row r x h / dh; along
// a row the source column steps by 6553600 / percent from column 0.
void draw_shrunk(Picture& dst, int32_t x, int32_t y, const Picture& src, int32_t percent,
                 FxFill fill) {
    const int64_t w = src.width, h = src.height;
    picture_fill(&dst, x, y, src.width, src.height, fill.red, fill.green, fill.blue, -1);
    const int64_t dw = w * percent / 100, dh = h * percent / 100;
    if (dw == 0 || dh == 0) return;
    const int64_t left = x + (w - dw) / 2, top = y + (h - dh) / 2;
    const FxSpan cols = fx_span(left, dw, dst.width);
    const FxSpan rows = fx_span(top, dh, dst.height);
    if (cols.empty() || rows.empty()) return;
    const uint64_t step = uint64_t(6553600 / percent);
    for (int64_t r = rows.first; r < rows.last; ++r) {
        fx_sample_row(fx_pixel(dst, left + cols.first, top + r), fx_pixel(src, 0, r * h / dh),
                      cols.last - cols.first, uint64_t(cols.first) * step, uint32_t(step));
    }
}

// The 16.16 source position of the first destination pixel along a side of
// n pixels: the integer part ((65536 - t) x n) >> 17 and the fraction
// -(t x n) / 2 modulo 65536, which start the sampling half a step early so
// that the central part of the picture is centred.
uint64_t enlarged_start(int64_t step, int64_t n) {
    const int64_t whole = ((65536 - step) * n) >> 17;
    const int64_t fraction = (-(step * n) / 2) & 0xFFFF;
    return uint64_t(whole) << 16 | uint64_t(fraction);
}

void draw_enlarged(Picture& dst, int32_t x, int32_t y, const Picture& src, int32_t percent) {
    const FxSpan cols = fx_span(x, src.width, dst.width);
    const FxSpan rows = fx_span(y, src.height, dst.height);
    if (cols.empty() || rows.empty()) return;
    const int64_t step = 6553600 / percent;  // below 65536: at most one source pixel a step
    const uint64_t column_start = enlarged_start(step, src.width) + uint64_t(cols.first * step);
    const uint64_t row_start = enlarged_start(step, src.height);
    const int64_t count = cols.last - cols.first;
    const size_t row_bytes = size_t(count) * 3;
    int64_t previous_source_row = -1;
    for (int64_t r = rows.first; r < rows.last; ++r) {
        const int64_t source_row = int64_t((row_start + uint64_t(r * step)) >> 16);
        uint8_t* out = fx_pixel(dst, x + cols.first, y + r);
        if (source_row == previous_source_row) {
            std::memcpy(out, out - size_t(dst.width) * 3, row_bytes);
        } else {
            fx_sample_row(out, fx_pixel(src, 0, source_row), count, column_start, uint32_t(step));
        }
        previous_source_row = source_row;
    }
}

}  // namespace

void fx_zoom_draw(Picture& dst, int32_t x, int32_t y, const Picture& src, int32_t percent,
                  FxFill fill) {
    if (percent <= 0) return;
    if (percent == 100) {
        fx_copy_clipped(dst, x, y, src);
    } else if (percent < 100) {
        draw_shrunk(dst, x, y, src, percent, fill);
    } else {
        draw_enlarged(dst, x, y, src, percent);
    }
}

}  // namespace qln
