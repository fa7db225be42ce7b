#pragma once
// The pattern mask: a picture copied only where a tile of a pattern is black.

#include <cstdint>

namespace qln {

struct Picture;

// Copies each pixel (u, v) of src to (x + u, y + v) of dst where the pattern
// pixel (u mod n, n * frame + v mod n) has a blue byte of 0; n is the
// pattern's width, and its tiles n x n stand in a column. A frame whose tile
// is not wholly inside the pattern, or a pattern of width 0, draws nothing.
// src may be dst itself: pixels are then read and written in order, row by
// row, left to right. Writes only inside dst.
void fx_pattern(Picture& dst, int32_t x, int32_t y, const Picture& src, const Picture& pattern,
                uint16_t frame);

}  // namespace qln
