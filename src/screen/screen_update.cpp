// The dirty rectangle and the screen update: compose the windows in layer
// order into the screen picture, then convert the changed part into the
// display bitmap under the screen lock.

#include <algorithm>
#include <cstring>

#include "graphics/draw.h"
#include "screen/screen.h"

#include "engine/engine.h"
#include "engine/window_state.h"
#include "graphics/dither.h"
#include "platform/platform.h"

namespace qln {
namespace {

Rect window_screen_rect(const Window& w) {
    return rect_of(w.px, w.py, w.sx(), w.sy());
}

void compose(Engine& engine, const Rect& area) {
    Picture* screen = engine.screen.screen;
    std::vector<Window>& records = engine.windows.records;
    int32_t k = 0;
    // The step limit guards against a broken list.
    for (size_t steps = 0; steps < records.size(); ++steps) {
        if (k < 0 || size_t(k) >= records.size()) break;
        const Window& w = records[size_t(k)];
        if (w.picture) {
            const Rect r = rect_intersect(window_screen_rect(w), area);
            if (!r.empty()) {
                picture_draw(screen, r.left, r.top, 0, 0, w.picture, r.left - w.px, r.top - w.py,
                             r.width(), r.height(), w.transp, 0, 1);
            }
        }
        k = w.next;
    }
    if (const Picture* top = engine.screen.overlay) {
        const int32_t x = engine.screen.overlay_x, y = engine.screen.overlay_y;
        const Rect r = rect_intersect(rect_of(x, y, top->width, top->height), area);
        if (!r.empty()) {
            picture_draw(screen, r.left, r.top, 0, 0, top, r.left - x, r.top - y, r.width(),
                         r.height(), 255, 0, 0);
        }
    }
}

void convert_24(const Picture& screen, DisplayBitmap& d, const Rect& r) {
    const size_t bytes = size_t(r.width()) * 3;
    for (int32_t y = r.top; y < r.bottom; ++y) {
        const uint8_t* src = screen.pixels.get() + (size_t(y) * screen.width + r.left) * 3;
        uint8_t* dst = d.pixels.data() + size_t(d.height - 1 - y) * d.stride + size_t(r.left) * 3;
        std::memcpy(dst, src, bytes);
    }
}

void convert_8(const ScreenState& s, DisplayBitmap& d, const Rect& r) {
    const Picture& screen = *s.screen;
    for (int32_t y = r.top; y < r.bottom; ++y) {
        const uint8_t* src = screen.pixels.get() + (size_t(y) * screen.width + r.left) * 3;
        uint8_t* dst = d.pixels.data() + size_t(d.height - 1 - y) * d.stride + size_t(r.left);
        const uint8_t* m = kDitherMatrix[y & 3];
        for (int32_t x = r.left; x < r.right; ++x, src += 3) {
            const uint8_t dv = m[x & 3];
            *dst++ = dither_index(src[2], src[1], src[0], dv);
        }
    }
}

}  // namespace

void mark_dirty(Engine& engine, const Window* window, const Rect* rect) {
    ScreenState& s = engine.screen;
    if (!window) {
        s.dirty = s.screen ? Rect{0, 0, s.screen->width, s.screen->height} : Rect{};
        return;
    }
    if (!window->Visible) return;
    Rect area = window_screen_rect(*window);
    if (rect) {
        const Rect shifted{clamp_to_int32(int64_t(rect->left) + window->px),
                           clamp_to_int32(int64_t(rect->top) + window->py),
                           clamp_to_int32(int64_t(rect->right) + window->px),
                           clamp_to_int32(int64_t(rect->bottom) + window->py)};
        area = rect_intersect(shifted, area);
    }
    s.dirty = rect_union(s.dirty, area);
}

void screen_update(Engine& engine) {
    ScreenState& s = engine.screen;
    if (!s.screen) return;
    const Rect area = rect_intersect(s.dirty, Rect{0, 0, s.screen->width, s.screen->height});
    s.dirty = Rect{};
    if (area.empty()) return;

    compose(engine, area);
    {
        LockHold lock(engine.shared.screen_lock);
        DisplayBitmap& d = engine.shared.display;
        // The bitmap always has the screen's size; check so a torn-down or
        // mismatched bitmap is never written past its end.
        const bool fits = d.width == s.screen->width && d.height == s.screen->height &&
                          d.pixels.size() >= size_t(d.stride) * size_t(d.height);
        if (fits) {
            if (d.bits_per_pixel == 8) {
                convert_8(s, d, area);
            } else {
                convert_24(*s.screen, d, area);
            }
        }
    }
    engine.platform.display->display_invalidate(area);
}

}  // namespace qln
