#pragma once
// The mosaic: a picture drawn as blocks of one colour each.

#include <cstdint>

namespace qln {

struct Picture;

// Draws src at (x, y) of dst in blocks of block_w x block_h (a size of 0 or
// beyond the picture means the picture's size), each the colour of the source
// pixel at its centre. Writes only inside dst.
void fx_mosaic(Picture& dst, int32_t x, int32_t y, const Picture& src, int32_t block_w,
               int32_t block_h);

}  // namespace qln
