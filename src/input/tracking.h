#pragma once
// What the scenario thread alone knows about input: the hit test's highlight
// state, the window being dragged, the input-owning window, the button-cursor
// table, the cursor clip and the animated cursor. Nothing here is touched by
// the main thread.

#include <cstdint>

#include "base/rect.h"
#include "input/cursor.h"
#include "input/input_state.h"

namespace qln {

struct Engine;
struct Picture;

struct HighlightState {
    uint16_t last_window = 0;
    int32_t last_button_id = 0;
    uint8_t last_left = 0;
    Picture* saved = nullptr;  // the covered pixels, or none
    int32_t saved_x = 0, saved_y = 0;
    // The window picture the saved pixels came from: compared, never read,
    // so a window closed or resized since is never written with them.
    const Picture* saved_from = nullptr;
};

struct DragState {
    uint16_t window = 0;  // 0 = none
    uint16_t grab_x = 0, grab_y = 0;
};

// The pointer's confinement as cursor_clip set it, in client coordinates.
struct CursorClip {
    bool set = false;
    Rect rect;
};

struct InputTracking {
    HighlightState highlight;
    DragState drag;
    // While non-zero only this window is hit-tested (commands that wait for
    // an answer in one window set it).
    uint16_t input_owner = 0;
    uint8_t button_cursors[256] = {};  // mask id -> raw buffer with a cursor file
    CursorClip clip;
    CursorState cursor;
};

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
