#pragma once
// The pause display: what the display bitmap shows while the program is in
// the background, and the copy of the screen that is put back when the
// program comes to the front again.
//
// Without a pause picture every pixel is darkened to a quarter, except where
// the pause mask (31 x 9 cells spelling the word, stretched over the whole
// bitmap by nearest neighbour) is set: there it is green (blue 0, green 192,
// red 0). With a pause picture (a data buffer named by pause_pic) the
// picture is stretched over the whole bitmap instead, blended by its alpha
// plane when it has one.
//
// Mask row 0 and the picture's first row go to the bitmap's first row, the
// bottom of the screen: the mask is stored upside down so that it reads
// upright, and a pause picture comes out upside down, as it always has (games
// may allow for it). Each picture row goes to its own bitmap row.
//
// An 8-bit display bitmap gets the same colours through the screen update's
// ordered dither.

#include <cstdint>
#include <vector>

namespace qln {

struct Engine;

inline constexpr int kPauseMaskColumns = 31, kPauseMaskRows = 9;

// The screen as it was when the pause display was painted.
struct PauseCopy {
    std::vector<uint8_t> pixels;
    bool held = false;
};

// True where the pause mask is set; row 0 is the bottom row.
bool pause_mask_cell(int column, int row);

// Keeps the display bitmap's bytes in copy and paints the pause display. The
// caller holds the screen lock and is the scenario thread (the pause picture
// is a data buffer). False, with nothing changed, when there is no bitmap or
// a copy is held already.
bool pause_display_show(Engine& engine, PauseCopy& copy);

// Puts the kept bytes back into the display bitmap and forgets them; the
// caller holds the screen lock. False when no copy was held (or the bitmap
// no longer has its size).
bool pause_display_restore(Engine& engine, PauseCopy& copy);

}  // namespace qln
