#pragma once
// A dialog the engine draws itself, in the game window, when the host cannot
// show its own: a caption bar, the text (Shift-JIS, lines broken at "\n" and
// wrapped at the dialog's width) and a row of buttons, centred on the screen
// and composed over every window. It uses the game's own gothic face, so
// Japanese text shows as in the game. Answering it (keys, clicks) is the run
// loop's business; this draws it and says where its buttons are.

#include <cstdint>
#include <string>
#include <vector>

#include "base/rect.h"
#include "engine/font_state.h"
#include "platform/platform.h"

namespace qln {

struct Engine;
struct Picture;

struct DialogButton {
    const char* label = "";  // Shift-JIS
    DialogAnswer answer = DialogAnswer::Ok;
};

struct FallbackDialog {
    // What to show, set before fallback_dialog_open.
    std::string caption;
    std::string text;
    std::vector<DialogButton> buttons;       // left to right, at least one
    size_t default_button = 0;               // focused at first, answered by Enter
    DialogAnswer cancel = DialogAnswer::Ok;  // answered by Escape

    // Set by fallback_dialog_open.
    size_t focus = 0;
    Rect frame;                      // on the screen
    std::vector<Rect> button_rects;  // on the screen
    Picture* picture = nullptr;
    FontRecord font;
    const Picture* overlay_below = nullptr;  // a dialog this one covers
    int32_t overlay_below_x = 0, overlay_below_y = 0;
};

// Lays the dialog out, draws it and puts it over the screen (marked dirty for
// the next screen update). False, and nothing shown, without a screen or the
// memory for the dialog's picture.
[[nodiscard]] bool fallback_dialog_open(Engine& engine, FallbackDialog& dialog);
// Draws the dialog again after its focus changed.
void fallback_dialog_redraw(Engine& engine, FallbackDialog& dialog);
// Takes the dialog off the screen (what it covered is shown again at the next
// update) and releases its picture and font.
void fallback_dialog_close(Engine& engine, FallbackDialog& dialog);
// The index of the button at screen position (x, y), or -1.
int32_t fallback_dialog_button_at(const FallbackDialog& dialog, int32_t x, int32_t y);

}  // namespace qln
