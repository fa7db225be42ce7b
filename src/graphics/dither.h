#pragma once
// The ordered dither of 8-bit output onto the 6 x 6 x 6 colour cube of the
// palette (entries 10 to 225). The screen update and 8-bit bitmap files use
// the same matrix and the same rounding.

#include <cstdint>

namespace qln {

inline constexpr uint8_t kDitherMatrix[4][4] = {
    {0, 27, 7, 33}, {40, 13, 47, 20}, {10, 37, 3, 30}, {50, 23, 43, 17}};

namespace detail {
// Cube level of component + dither value (0 to 305), so a pixel costs three
// lookups instead of three divisions.
struct CubeLevels {
    uint8_t level[307];
    constexpr CubeLevels() : level{} {
        for (int i = 0; i < 307; ++i) level[i] = static_cast<uint8_t>(i / 51);
    }
};
inline constexpr CubeLevels kCubeLevels;
}  // namespace detail

// Palette index for a colour and a dither value d (0 to 50).
inline uint8_t dither_index(uint8_t red, uint8_t green, uint8_t blue, uint8_t d) {
    const uint8_t* level = detail::kCubeLevels.level;
    return static_cast<uint8_t>(10 + 36 * level[red + d] + 6 * level[green + d] + level[blue + d]);
}

}  // namespace qln
