#pragma once
// The additive glow: a base picture with the blurred green of a light picture
// added to it, saturating at 255.

#include <cstdint>

#include "graphics/picture.h"

namespace qln {

// Where the base picture goes for a light picture at `at`: centred on the
// light's area (integer halves, truncated toward zero).
inline int64_t fx_glow_base_origin(int64_t at, int32_t base_size, int32_t light_size) {
    return at - (int64_t(base_size) - light_size) / 2;
}

// Draws base centred on the light's area (light at (x, y) of dst); then,
// unless divisor is 0, every position of the light's area grown by radius on
// each side gains g = (sum of the light's green bytes over the (2r + 1)^2
// square centred there, outside the light counting 0) / ((2r + 1)^2 /
// divisor) in each colour byte, saturating at 255. A normaliser of 0 leaves
// the base alone. Positions outside the base or dst are skipped. radius and
// divisor are the command's 16-bit values; a radius outside 0..65535 draws
// only the base.
void fx_glow_draw(Picture& dst, int32_t x, int32_t y, const Picture& light, const Picture& base,
                  int32_t radius, int32_t divisor);

}  // namespace qln
