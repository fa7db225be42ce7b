#pragma once
// A picture drawn into a window with a timed fade-in.

#include <cstdint>

namespace qln {

struct Engine;
struct Picture;

// Draws src into window win_no, fading it in over fade_ms (each frame runs the
// poll step). False only when the window does not exist.
bool window_draw_picture(Engine& engine, int32_t win_no, int32_t dx, int32_t dy, int32_t dw,
                         int32_t dh, const Picture* src, int32_t sx, int32_t sy, int32_t sw,
                         int32_t sh, int32_t fade_ms, int32_t opacity, int32_t rop, int32_t flags);

}  // namespace qln
