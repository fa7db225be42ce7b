#pragma once
// Composition of one character cell into a picture for the text renderer:
// outline-font ink with character, background and shadow colours, and
// picture-font cells, tinted or in their own colours. Every write is cut to
// the picture, and the alpha plane takes the mask value wherever a pixel is
// written.

#include <cstdint>

#include "base/rect.h"
#include "graphics/picture.h"
#include "text/font.h"

namespace qln {

// Colours as blue, green, red bytes (the picture's own order).
struct TextColours {
    uint8_t ink[3] = {0, 0, 0};
    uint8_t back[3] = {0, 0, 0};
    uint8_t shadow[3] = {0, 0, 0};
};

// The picture a text is drawn into, with what every write needs.
struct TextCanvas {
    uint8_t* pixels = nullptr;
    uint8_t* alpha = nullptr;  // null: the alpha plane is left alone
    int32_t width = 0;
    int32_t height = 0;
    uint8_t mask = 0;     // written into alpha when alpha is set
    bool opaque = false;  // the background colour is drawn (tx_bcol >= 0)
};

TextCanvas text_canvas_of(Picture& picture, int32_t mask_value, bool opaque);

// Draws glyph at (x, y) with the shadow shifted by (sx, sy) (none when both
// are 0). Returns the changed area cut to the picture.
Rect text_compose_glyph(const TextCanvas& canvas, int64_t x, int64_t y, const GlyphInk& glyph,
                        const TextColours& colours, int32_t sx, int32_t sy);

// Draws the w x h block of sheet at (cell_x, cell_y), which must lie inside
// the sheet, at (x, y). tinted: the blue byte is the coverage of the
// character colour; otherwise the sheet's own pixels, weighted by its alpha
// plane when it has one.
Rect text_compose_cell(const TextCanvas& canvas, int64_t x, int64_t y, const Picture& sheet,
                       int32_t cell_x, int32_t cell_y, int32_t w, int32_t h, bool tinted,
                       const TextColours& colours);

}  // namespace qln
