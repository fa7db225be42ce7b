#pragma once
// What the main thread and the scenario thread share: the display bitmap and
// the window's look under the screen lock, the live input under the input
// lock, and the few calls a backend makes back into the engine. The engine
// owns one record; a backend receives it when the window is made and knows
// nothing else of the engine.
//
// Lock order: the screen lock before the input lock.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/lock.h"

namespace qln {

// The bitmap the window shows: bottom-up rows of 24-bit blue-green-red
// pixels, or of 8-bit palette indices with the colour table below.
struct DisplayBitmap {
    int32_t width = 0, height = 0;
    int32_t bits_per_pixel = 24;
    uint32_t stride = 0;
    std::vector<uint8_t> pixels;
    uint8_t colours[256][4] = {};  // blue, green, red, 0
    uint32_t colours_used = 0;     // 256 in 8-bit output, else 0
};

// What the main window should look like for the current display.
enum class WindowStyle : uint8_t {
    Unchanged,  // the display is smaller than the screen: keep the last style
    Popup,      // the display has exactly the screen size: no caption or frame
    Framed,     // a larger display: caption and system menu
};

inline constexpr int kInputQueueSize = 4096;

// The pointer and buttons. The scenario thread copies it into a snapshot
// once per poll step; the hit-test fields are filled in snapshots only.
struct InputState {
    int32_t x = 0, y = 0;  // pointer in client coordinates
    uint8_t left = 0, right = 0, middle = 0;
    uint16_t window = 0;               // hit test, snapshots only
    int32_t button_id = 0;             // hit test, snapshots only
    uint16_t button_index = 0;         // hit test, snapshots only
    uint16_t last_character = 0xFFFF;  // since the previous snapshot; 0xFFFF none
};

// The keyboard rings and the key-state tables (now and at the previous
// message). Only the key_state command reads the key states, so they stay out
// of the snapshot that every command's poll step copies.
struct InputQueues {
    uint8_t key_state[256] = {};  // bit 7 = down, per virtual key
    uint8_t char_queue[kInputQueueSize] = {};
    uint16_t key_queue[kInputQueueSize] = {};
    uint8_t previous_key_state[256] = {};
    int32_t char_read = 0, char_write = 0, key_read = 0, key_write = 0;
};

// Modifier bits of a queued key code: (modifiers << 8) | virtual key.
inline constexpr uint16_t kKeyShift = 1, kKeyCtrl = 2, kKeyAlt = 4;

struct InputShared {
    Lock lock;  // the input lock
    InputState state;
    InputQueues queues;
};

// What a backend asks of the engine on the main thread.
class EngineHooks {
  public:
    virtual ~EngineHooks() = default;
    // The program went to the background: keep the display bitmap's bytes
    // and paint the pause display. Called on the scenario thread at its hold,
    // under the screen lock. False when nothing was painted.
    virtual bool pause_show() = 0;
    // The program came back: put the kept bytes back (under the screen
    // lock). False when nothing was kept.
    virtual bool pause_restore() = 0;
    // Alt+Print Screen: put the program's own picture on the clipboard.
    virtual void picture_to_clipboard() = 0;
};

struct ThreadShared {
    Lock screen_lock;  // guards display and window_style
    DisplayBitmap display;
    WindowStyle window_style = WindowStyle::Unchanged;
    // Set before the window is made and not changed while it lives.
    int32_t screen_width = 0, screen_height = 0;
    std::string title;  // Shift-JIS
    InputShared input;
    EngineHooks* hooks = nullptr;
};

}  // namespace qln
