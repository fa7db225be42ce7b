#pragma once
// Effects that shift each row of a picture sideways: the sine wave and the
// random jitter.

#include <cstdint>

namespace qln {

struct Picture;
struct Random;

// The colour the uncovered pixels of a shifted row take, or wrapping: the
// row turns round, what leaves one edge coming in at the other.
struct RowFill {
    bool wrap = false;
    uint8_t blue = 0, green = 0, red = 0;
};

// Draws src at (x, y) of dst, row r shifted right by
// sine[(phase + r * step) mod 1024] * amplitude / 10000 (truncated; negative
// is to the left). sine holds 1024 entries. Writes only inside dst.
void fx_wave(Picture& dst, int32_t x, int32_t y, const Picture& src, const int16_t* sine,
             uint16_t phase, uint16_t step, uint16_t amplitude, const RowFill& fill);

// Draws src at (x, y) of dst, each row shifted by a random amount from
// -amplitude to amplitude, uncovered pixels black. Takes one random number
// per row of src, top to bottom, wherever the row lands.
void fx_jitter(Picture& dst, int32_t x, int32_t y, const Picture& src, uint16_t amplitude,
               Random& random);

}  // namespace qln
