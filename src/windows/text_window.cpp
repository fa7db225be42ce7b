// Text in windows: the window's text settings, clearing its text area and
// drawing into it with the content offset of window 0.

#include <algorithm>

#include "engine/engine.h"
#include "screen/screen.h"
#include "text/text_draw.h"
#include "windows/window.h"

namespace qln {
namespace {

int32_t clamp32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// The window's settings with the start moved by (dx, dy) and, for window 0,
// by the content offset; the limits stay where they are.
TextSettings shifted_settings(Engine& engine, const Window& window, int32_t dx, int32_t dy) {
    TextSettings s = text_settings_of(window);
    int64_t x = int64_t(s.tx_px) + dx, y = int64_t(s.tx_py) + dy;
    if (win_number(engine, window) == 0) {
        x += engine.screen.content_x;
        y += engine.screen.content_y;
    }
    s.tx_px = clamp32(x);
    s.tx_py = clamp32(y);
    return s;
}

}  // namespace

TextSettings text_settings_of(const Window& w) {
    TextSettings s;
    s.tx_vt = w.tx_vt;
    s.tx_font = w.tx_font;
    s.tx_ftype = w.tx_ftype;
    s.tx_ccol = w.tx_ccol;
    s.tx_bcol = w.tx_bcol;
    s.tx_scol = w.tx_scol;
    s.tx_ssx = w.tx_ssx;
    s.tx_ssy = w.tx_ssy;
    s.tx_px = w.tx_px;
    s.tx_py = w.tx_py;
    s.tx_ex = w.tx_ex;
    s.tx_ey = w.tx_ey;
    return s;
}

void win_text_clear(Engine& engine, Window& window) {
    if (window.tx_bcol >= 0) {
        window_fill(engine, window, window.tx_px, window.tx_py,
                    clamp32(int64_t(window.tx_ex) - window.tx_px),
                    clamp32(int64_t(window.tx_ey) - window.tx_py), window.tx_bcol, -1);
        return;
    }
    // The repaint erases the old text everywhere in the window, so all of it
    // must reach the screen, not only where the new text lands.
    const int32_t n = win_number(engine, window);
    win_paint(engine, window);
    // The frame painter's callback may have closed the window.
    if (Window* w = win_get(engine, n, true)) mark_dirty(engine, w);
}

bool win_text(Engine& engine, int32_t n, const char* text) {
    Window* window = win_get(engine, n, true);
    if (!window) return false;
    win_text_clear(engine, *window);
    // Look the window up again: the frame painter's callback runs scenario
    // code, which may close it.
    window = win_get(engine, n, true);
    if (!window) return false;
    const TextSettings s = shifted_settings(engine, *window, 0, 0);
    const TextDrawResult drawn = text_draw(engine, *window->picture, text, s, -1);
    mark_dirty(engine, window, &drawn.changed);
    win_show(engine, n, true);
    win_raise(engine, *window);
    return true;
}

bool win_text_at(Engine& engine, Window& window, int32_t dx, int32_t dy, const char* text,
                 int32_t mask_value) {
    if (!window.picture) return false;
    const TextSettings s = shifted_settings(engine, window, dx, dy);
    if (s.tx_px >= s.tx_ex || s.tx_py >= s.tx_ey) return true;
    const TextDrawResult drawn = text_draw(engine, *window.picture, text, s, mask_value);
    mark_dirty(engine, &window, &drawn.changed);
    return drawn.status == 0;
}

}  // namespace qln
