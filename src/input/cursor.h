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

#include "input/cursor_file.h"

namespace qln {

struct Engine;

enum class CursorSource : uint8_t { None, Default, Buffer };

struct CursorState {
    std::vector<uint8_t> default_data;  // the default cursor file; empty = none
    std::vector<uint8_t> active;        // copy of the active cursor file
    CursorLayout layout;                // of active
    CursorSource source = CursorSource::None;
    // Where the active bytes were copied from: compared, never read.
    const uint8_t* source_bytes = nullptr;
    uint8_t state = 0;  // 0 no button, 1 left, 2 right
    uint16_t frame = 0;
    uint32_t last_change = 0;
    uint32_t delay_ms = 0;
    bool enabled = false;
    bool shown = false;  // one of our images is the platform's cursor
};

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
