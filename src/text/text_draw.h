#pragma once
// The text renderer: lays out Shift-JIS text with its "@" control sequences
// inside a text area of a picture and draws every character from an outline
// font or a picture font, with character, background and shadow colours.
// The whole text is drawn at once.

#include <cstdint>

#include "base/rect.h"

namespace qln {

struct Engine;
struct Picture;
struct Window;

// The twelve text settings, in the order a window record holds them.
struct TextSettings {
    int32_t tx_vt = 16;     // line pitch
    uint16_t tx_font = 0;   // font number
    uint16_t tx_ftype = 0;  // 1 bold, 2 slanted bold, else plain
    int32_t tx_ccol = 15;   // colour numbers; tx_bcol < 0 = transparent background
    int32_t tx_bcol = 0;
    int32_t tx_scol = 0;
    int32_t tx_ssx = 0;  // shadow offset; a shadow is drawn when either is non-zero
    int32_t tx_ssy = 0;
    int32_t tx_px = 0;  // left margin and start x
    int32_t tx_py = 0;  // start y
    int32_t tx_ex = 0;  // right limit (exclusive)
    int32_t tx_ey = 0;  // bottom limit (exclusive)
};

TextSettings text_settings_of(const Window& window);

struct TextDrawResult {
    Rect changed;        // in picture coordinates; empty when nothing was drawn
    int32_t status = 0;  // 0, or the error reported (-117 for a missing font)
};

// Draws text into picture. mask_value >= 0 is written into the picture's
// alpha plane (when it has one) at every pixel the text writes. A font
// number at or above the font count is reported through err_report and
// nothing is drawn.
TextDrawResult text_draw(Engine& engine, Picture& picture, const char* text,
                         const TextSettings& settings, int32_t mask_value);

// Clears the window's text area: filled with tx_bcol, or the whole window
// repainted by the frame painter when the background is transparent.
void win_text_clear(Engine& engine, Window& window);

// Clears the text area of open window n, draws text from the text origin,
// marks the change dirty, shows the window and raises it. False when the
// window is not open.
bool win_text(Engine& engine, int32_t n, const char* text);

// Draws text at (dx, dy) from the window's text origin without clearing,
// showing or raising it; nothing when the start lies at or past the limits.
// False when the renderer reported an error.
bool win_text_at(Engine& engine, Window& window, int32_t dx, int32_t dy, const char* text,
                 int32_t mask_value);

}  // namespace qln
