#pragma once
// The scaled copy: a picture drawn at (x, y) scaled by a percentage with
// 16.16 nearest-neighbour steps, cut at the edges of the destination.

#include <cstdint>

#include "graphics/picture.h"

namespace qln {

// The scaled size and the part of it that was drawn (each at least 0).
struct FxScaled {
    int32_t width = 0, height = 0;
    int32_t drawn_width = 0, drawn_height = 0;
};

// Draws src scaled to (width x percent / 100) x (height x percent / 100) at
// (x, y) of dst. Every destination pixel (c, r) of the scaled picture shows
// source pixel ((c x step) >> 16, (r x step) >> 16) with step = 6553600 /
// percent, so the parts cut off at the left or top skip their source
// distance. percent <= 0 draws nothing.
FxScaled fx_scale_draw(Picture& dst, int32_t x, int32_t y, const Picture& src, int32_t percent);

}  // namespace qln
