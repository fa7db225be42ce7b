#pragma once
// The dissolve: a noisy edge that wipes a picture into a window pass by
// pass, each pass shown and followed by a wait.

#include <cstdint>

#include "base/rect.h"

namespace qln {

struct Engine;
struct FxTarget;
struct Picture;
struct Random;

// The ways the edge moves; any other mode draws nothing.
enum : uint16_t {
    kDissolveDown = 0,      // top to bottom, a row a pass
    kDissolveDiagonal = 1,  // from the top-right corner, 15 diagonals a pass
    kDissolveRight = 2,     // left to right, a column a pass
};

// How many passes mode takes over src (0 for another mode).
int32_t fx_dissolve_passes(const Picture& src, uint16_t mode);

// Draws pass number pass of mode with an edge edge_width wide (0 means 64),
// src placed at (x, y) of dst; returns the rectangle of dst it touched.
// Takes its random numbers whether or not their pixels land inside dst, so
// the noise does not depend on where the picture stands. Writes only inside
// dst.
Rect fx_dissolve_pass(Picture& dst, int32_t x, int32_t y, const Picture& src, uint16_t mode,
                      uint16_t edge_width, int32_t pass, Random& random);

// Runs every pass of the dissolve of buffer buf_no into the target (window
// win_no): after each, the changed rows or columns are marked dirty, the
// screen is updated and the run waits delay x 10 ms through the poll step.
// A failed poll step draws the remaining passes at once and ends the effect;
// a callback that closes the window or frees the picture ends it where it is.
void fx_dissolve(Engine& engine, int32_t buf_no, int32_t win_no, const FxTarget& target,
                 uint16_t edge_width, uint16_t mode, uint16_t delay);

}  // namespace qln
