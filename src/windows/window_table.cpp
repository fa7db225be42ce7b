// The window table and the layer list. Records are addressed by number and
// link to each other by number, so growing the table keeps every link valid.

#include <algorithm>
#include <cstring>

#include "base/rect.h"
#include "engine/engine.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "windows/window.h"

namespace qln {
namespace {

constexpr int32_t kMaxWindowNumber = 0xFFFF;

int32_t screen_width(const Engine& engine) {
    return engine.screen.screen ? engine.screen.screen->width : 0;
}
int32_t screen_height(const Engine& engine) {
    return engine.screen.screen ? engine.screen.screen->height : 0;
}

// Every window picture starts black: nothing uninitialised reaches the screen.
Picture* window_picture_new(int32_t width, int32_t height) {
    Picture* p = picture_create(static_cast<uint16_t>(width), static_cast<uint16_t>(height));
    if (p) std::memset(p->pixels.get(), 0, p->pixel_bytes());
    return p;
}

bool grow_to(Engine& engine, int32_t n) {
    std::vector<Window>& records = engine.windows.records;
    const size_t count = static_cast<size_t>(n) + 8;
    if (count <= records.size()) return true;
    try {
        records.resize(count);
    } catch (...) {
        return false;
    }
    return true;
}

void unlink(Engine& engine, Window& window) {
    std::vector<Window>& records = engine.windows.records;
    const auto valid = [&](int32_t k) { return k >= 0 && size_t(k) < records.size(); };
    if (valid(window.previous)) records[size_t(window.previous)].next = window.next;
    if (valid(window.next)) records[size_t(window.next)].previous = window.previous;
    window.previous = kNoWindow;
    window.next = kNoWindow;
}

}  // namespace

bool windows_init(Engine& engine) {
    return engine.windows.reset(engine.settings.window_count);
}

void windows_release(Engine& engine) {
    engine.windows.release();
}

Window* win_get(Engine& engine, int32_t n, bool must_be_open) {
    std::vector<Window>& records = engine.windows.records;
    if (n < 0 || size_t(n) >= records.size()) return nullptr;
    Window* w = &records[size_t(n)];
    if (must_be_open && !w->picture) return nullptr;
    return w;
}

int32_t win_number(Engine& engine, const Window& window) {
    const std::vector<Window>& records = engine.windows.records;
    if (records.empty()) return kNoWindow;
    const Window* first = records.data();
    if (&window < first || &window >= first + records.size()) return kNoWindow;
    return static_cast<int32_t>(&window - first);
}

bool win_open(Engine& engine, int32_t n, int32_t width, int32_t height, const Window& templ) {
    if (n <= 0 || n > kMaxWindowNumber) return false;
    if (width < 0 || width > 0xFFFF || height < 0 || height > 0xFFFF) return false;
    if (engine.windows.records.empty()) return false;  // no screen yet
    // The template may be a record of the table itself, which growing or
    // closing would change: keep it apart first.
    const Window source = templ;
    if (size_t(n) >= engine.windows.records.size() && !grow_to(engine, n)) return false;
    (void)win_close(engine, n);

    Window& w = engine.windows.records[size_t(n)];
    if (!held_room(engine, uint64_t(width) * height * 3)) return false;
    Picture* picture = window_picture_new(width, height);
    if (!picture) return false;
    w = source;
    w.picture = picture;
    w.Visible = 0;
    w.pinned = 0;
    w.previous = kNoWindow;
    w.next = kNoWindow;

    // In this order, so a window wider than the screen ends with a negative px.
    if (w.px < 0) w.px = 0;
    if (w.py < 0) w.py = 0;
    const int32_t max_x = screen_width(engine) - width;
    const int32_t max_y = screen_height(engine) - height;
    if (w.px > max_x) w.px = max_x;
    if (w.py > max_y) w.py = max_y;

    (void)win_paint(engine, w);
    return true;
}

bool win_close(Engine& engine, int32_t n) {
    if (n == 0) return true;
    Window* w = win_get(engine, n, true);
    if (!w) return false;
    (void)win_show(engine, n, false);
    picture_free(w->picture);
    w->picture = nullptr;
    return true;
}

bool win_show(Engine& engine, int32_t n, bool show) {
    if (n == 0) return true;
    Window* w = win_get(engine, n, true);
    if (!w) return false;
    mark_dirty(engine, w);
    w->Visible = show ? 1 : 0;
    if (show) {
        win_raise(engine, *w);
    } else {
        unlink(engine, *w);
        w->pinned = 0;
        mark_dirty(engine, w);
    }
    return true;
}

void win_raise(Engine& engine, Window& window) {
    const int32_t self = win_number(engine, window);
    if (self <= 0) return;  // window 0 is the bottom and stays there
    unlink(engine, window);
    std::vector<Window>& records = engine.windows.records;
    // Walk to the topmost window; the step limit guards against a broken list.
    int32_t top = 0;
    for (size_t steps = 0; steps < records.size(); ++steps) {
        const int32_t next = records[size_t(top)].next;
        if (next < 0 || size_t(next) >= records.size() || next == self) break;
        top = next;
    }
    records[size_t(top)].next = self;
    window.previous = top;
    window.next = kNoWindow;
    mark_dirty(engine, &window);
}

bool win_move(Engine& engine, int32_t n, int32_t x, int32_t y) {
    Window* w = win_get(engine, n, true);
    if (!w) return false;
    if (w->px == x && w->py == y) return true;
    mark_dirty(engine, w);
    w->px = std::min(std::max(x, 0), screen_width(engine) - w->sx());
    w->py = std::min(std::max(y, 0), screen_height(engine) - w->sy());
    mark_dirty(engine, w);
    return true;
}

bool win_resize(Engine& engine, Window& window, int32_t width, int32_t height, bool keep_position) {
    if (!window.picture) return false;
    if (width < 1) width = window.sx();
    if (height < 1) height = window.sy();
    width = std::min(width, 0xFFFF);
    height = std::min(height, 0xFFFF);
    mark_dirty(engine, &window);

    int32_t px = window.px, py = window.py;
    const int32_t sw = screen_width(engine), sh = screen_height(engine);
    if (int64_t(px) + width > sw) {
        if (keep_position) {
            width = std::max(sw - px, 1);
        } else {
            px = clamp_to_int32(int64_t(sw) - width);
        }
    }
    if (int64_t(py) + height > sh) {
        if (keep_position) {
            height = std::max(sh - py, 1);
        } else {
            py = clamp_to_int32(int64_t(sh) - height);
        }
    }

    // The new picture is made before the old one goes, so a failure leaves a
    // window that is still whole.
    const uint64_t old_bytes = window.picture ? window.picture->pixel_bytes() : 0;
    const uint64_t new_bytes = uint64_t(width) * height * 3;
    if (new_bytes > old_bytes && !held_room(engine, new_bytes - old_bytes)) return false;
    Picture* picture = window_picture_new(width, height);
    if (!picture) return false;
    picture_free(window.picture);
    window.picture = picture;
    window.px = px;
    window.py = py;
    const int32_t n = win_number(engine, window);
    (void)win_paint(engine, window);
    // The new area may reach past the old one; show it as well.
    if (Window* w = win_get(engine, n, true)) mark_dirty(engine, w);
    return true;
}

int32_t win_pin(Engine& engine, int32_t n, bool flag) {
    Window* w = win_get(engine, n, true);
    if (!w) return 1;
    if (!w->Visible) return 2;
    w->pinned = flag ? 1 : 0;
    return 0;
}

int32_t win_overlap(Engine& engine, const Window& window) {
    if (window.pinned) return 3;
    std::vector<Window>& records = engine.windows.records;
    const int64_t left = window.px, top = window.py;
    const int64_t right = left + window.sx(), bottom = top + window.sy();
    int32_t result = 0;
    int32_t k = window.next;
    for (size_t steps = 0; steps < records.size(); ++steps) {
        if (k < 0 || size_t(k) >= records.size()) break;
        const Window& above = records[size_t(k)];
        const int64_t l = above.px, t = above.py;
        const int64_t r = l + above.sx(), b = t + above.sy();
        if (std::max(left, l) < std::min(right, r) && std::max(top, t) < std::min(bottom, b)) {
            if (above.pinned) return 2;
            result = 1;
        }
        k = above.next;
    }
    return result;
}

}  // namespace qln
