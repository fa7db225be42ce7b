#include "commands/command_table.h"

#include <algorithm>
#include <cstring>

#include "effects/picture_fade.h"
#include "engine/engine.h"
#include "graphics/draw.h"
#include "scenario/interp.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "windows/picture_targets.h"
#include "windows/window.h"

namespace qln {
namespace {

// Two corners in either order as x, y, width, height. Coordinates far outside
// any picture are cut to a band that still covers every picture and content
// offset, so the sizes fit 32 bits and later arithmetic cannot overflow.
struct Span {
    int32_t x = 0, y = 0, w = 0, h = 0;
    bool empty = true;
};

Span corners(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    constexpr int64_t kBand = int64_t(1) << 24;
    const int64_t left = std::max<int64_t>(std::min(x1, x2), -kBand);
    const int64_t right = std::min<int64_t>(std::max(x1, x2), kBand);
    const int64_t top = std::max<int64_t>(std::min(y1, y2), -kBand);
    const int64_t bottom = std::min<int64_t>(std::max(y1, y2), kBand);
    Span s;
    if (right < left || bottom < top) return s;
    s = {int32_t(left), int32_t(top), int32_t(right - left + 1), int32_t(bottom - top + 1), false};
    return s;
}

// The span cut to the picture: the fill and invert of picture buffers must
// never write outside it.
bool clip_to(const Picture& p, Span& s) {
    if (s.empty) return false;
    const int32_t left = std::max(s.x, 0), top = std::max(s.y, 0);
    const int32_t right = std::min(s.x + s.w, int32_t(p.width));
    const int32_t bottom = std::min(s.y + s.h, int32_t(p.height));
    if (right <= left || bottom <= top) return false;
    s = {left, top, right - left, bottom - top, false};
    return true;
}

int32_t clamp32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

int32_t cmd_col_set(Engine& engine, const Args& args) {
    const col_set_operands op(args);
    const int32_t n = op.colour_no();
    const int32_t blue = op.blue(), red = op.red(), green = op.green();
    colour_set(engine, n, uint8_t(red), uint8_t(green), uint8_t(blue));
    return 0;
}

int32_t cmd_col_get(Engine& engine, const Args& args) {
    const col_get_operands op(args);
    uint8_t red = 0, green = 0, blue = 0;
    // A number outside the table reads as black, like every soft lookup.
    if (!colour_get(engine, op.colour_no(), red, green, blue)) red = green = blue = 0;
    result_set(engine, 1, blue);
    result_set(engine, 2, red);
    result_set(engine, 3, green);
    result_set(engine, 4, blue * 65536 + green * 256 + red);
    return 0;
}

int32_t cmd_win_load(Engine& engine, const Args& args) {
    const win_load_operands op(args);
    const char* name = op.name();
    const int32_t entry = op.entry(), win_no = op.win_no(), x = op.x(), y = op.y();
    const int32_t fade_ms = op.fade_ms(), dir = op.directory(), opacity = op.opacity();
    const int32_t rop = op.rop(), flags = op.flags();
    int32_t code = 0;
    PicturePtr picture = picture_file_load(engine, name, entry, dir, code);
    if (!picture) return code;
    if (!window_draw_picture(engine, win_no, x, y, 0, 0, picture.get(), 0, 0, 0, 0, fade_ms,
                             opacity, rop, flags)) {
        return err_report(engine, -106, "win_no = %d", win_no);
    }
    return 0;
}

int32_t cmd_pic_invert(Engine& engine, const Args& args) {
    const pic_invert_operands op(args);
    const int32_t target = op.target(), kind = op.kind();
    Span s = corners(op.x1(), op.y1(), op.x2(), op.y2());
    int32_t code = 0;
    if (kind != 0) {
        Picture* picture = target_buffer(engine, target, code);
        if (!picture) return code;
        if (clip_to(*picture, s)) picture_invert(picture, s.x, s.y, s.w, s.h, 255, 255, 255);
        return 0;
    }
    Window* window = target_window(engine, target, code);
    if (!window) return code;
    if (!s.empty) window_invert(engine, *window, s.x, s.y, s.w, s.h);
    return 0;
}

int32_t cmd_pic_fill(Engine& engine, const Args& args) {
    const pic_fill_operands op(args);
    const int32_t target = op.target(), colour = op.colour(), kind = op.kind();
    const int32_t alpha = op.alpha();
    Span s = corners(op.x1(), op.y1(), op.x2(), op.y2());
    int32_t code = 0;
    if (kind != 0) {
        Picture* picture = target_buffer(engine, target, code);
        if (!picture) return code;
        uint8_t red = 0, green = 0, blue = 0;
        if (!colour_get(engine, colour, red, green, blue)) red = green = blue = 0;
        if (clip_to(*picture, s))
            picture_fill(picture, s.x, s.y, s.w, s.h, red, green, blue, alpha);
        return 0;
    }
    Window* window = target_window(engine, target, code);
    if (!window) return code;
    if (!s.empty) window_fill(engine, *window, s.x, s.y, s.w, s.h, colour, alpha);
    return 0;
}

int32_t cmd_buf_grab(Engine& engine, const Args& args) {
    const buf_grab_operands op(args);
    const int32_t buf_no = op.buf_no(), win_no = op.win_no(), x = op.x(), y = op.y();
    const int32_t width = op.width(), height = op.height();
    int32_t code = 0;
    Window* window = target_window(engine, win_no, code);
    if (!window) return code;
    // A picture's sides are 16-bit; a size that does not fit makes no buffer.
    Picture* grabbed = nullptr;
    if (width >= 0 && width <= 0xFFFF && height >= 0 && height <= 0xFFFF) {
        grabbed = buf_new_picture(engine, buf_no, uint16_t(width), uint16_t(height));
    }
    if (!grabbed) return err_report(engine, -112, "buf_no = %d", buf_no);
    // Parts of the rectangle outside the window come out black, never as
    // whatever the new block held.
    std::memset(grabbed->pixels.get(), 0, grabbed->pixel_bytes());
    picture_draw(grabbed, 0, 0, 0, 0, window->picture, x, y, width, height, 255, 0, 0);
    return 0;
}

int32_t cmd_win_draw_buf(Engine& engine, const Args& args) {
    const win_draw_buf_operands op(args);
    const int32_t buf_no = op.buf_no(), win_no = op.win_no(), x = op.x(), y = op.y();
    const int32_t fade_ms = op.fade_ms(), opacity = op.opacity(), rop = op.rop();
    const int32_t flags = op.flags();
    int32_t code = 0;
    const Picture* picture = target_buffer(engine, buf_no, code);
    if (!picture) return code;
    if (!window_draw_picture(engine, win_no, x, y, 0, 0, picture, 0, 0, 0, 0, fade_ms, opacity, rop,
                             flags)) {
        return err_report(engine, -106, "win_no = %d", win_no);
    }
    return 0;
}

int32_t cmd_buf_cells(Engine& engine, const Args& args) {
    const buf_cells_operands op(args);
    const int32_t buf_no = op.buf_no();
    const int32_t width = op.cell_width(), height = op.cell_height(), per_row = op.cells_per_row();
    int32_t code = 0;
    Picture* picture = target_buffer(engine, buf_no, code);
    if (!picture) return code;
    picture->cell[0] = uint16_t(width);
    picture->cell[1] = uint16_t(height);
    picture->cell[2] = uint16_t(per_row);
    return 0;
}

int32_t cmd_win_draw_cell(Engine& engine, const Args& args) {
    const win_draw_cell_operands op(args);
    const int32_t buf_no = op.buf_no(), cell = op.cell(), win_no = op.win_no();
    const int32_t x = op.x(), y = op.y(), opacity = op.opacity(), rop = op.rop();
    const int32_t flags = op.flags();
    int32_t code = 0;
    const Picture* picture = target_buffer(engine, buf_no, code);
    if (!picture) return code;
    const int32_t width = picture->cell[0], height = picture->cell[1], per_row = picture->cell[2];
    if (width == 0 || height == 0 || per_row == 0) {
        return err_report(engine, -113, "buf_no = %d", buf_no);
    }
    // A cell number far past the picture gives a source outside it, which
    // draws nothing.
    const int32_t sx = clamp32(int64_t(cell % per_row) * width);
    const int32_t sy = clamp32(int64_t(cell / per_row) * height);
    if (!window_draw_picture(engine, win_no, x, y, 0, 0, picture, sx, sy, width, height, 0, opacity,
                             rop, flags)) {
        return err_report(engine, -106, "win_no = %d", win_no);
    }
    return 0;
}

int32_t cmd_win_pixel(Engine& engine, const Args& args) {
    const win_pixel_operands op(args);
    const int32_t win_no = op.win_no(), x = op.x(), y = op.y();
    int32_t code = 0;
    const Window* window = target_window(engine, win_no, code);
    if (!window) return code;
    const Picture& p = *window->picture;
    int32_t blue = -1, red = -1, green = -1;
    if (x >= 0 && x < p.width && y >= 0 && y < p.height) {
        const uint8_t* px = p.pixels.get() + (size_t(y) * p.width + size_t(x)) * 3;
        blue = px[0];
        green = px[1];
        red = px[2];
    }
    result_set(engine, 1, blue);
    result_set(engine, 2, red);
    result_set(engine, 3, green);
    return 0;
}

int32_t cmd_pic_draw(Engine& engine, const Args& args) {
    const pic_draw_operands op(args);
    const int32_t mode = op.mode(), source = op.source(), destination = op.destination();
    const int32_t dx = op.dx(), dy = op.dy(), dw = op.dw(), dh = op.dh();
    const int32_t sx = op.sx(), sy = op.sy(), sw = op.sw(), sh = op.sh();
    const int32_t fade_ms = op.fade_ms(), opacity = op.opacity(), rop = op.rop();
    const int32_t flags = op.flags();
    const bool from_window = mode == 0 || mode == 1;
    const bool to_window = mode == 0 || mode == 2;
    int32_t code = 0;
    const Picture* src = target_picture(engine, source, from_window, code);
    if (!src) return code;
    if (to_window) {
        if (!window_draw_picture(engine, destination, dx, dy, dw, dh, src, sx, sy, sw, sh, fade_ms,
                                 opacity, rop, flags)) {
            return err_report(engine, -106, "win_no = %d", destination);
        }
        return 0;
    }
    Picture* dst = target_buffer(engine, destination, code);
    if (!dst) return code;
    picture_draw(dst, dx, dy, dw, dh, src, sx, sy, sw, sh, opacity, rop, flags);
    return 0;
}

int32_t cmd_pause_pic(Engine& engine, const Args& args) {
    const pause_pic_operands op(args);
    const int32_t buf_no = op.buf_no();
    if (buf_no == -1) {
        engine.shell.pause_picture = -1;
        result_set(engine, 1, 0);
        return 0;
    }
    if (buf_no < 0 || size_t(buf_no) >= engine.tables.buffers.size()) {
        return err_report(engine, -117, "buf_no = %d", buf_no);
    }
    if (!buf_get_picture(engine, buf_no)) {
        result_set(engine, 1, 1);
        return 0;
    }
    engine.shell.pause_picture = buf_no;
    result_set(engine, 1, 0);
    return 0;
}

}  // namespace qln
