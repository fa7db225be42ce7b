// The frame painter: fills a window's picture from its frame style (nine-cell
// frame, tiles or one colour) between two calls of its paint callback.

#include <algorithm>
#include <cstring>
#include <new>

#include "engine/engine.h"
#include "engine/reentry.h"
#include "scenario/interp.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "windows/window.h"

namespace qln {
namespace {

// Copies a w x h block with its alpha bytes when the source has an alpha plane
// (and the destination one to take them). Cut to both pictures, so a cell
// size larger than the frame picture reads nothing outside it.
void block_copy(Picture& dst, int32_t dx, int32_t dy, const Picture& src, int32_t sx, int32_t sy,
                int32_t w, int32_t h) {
    if (sx < 0) {
        w += sx;
        dx -= sx;
        sx = 0;
    }
    if (sy < 0) {
        h += sy;
        dy -= sy;
        sy = 0;
    }
    if (dx < 0) {
        w += dx;
        sx -= dx;
        dx = 0;
    }
    if (dy < 0) {
        h += dy;
        sy -= dy;
        dy = 0;
    }
    w = std::min({w, int32_t(src.width) - sx, int32_t(dst.width) - dx});
    h = std::min({h, int32_t(src.height) - sy, int32_t(dst.height) - dy});
    if (w < 1 || h < 1) return;
    const bool alpha = src.alpha && dst.alpha;
    for (int32_t row = 0; row < h; ++row) {
        const size_t s = size_t(sy + row) * src.width + size_t(sx);
        const size_t d = size_t(dy + row) * dst.width + size_t(dx);
        std::memmove(dst.pixels.get() + d * 3, src.pixels.get() + s * 3, size_t(w) * 3);
        if (alpha) std::memmove(dst.alpha.get() + d, src.alpha.get() + s, size_t(w));
    }
}

// A fresh alpha plane for the window picture, transparent until the frame
// covers it.
void alpha_plane_new(Picture& p) {
    p.alpha.reset(new (std::nothrow) uint8_t[p.alpha_bytes() + 1]());
}

void paint_callback(Engine& engine, int32_t n, int32_t phase) {
    Window* w = win_get(engine, n, true);
    if (!w || w->call_buf < 0) return;
    const int32_t values[7] = {phase, n, w->px, w->py, w->sx(), w->sy(), w->bt_num};
    for (uint32_t i = 0; i < 7; ++i) result_set(engine, i + 1, values[i]);
    (void)scn_invoke(engine, w->call_buf, w->entryl);
}

bool paint_nine_cell(Picture& pic, const Picture& frame, uint16_t type) {
    int32_t cw = type & 0xFF, ch = type & 0xFF;
    if (cw == 0) {
        cw = frame.width / 3;
        ch = frame.height / 3;
    }
    const int32_t sx = pic.width, sy = pic.height;
    if (cw < 1 || ch < 1 || sx < cw || sy < ch) return false;
    if (frame.alpha) alpha_plane_new(pic);
    const int32_t columns = (sx + cw - 1) / cw, rows = (sy + ch - 1) / ch;
    for (int32_t j = 0; j < rows; ++j) {
        const bool last_row = j == rows - 1 && j > 0;
        const int32_t dy = last_row ? sy - ch : ch * j;
        const int32_t src_y = j == 0 ? 0 : (last_row ? 2 * ch : ch);
        for (int32_t i = 0; i < columns; ++i) {
            const bool last_column = i == columns - 1 && i > 0;
            const int32_t dx = last_column ? sx - cw : cw * i;
            const int32_t src_x = i == 0 ? 0 : (last_column ? 2 * cw : cw);
            block_copy(pic, dx, dy, frame, src_x, src_y, cw, ch);
        }
    }
    return true;
}

void paint_tiled(Picture& pic, const Picture& frame) {
    const int32_t fw = frame.width, fh = frame.height;
    const int32_t sx = pic.width, sy = pic.height;
    if (fw < 1 || fh < 1) return;
    if (frame.alpha) alpha_plane_new(pic);
    const int32_t strip = std::min(fh, sy);
    for (int32_t x = 0; x < sx; x += fw)
        block_copy(pic, x, 0, frame, 0, 0, std::min(fw, sx - x), strip);
    // The rest repeats the window's own top strip downwards.
    for (int32_t y = fh; y < sy; y += fh)
        block_copy(pic, 0, y, pic, 0, 0, sx, std::min(fh, sy - y));
}

}  // namespace

bool win_paint(Engine& engine, Window& window) {
    const int32_t n = win_number(engine, window);
    if (n < 0 || !window.picture) return false;
    paint_callback(engine, n, 0);
    // The callback may have closed, resized or renumbered-by-growth the
    // window: look it up again.
    Window* w = win_get(engine, n, true);
    if (!w) return false;

    const Picture* frame = nullptr;
    if (w->pic_buf >= 0) {
        frame = buf_get_picture(engine, w->pic_buf);
        if (!frame) return false;
    }
    switch ((w->type >> 8) & 3) {
        case 1:
            if (frame && !paint_nine_cell(*w->picture, *frame, w->type)) return false;
            break;
        case 2:
            if (frame) paint_tiled(*w->picture, *frame);
            break;
        case 3:
            window_fill(engine, *w, 0, 0, w->sx(), w->sy(), w->type & 0xFF, -1);
            break;
        default:
            break;
    }
    paint_callback(engine, n, 1);
    return true;
}

}  // namespace qln
