// Drawing an animation's current frame: the cell placed at the frame's
// offset, or scrolled inside its own rectangle with wrap-around.

#include <cstdint>

#include "animation/anim_internal.h"
#include "animation/animation.h"
#include "base/rect.h"
#include "effects/picture_fade.h"
#include "engine/engine.h"
#include "graphics/picture.h"
#include "tables/tables.h"

namespace qln {
namespace {

struct CellDraw {
    const AnimRecord& record;
    const Picture* sheet;
    int32_t sx, sy;  // the cell's corner on the sheet
};

// Draws the part (cx, cy, w, h) of the cell at (dx, dy) in the window.
void draw_part(Engine& engine, const CellDraw& c, int64_t dx, int64_t dy, int32_t cx, int32_t cy,
               int32_t w, int32_t h) {
    // A part of no size would read as "the whole sheet" to the drawing.
    if (w <= 0 || h <= 0) return;
    (void)window_draw_picture(engine, c.record.win_no, clamp_to_int32(dx), clamp_to_int32(dy), 0, 0,
                              c.sheet, c.sx + cx, c.sy + cy, w, h, 0, 255, 0, c.record.flags);
}

}  // namespace

FrameScript anim_script(Engine& engine, const AnimRecord& record) {
    const DataBuffer* slot = buf_entry(engine, record.script_buf);
    if (!slot || slot->type != BufType::Raw || !slot->raw) return {};
    return FrameScript{slot->raw.get(), slot->size};
}

void anim_draw(Engine& engine, const AnimRecord& record) {
    const FrameScript script = anim_script(engine, record);
    const ScriptFrame frame = script_frame(script, record.frame);
    if (frame.end()) return;
    const Picture* sheet = buf_get_picture(engine, record.sheet_buf);
    if (!sheet) return;
    const ScriptHeader header = script_header(script);
    const int32_t w = header.cell_width, h = header.cell_height;
    if (w == 0 || h == 0) return;
    const CellOrigin origin = cell_origin(header, frame.cell);
    // A cell wholly off the sheet draws nothing; one partly off is clipped.
    if (origin.x >= sheet->width || origin.y >= sheet->height) return;
    const CellDraw cell{record, sheet, int32_t(origin.x), int32_t(origin.y)};
    const int64_t x = record.x, y = record.y;
    if (header.mode == 0) {
        draw_part(engine, cell, x + frame.a, y + frame.b, 0, 0, w, h);
        return;
    }
    // Scrolled left by a and up by b: the cell's column a lands on the left
    // edge, and the columns before it follow on the right.
    const int32_t a = frame.a % w, b = frame.b % h;
    draw_part(engine, cell, x, y, a, b, w - a, h - b);
    draw_part(engine, cell, x + (w - a), y, 0, b, a, h - b);
    draw_part(engine, cell, x, y + (h - b), a, 0, w - a, b);
    draw_part(engine, cell, x + (w - a), y + (h - b), 0, 0, a, b);
}

}  // namespace qln
