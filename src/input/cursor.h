#pragma once
// The animated mouse cursor: the default cursor file, the active cursor and
// its animation. Scenario thread only; the platform receives finished 32 x 32
// images.
//
// The active cursor's bytes are a private copy taken at activation, so
// freeing or rewriting the data buffer it came from can never leave the
// animation reading freed memory.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/tracking_state.h"
#include "input/cursor_file.h"

namespace qln {

struct Engine;

// Makes data (size bytes) the active cursor, or the default cursor for
// nullptr. Refused (false, the previous cursor stays) when there is no
// default cursor, when the data is the active cursor already (the default
// again, or the same buffer memory still holding the same bytes), or when it
// is no well-formed cursor file.
[[nodiscard]] bool cursor_activate(Engine& engine, const uint8_t* data, size_t size);

// Start-up: reads the default cursor file named by the settings through the
// file reader and activates it; a missing file leaves the host's arrow.
void cursor_init(Engine& engine);
// Exit: gives the host its arrow back and frees the cursor data.
void cursor_release(Engine& engine);

// The cursor's ticker (kTickerOrderCursor), added when the cursor first
// animates.
void cursor_ticker_add(Engine& engine);

}  // namespace qln
