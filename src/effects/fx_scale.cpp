#include "effects/fx_scale.h"

#include <cstring>

#include "base/rect.h"
#include "effects/fx_rows.h"

namespace qln {

FxScaled fx_scale_draw(Picture& dst, int32_t x, int32_t y, const Picture& src, int32_t percent) {
    FxScaled size;
    if (percent <= 0) return size;
    // The command's percent is at most 65535, so its sizes fit 32 bits.
    const int64_t width = int64_t(src.width) * percent / 100;
    const int64_t height = int64_t(src.height) * percent / 100;
    size.width = clamp_to_int32(width);
    size.height = clamp_to_int32(height);
    const FxSpan cols = fx_span(x, width, dst.width);
    const FxSpan rows = fx_span(y, height, dst.height);
    if (cols.empty() || rows.empty()) return size;
    size.drawn_width = int32_t(cols.last - cols.first);
    size.drawn_height = int32_t(rows.last - rows.first);

    const uint64_t step = uint64_t(6553600 / percent);
    const size_t row_bytes = size_t(size.drawn_width) * 3;
    int64_t previous_source_row = -1;
    for (int64_t r = rows.first; r < rows.last; ++r) {
        const int64_t source_row = int64_t((uint64_t(r) * step) >> 16);
        uint8_t* out = fx_pixel(dst, x + cols.first, y + r);
        if (source_row == previous_source_row) {
            // Enlarged: the row above showed the same source row.
            std::memcpy(out, out - size_t(dst.width) * 3, row_bytes);
        } else if (step == 65536) {
            std::memcpy(out, fx_pixel(src, cols.first, source_row), row_bytes);
        } else {
            fx_sample_row(out, fx_pixel(src, 0, source_row), size.drawn_width,
                          uint64_t(cols.first) * step, uint32_t(step));
        }
        previous_source_row = source_row;
    }
    return size;
}

}  // namespace qln
