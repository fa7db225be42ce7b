#pragma once
// What the scenario thread alone knows about input, held by the engine: the
// hit test's highlight state, the window being dragged, the input-owning
// window, the button-cursor table, the cursor clip and the animated cursor
// (with the layout of its checked cursor file). The main thread never
// touches it.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/rect.h"

namespace qln {

struct Picture;

inline constexpr size_t kCursorHeaderSize = 80;
inline constexpr size_t kCursorImageSize = 640;  // 512 bytes of pixels, 128 of mask
inline constexpr int kCursorStates = 3;

// Where things lie in a checked cursor file.
struct CursorLayout {
    uint16_t image_count = 0;
    int32_t hot_x = 0, hot_y = 0;
    uint16_t frame_count[kCursorStates] = {};
    size_t frame_table[kCursorStates] = {};  // byte offset of each state's table
};

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

}  // namespace qln
