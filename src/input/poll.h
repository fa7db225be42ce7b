#pragma once
// The poll step: runs after every command and in every waiting loop.

#include "input/input_state.h"

namespace qln {

struct Engine;

// Takes a snapshot, runs the hit test, due interval callbacks, the cursor,
// animations and fades, and updates the screen. False when an interval
// callback failed or the program must end.
[[nodiscard]] bool poll(Engine& engine, InputState& snapshot);

// Waits for a click: 1 when it was made with the left button, 0 for the right
// button or a failed poll step.
int wait_click(Engine& engine, InputState& snapshot);

}  // namespace qln
