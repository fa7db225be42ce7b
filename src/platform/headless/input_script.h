#pragma once
// Scripted input for headless runs: one event a line, "TIME EVENT ARGS",
// blank lines and "#" comments ignored. TIME is a tick count in milliseconds.
//
//   move X Y                  pointer to client position (X, Y)
//   down left|right|middle    press a mouse button
//   up left|right|middle      release it
//   click left|right|middle X Y   move and press at TIME, release at TIME + 50
//   char CODE                 a character message (a code above 0xFF is a
//                             double-byte character: lead byte, then trail byte)
//   key VK                    key pressed at TIME, released at TIME + 50
//   keydown VK, keyup VK      one key change
//   focus lost|gained         the program goes to the background or comes back
//   minimize, restore         the window is minimised or restored
//   close                     the window is closed
//
// Numbers are decimal; CODE and VK may also be hexadecimal with "0x".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

enum class ScriptEventKind : uint8_t {
    Move,
    ButtonDown,
    ButtonUp,
    Char,
    KeyDown,
    KeyUp,
    FocusLost,
    FocusGained,
    Minimize,
    Restore,
    Close,
};

enum class MouseButton : uint8_t { Left, Right, Middle };

// One window message the script delivers. Compound lines (click, key, a
// double-byte char) become several events; a release may wrap past 2^32.
struct ScriptEvent {
    uint32_t time = 0;
    ScriptEventKind kind = ScriptEventKind::Move;
    int32_t x = 0, y = 0;                    // Move
    MouseButton button = MouseButton::Left;  // ButtonDown, ButtonUp
    uint8_t code = 0;                        // Char: the byte; KeyDown, KeyUp: the key
    uint32_t line = 0;                       // source line, from 1
};

struct ScriptError {
    uint32_t line = 0;
    std::string reason;
};

// Parses a whole script; events come out in line order. False with the first
// error's line and reason.
[[nodiscard]] bool input_script_parse(std::string_view text, std::vector<ScriptEvent>& events,
                                      ScriptError& error);

}  // namespace qln
