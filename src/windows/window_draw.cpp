// Drawing into a window's picture: clip, fill and invert. Each marks the
// changed area dirty.

#include <algorithm>
#include <cstring>

#include "base/rect.h"
#include "engine/engine.h"
#include "graphics/draw.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "windows/window.h"

namespace qln {
namespace {

bool is_screen_window(Engine& engine, const Window& window) {
    return win_number(engine, window) == 0;
}

}  // namespace

bool window_clip(Engine& engine, const Window& window, int32_t& x, int32_t& y, int32_t& w,
                 int32_t& h) {
    int64_t cx = x, cy = y, cw = w, ch = h;
    if (is_screen_window(engine, window)) {
        cx += engine.screen.content_x;
        cy += engine.screen.content_y;
    }
    if (cx < 0) {
        cw += cx;
        cx = 0;
    }
    if (cy < 0) {
        ch += cy;
        cy = 0;
    }
    cw = std::min<int64_t>(cw, int64_t(window.sx()) - cx);
    ch = std::min<int64_t>(ch, int64_t(window.sy()) - cy);
    x = clamp_to_int32(cx);
    y = clamp_to_int32(cy);
    w = clamp_to_int32(cw);
    h = clamp_to_int32(ch);
    return cw >= 1 && ch >= 1;
}

void window_fill(Engine& engine, Window& window, int32_t x, int32_t y, int32_t w, int32_t h,
                 int32_t colour_no, int32_t alpha) {
    if (!window.picture || !window_clip(engine, window, x, y, w, h)) return;
    uint8_t r = 0, g = 0, b = 0;
    if (!colour_get(engine, colour_no, r, g, b)) r = g = b = 0;
    picture_fill(window.picture, x, y, w, h, r, g, b, alpha);
    const Rect changed = rect_of(x, y, w, h);
    mark_dirty(engine, &window, &changed);
}

void window_invert(Engine& engine, Window& window, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (!window.picture || !window_clip(engine, window, x, y, w, h)) return;
    picture_invert(window.picture, x, y, w, h, 255, 255, 255);
    const Rect changed = rect_of(x, y, w, h);
    mark_dirty(engine, &window, &changed);
}

}  // namespace qln
