#pragma once
// The screen's record, held by the engine.
#include <cstdint>
#include <memory>
#include "base/rect.h"
#include "graphics/picture.h"
#include "platform/thread_shared.h"

namespace qln {

// The palette's reserved-entry flag (entries 226-245).
inline constexpr uint8_t kPaletteReserved = 0x01;

struct ScreenState {
    Picture* screen = nullptr;  // owned; the screen size
    Rect dirty;                 // union of changes since the last update
    bool eight_bit = false;
    int32_t content_x = 0, content_y = 0;  // added to window-0 coordinates
    int32_t view_width = 0, view_height = 0;
    int32_t startup_display_width = 0, startup_display_height = 0;
    int32_t display_width = 0, display_height = 0, display_bpp = 24;
    int16_t sine[1024] = {};
    uint8_t palette[256][4] = {};  // red, green, blue, flags
    // Client area of the main window, centred on the display.
    int32_t window_left = 0, window_top = 0;
    bool ready = false;
    // A dialog the engine draws itself, composed over every window; the
    // picture belongs to the dialog (none: nullptr).
    const Picture* overlay = nullptr;
    int32_t overlay_x = 0, overlay_y = 0;
    // The backend's pause display and clipboard calls (screen_hooks.h), made
    // by screen_init.
    std::unique_ptr<EngineHooks> hooks;
};

}  // namespace qln
