#pragma once
// The block spread: a picture cut into square blocks whose centres move away
// from or towards the picture's centre, drawn over a filled area.

#include <cstdint>

#include "effects/fx_rows.h"
#include "graphics/picture.h"

namespace qln {

// Fills the area (x, y, area_w, area_h) of dst, then draws src cut into
// block x block pieces from its top-left corner (the last ones in a row or
// column only as wide or high as what is left of the picture). The piece at
// (bx, by) goes to area position ((bx + b/2 - w/2) x scale / 100 - b/2 +
// (area_w - w)/2 + w/2, likewise with y), divisions truncating toward zero,
// clipped to the area and to dst. A block size of 0 or less draws nothing
// beyond the fill.
void fx_scatter_draw(Picture& dst, int32_t x, int32_t y, const Picture& src, int32_t area_w,
                     int32_t area_h, int32_t scale, int32_t block, FxFill fill);

}  // namespace qln
