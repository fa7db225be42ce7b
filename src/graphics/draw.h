#pragma once
// Drawing into pictures: the general picture_draw with clipping, stretching,
// opacity, alpha weighting, alpha copy and raster operations; fills, invert,
// cross-fade; and the packed bitmap made for the clipboard.
//
// Every blend in the engine is table[a][s] + table[255 - a][d] with
// table[a][x] = floor((a * x + 128) / 255); the two terms are rounded
// separately, so a = 255 gives the source and a = 0 the destination exactly.
// The fast paths compute exactly the same bytes.

#include <cstdint>
#include <vector>

#include "graphics/picture.h"

namespace qln {

// The blend table, 256 x 256, built once and never changed.
const uint8_t (&blend_table())[256][256];

// Draws src (sx, sy, sw, sh) into dst at (dx, dy); stretched when (dw, dh)
// is non-zero and differs from (sw, sh). opacity uses its low 8 bits; rop 0-5
// (others act as 0); flags by decimal digits: units = alpha weighting, tens =
// copy alpha, >= 100 = no colour.
void picture_draw(Picture* dst, int32_t dx, int32_t dy, int32_t dw, int32_t dh, const Picture* src,
                  int32_t sx, int32_t sy, int32_t sw, int32_t sh, int32_t opacity, int32_t rop,
                  int32_t flags);

// Fills a rectangle (clipped to the picture, so a rectangle outside it writes
// nothing); alpha >= 0 also sets the alpha plane when there is one.
void picture_fill(Picture* p, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t r, uint8_t g,
                  uint8_t b, int32_t alpha);
// XORs the blue, green and red bytes of a rectangle (clipped to the picture).
void picture_invert(Picture* p, int32_t x, int32_t y, int32_t w, int32_t h, uint8_t b, uint8_t g,
                    uint8_t r);
// Writes table[level][to] + table[255 - level][from] at (x, y) in dst,
// clipped; from and to have the same size.
void picture_crossfade(Picture* dst, int32_t x, int32_t y, const Picture* from, const Picture* to,
                       int32_t level);
// A 40-byte bottom-up 24-bit bitmap-info header and the rows padded to 4 bytes.
std::vector<uint8_t> picture_to_packed_dib(const Picture& p);

}  // namespace qln
