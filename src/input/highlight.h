#pragma once
// The button highlight, drawn into the hovered or pressed button's window
// picture by the hit test.

#include "input/input_state.h"

namespace qln {

struct Engine;
struct Region;

// Compares the snapshot's window, button id and left button with the last
// ones; on a change puts back the pixels the previous highlight covered and
// draws the new one for button (the hit region list entry, or nullptr).
void highlight_update(Engine& engine, const InputState& snap, const Region* button);

}  // namespace qln
