#include "commands/command_table.h"

#include <algorithm>

#include "engine/engine.h"
#include "scenario/interp.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "tables/text_expand.h"
#include "text/font.h"
#include "text/text_draw.h"
#include "windows/picture_targets.h"
#include "windows/window.h"

namespace qln {
namespace {

int32_t clamp32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

int32_t cmd_font_make(Engine& engine, const Args& args) {
    const font_make_operands op(args);
    const int32_t n = op.font_no();
    const char* face = op.face();
    const int32_t height = op.height(), weight = op.weight(), italic = op.italic();
    const int32_t advance = op.advance();
    const int result = font_create(engine, n, face, height, weight, italic != 0, advance);
    result_set(engine, 1, result == kFontCreated || result == kFontSubstitute ? 1 : 0);
    result_set(engine, 2, result == kFontCreated ? 1 : 0);
    return 0;
}

int32_t cmd_font_pic(Engine& engine, const Args& args) {
    const font_pic_operands op(args);
    const int32_t n = op.font_no(), buf_no = op.buf_no();
    const int32_t cell_width = op.cell_width(), cell_height = op.cell_height(),
                  per_row = op.cells_per_row();
    const int32_t advance = op.advance(), first = op.first_code(), last = op.last_code();
    const int32_t mode = op.mode();
    int32_t code = 0;
    Picture* sheet = target_buffer(engine, buf_no, code);
    if (!sheet) return code;
    if (!picfont_define(engine, n, buf_no, *sheet, uint16_t(cell_width), uint16_t(cell_height),
                        uint16_t(per_row), uint16_t(advance), uint16_t(first), uint16_t(last),
                        uint32_t(mode))) {
        return err_report(engine, -117, "font_no = %d", n);
    }
    return 0;
}

int32_t cmd_text_put(Engine& engine, const Args& args) {
    const text_put_operands op(args);
    const char* source = op.text();
    const int32_t target = op.target(), x = op.x(), y = op.y();
    const int32_t pitch = op.line_pitch(), font = op.font();
    const int32_t ink = op.character_colour(), back = op.background_colour(),
                  shadow = op.shadow_colour();
    const int32_t shadow_x = op.shadow_x(), shadow_y = op.shadow_y(), kind = op.kind();
    const int32_t mask_value = op.mask_value();

    int32_t code = 0;
    Window* window = nullptr;
    Picture* picture = nullptr;
    if (kind != 0) {
        picture = target_buffer(engine, target, code);
    } else if ((window = target_window(engine, target, code))) {
        picture = window->picture;
    }
    if (!picture) return code;
    // A font number that the settings' 16 bits cannot hold is no font either;
    // it is reported as it was given.
    if (font < 0 || font > 0xFFFF) return err_report(engine, -117, "font_no = %d", font);

    TextSettings s;
    s.tx_vt = pitch;
    s.tx_font = uint16_t(font);
    s.tx_ftype = 0;
    s.tx_ccol = ink;
    s.tx_bcol = back;
    s.tx_scol = shadow;
    s.tx_ssx = shadow_x;
    s.tx_ssy = shadow_y;
    s.tx_px = x;
    s.tx_py = y;
    if (window && target == 0) {
        s.tx_px = clamp32(int64_t(x) + engine.screen.content_x);
        s.tx_py = clamp32(int64_t(y) + engine.screen.content_y);
    }
    s.tx_ex = picture->width;
    s.tx_ey = picture->height;

    char expanded[kExpandBufferSize];
    text_expand(engine, source, expanded, sizeof expanded);
    const TextDrawResult drawn = text_draw(engine, *picture, expanded, s, mask_value);
    if (window) mark_dirty(engine, window, &drawn.changed);
    return drawn.status;
}

}  // namespace qln
