#pragma once
// The renderer's own glyph styles, applied to the ink of a plain glyph.

#include <cstdint>

namespace qln {

// Style 1 and 2 as they are; every other value is plain (0), which shares
// the plain glyph.
uint16_t glyph_style_normalise(uint16_t style);

// Widens the strokes of a cx x cy ink block by one pixel to the right: in
// bold every row, in slanted bold the upper half only left of the middle
// column and the lower half only right of it, which leans the glyph.
void glyph_style_apply(uint8_t* ink, int32_t cx, int32_t cy, uint16_t style);

}  // namespace qln
