#pragma once
// What the scenario thread alone knows about input: the hit test's highlight
// state, the window being dragged, the input-owning window, the button-cursor
// table, the cursor clip and the animated cursor. Nothing here is touched by
// the main thread.

#include <cstdint>

#include "base/rect.h"
#include "engine/tracking_state.h"
#include "input/cursor.h"
#include "input/input_state.h"

namespace qln {

struct Engine;
struct Picture;

// Poll-step parts, in the poll step's order.
// Moves the dragged window with the pointer, or ends the drag once the left
// button is up.
void drag_step(Engine& engine, InputState& snap);
// Finds the window, button or mask region under the pointer, raises a
// window on a new press, starts drags and updates the button highlight.
void hit_test(Engine& engine, InputState& snap);
bool drag_active(const Engine& engine);
// Advances the animated cursor.
void cursor_tick(Engine& engine, uint32_t now);

// Frees the highlight's saved pixels (engine destruction; no platform calls).
void input_tracking_release(Engine& engine);

}  // namespace qln
