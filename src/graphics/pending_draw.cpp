// Placeholder so everything links while drawing is written. Deleted by the
// change that implements it.
#include "graphics/draw.h"

namespace qln {
const uint8_t (&blend_table())[256][256] {
    static const uint8_t table[256][256] = {};
    return table;
}
void picture_draw(Picture*, int32_t, int32_t, int32_t, int32_t, const Picture*, int32_t, int32_t,
                  int32_t, int32_t, int32_t, int32_t, int32_t) {}
void picture_fill(Picture*, int32_t, int32_t, int32_t, int32_t, uint8_t, uint8_t, uint8_t, int32_t) {}
void picture_invert(Picture*, int32_t, int32_t, int32_t, int32_t, uint8_t, uint8_t, uint8_t) {}
void picture_crossfade(Picture*, int32_t, int32_t, const Picture*, const Picture*, int32_t) {}
std::vector<uint8_t> picture_to_packed_dib(const Picture&) { return {}; }
}  // namespace qln
