#pragma once
// The poll step: runs after every command and in every waiting loop.

#include <cstdint>

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

// Runs every interval callback whose interval has passed at now, newest
// first, each to its end, with the callback bank of result registers visible.
// False when a callback could not start or stopped with an error; the result
// bank, string register 0, the current scenario and the inside flag are
// restored on failure too, so callbacks keep running at later polls.
[[nodiscard]] bool callbacks_run(Engine& engine, uint32_t now);

}  // namespace qln
