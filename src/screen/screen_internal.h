#pragma once
// Helpers shared by the screen set-up, the display set-up and the update.

#include <cstdint>

namespace qln {

struct Engine;

// Row stride of the display bitmap: rows padded to 4 bytes.
uint32_t display_stride(int32_t width, int32_t bits_per_pixel);
// Content offset and view size from the view settings and the screen size.
void content_offset_compute(Engine& engine);

}  // namespace qln
