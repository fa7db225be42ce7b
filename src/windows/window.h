#pragma once
// The window table and the layer list: opening, closing, stacking, moving.

#include <cstdint>

#include "engine/window_state.h"

namespace qln {

struct Engine;

// Creates the table with the configured count; window 0 is set up by screen_init.
[[nodiscard]] bool windows_init(Engine& engine);
// Frees every window's picture and the table.
void windows_release(Engine& engine);

Window* win_get(Engine& engine, int32_t n, bool must_be_open);
int32_t win_number(Engine& engine, const Window& window);
bool win_open(Engine& engine, int32_t n, int32_t width, int32_t height, const Window& templ);
bool win_close(Engine& engine, int32_t n);
bool win_show(Engine& engine, int32_t n, bool show);
void win_raise(Engine& engine, Window& window);
bool win_move(Engine& engine, int32_t n, int32_t x, int32_t y);
bool win_resize(Engine& engine, Window& window, int32_t width, int32_t height, bool keep_position);
int32_t win_pin(Engine& engine, int32_t n, bool flag);  // 0 done, 1 no window, 2 hidden
int32_t win_overlap(Engine& engine, const Window& window);
bool win_paint(Engine& engine, Window& window);

}  // namespace qln
