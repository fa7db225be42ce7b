#pragma once
// The screen side of graphics: the screen picture, the dirty rectangle, the
// display bitmap handed to the main window (engine.shared.display; its pixel
// block is sized for the 24-bit stride so it fits both formats), the content
// offset, the dither and sine tables, the palette, and the window operations
// that draw into a window's picture and mark what changed.

#include <cstdint>
#include <vector>

#include "base/rect.h"
#include "engine/screen_state.h"
#include "graphics/picture.h"

namespace qln {

struct Engine;
struct Window;

[[nodiscard]] bool screen_init(Engine& engine);
void display_setup(Engine& engine, int32_t bits_per_pixel, int32_t display_width,
                   int32_t display_height);
// 0 changed, 1 nothing to do, 2 the change failed.
int32_t display_mode_request(Engine& engine, bool full_screen);
void screen_shutdown(Engine& engine);

// No window: the whole screen becomes dirty. A hidden window: nothing. Else
// the window's screen rectangle, or rect (window coordinates) shifted and cut
// to it, is united into the dirty rectangle.
void mark_dirty(Engine& engine, const Window* window, const Rect* rect = nullptr);
// Composes the dirty rectangle in layer order and converts it into the
// display bitmap under the screen lock.
void screen_update(Engine& engine);

bool window_clip(Engine& engine, const Window& window, int32_t& x, int32_t& y, int32_t& w,
                 int32_t& h);
void window_fill(Engine& engine, Window& window, int32_t x, int32_t y, int32_t w, int32_t h,
                 int32_t colour_no, int32_t alpha);
void window_invert(Engine& engine, Window& window, int32_t x, int32_t y, int32_t w, int32_t h);
}  // namespace qln
