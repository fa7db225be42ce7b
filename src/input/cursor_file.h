#pragma once
// The animated cursor file ("aptr"): a header with the hot spot and a
// 16-colour palette, N images of 32 x 32 pixels (4-bit colours stored bottom
// row first, then a 1-bit AND mask stored top row first) and three frame
// tables, one per cursor state (no button, left button, right button). All
// values are little-endian.

#include <cstddef>
#include <cstdint>

#include "engine/tracking_state.h"

namespace qln {

struct CursorImage;

// One entry of a frame table.
struct CursorFrame {
    uint16_t image = 0;
    uint16_t duration = 0;  // units of 10 ms; 0 stops the animation
};

// Checks the magic and that the header, every image and every frame table lie
// inside the size bytes. False for anything else: the file is refused whole,
// so nothing later reads past its end.
[[nodiscard]] bool cursor_layout_read(const uint8_t* data, size_t size, CursorLayout& out);

// Frame index of state; the caller keeps index below the state's frame count.
CursorFrame cursor_frame_at(const uint8_t* data, const CursorLayout& layout, int state,
                            uint16_t index);

// Builds image number image of a checked file: palette colours where the AND
// mask bit is 0, transparent where it is 1. False (out untouched) for an image
// number the file does not have.
[[nodiscard]] bool cursor_image_build(const uint8_t* data, const CursorLayout& layout,
                                      uint16_t image, CursorImage& out);

}  // namespace qln
