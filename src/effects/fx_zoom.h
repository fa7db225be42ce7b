#pragma once
// The centred zoom: a picture shrunk inside its own area on a fill colour, or
// its central part enlarged to fill the area.

#include <cstdint>

#include "effects/fx_rows.h"
#include "graphics/picture.h"

namespace qln {

// Draws src zoomed by percent into the area of src's size at (x, y) of dst,
// cut at dst's edges:
// - 0 (or less) draws nothing; 100 copies;
// - 1 to 99 fills the area with fill and draws the picture shrunk to
//   (width x percent / 100) x (height x percent / 100) at its centre;
// - above 100 enlarges the centre of the picture over the whole area.
void fx_zoom_draw(Picture& dst, int32_t x, int32_t y, const Picture& src, int32_t percent,
                  FxFill fill);

}  // namespace qln
