// The hit test and window dragging: which window, button or mask region lies
// under the pointer of a snapshot. Runs in every poll step on the scenario
// thread; it reads the window table as it is at that moment, so every number
// found in a record is checked before use.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/engine.h"
#include "input/cursor.h"
#include "input/highlight.h"
#include "input/tracking.h"
#include "tables/tables.h"
#include "windows/window.h"

namespace qln {
namespace {

constexpr uint16_t kFlagDisabled = 0x100;
constexpr uint16_t kFlagsNoHighlight = 0xFFFF;

bool valid_window_number(const std::vector<Window>& records, int32_t n) {
    return n >= 0 && size_t(n) < records.size();
}

// The topmost window of the layer list (window 0 is its bottom).
int32_t layer_top(const std::vector<Window>& records) {
    int32_t top = 0;
    // The step limit guards against a broken list.
    for (size_t steps = 0; steps < records.size(); ++steps) {
        const int32_t next = records[size_t(top)].next;
        if (!valid_window_number(records, next)) break;
        top = next;
    }
    return top;
}

const Region* button_hit(Engine& engine, const Window& w, int32_t xr, int32_t yr, uint16_t& index) {
    if (w.bt_buff == 0) return nullptr;
    RegionList* list = buf_get_regions(engine, w.bt_buff);
    if (!list) return nullptr;
    const size_t end = std::min(size_t(w.bt_bpos) + w.bt_num, list->entries.size());
    for (size_t i = w.bt_bpos; i < end; ++i) {
        const Region& b = list->entries[i];
        if ((b.flags & kFlagDisabled) && b.flags != kFlagsNoHighlight) continue;
        if (b.left <= xr && xr < b.right && b.top <= yr && yr < b.bottom) {
            index = static_cast<uint16_t>(i);
            return &b;
        }
    }
    return nullptr;
}

// The mask id under (xr, yr), or -1 when the window has no usable mask. The
// buffer may have been freed or shrunk since btn_wait attached it: its size
// word decides what may be read.
int32_t mask_at(Engine& engine, const Window& w, int32_t xr, int32_t yr) {
    if (w.mask < 0) return -1;
    const uint8_t* bytes = buf_get_raw(engine, w.mask);
    if (!bytes) return -1;
    const size_t row = (size_t(w.sx()) + 3) / 4;
    const size_t at = size_t(yr / 4) * row + size_t(xr / 4);
    if (at >= buf_size(engine, w.mask)) return -1;
    return bytes[at];
}

void button_cursor_activate(Engine& engine, uint8_t mask_id) {
    const uint8_t buf_no = engine.tracking.button_cursors[mask_id];
    if (buf_no == 0) return;
    const uint8_t* bytes = buf_get_raw(engine, buf_no);
    if (bytes) (void)cursor_activate(engine, bytes, buf_size(engine, buf_no));
}

}  // namespace

void hit_test(Engine& engine, InputState& snap) {
    const Picture* screen = engine.screen.screen;
    if (!screen || snap.x < 0 || snap.y < 0 || snap.x >= screen->width ||
        snap.y >= screen->height) {
        snap.window = 0;
        snap.button_id = 0;
        snap.button_index = 0;
        highlight_update(engine, snap, nullptr);
        return;
    }
    std::vector<Window>& records = engine.windows.records;
    const bool new_press = snap.left && !engine.tracking.highlight.last_left;
    const uint16_t owner = engine.tracking.input_owner;

    int32_t k = records.empty() ? kNoWindow : layer_top(records);
    for (size_t steps = 0; steps <= records.size() && valid_window_number(records, k); ++steps) {
        Window& w = records[size_t(k)];
        const int32_t n = k;
        k = w.previous;
        if (owner != 0 && n != owner) continue;
        if (!w.picture) continue;
        const int64_t xr64 = int64_t(snap.x) - w.px, yr64 = int64_t(snap.y) - w.py;
        if (xr64 < 0 || yr64 < 0 || xr64 >= w.sx() || yr64 >= w.sy()) continue;
        const int32_t xr = int32_t(xr64), yr = int32_t(yr64);

        snap.window = static_cast<uint16_t>(n);
        snap.button_id = 0;
        snap.button_index = 0;
        if (new_press && n > 0 && win_overlap(engine, w) < 2) win_raise(engine, w);

        uint16_t index = 0;
        if (const Region* button = button_hit(engine, w, xr, yr, index)) {
            snap.button_index = index;
            snap.button_id = button->id;
            highlight_update(engine, snap, button);
            return;
        }
        const int32_t band = w.fwidth;
        const bool inner = band <= xr && xr < w.sx() - band && band <= yr && yr < w.sy() - band;
        if (band != 0 && new_press && !inner) {
            engine.tracking.drag =
                DragState{snap.window, static_cast<uint16_t>(xr), static_cast<uint16_t>(yr)};
            highlight_update(engine, snap, nullptr);
            return;
        }
        const int32_t mask_id = mask_at(engine, w, xr, yr);
        if (mask_id >= 0) {
            snap.button_id = mask_id;
            snap.button_index = static_cast<uint16_t>(mask_id);
            button_cursor_activate(engine, static_cast<uint8_t>(mask_id));
        }
        highlight_update(engine, snap, nullptr);
        return;
    }
    highlight_update(engine, snap, nullptr);
}

void drag_step(Engine& engine, InputState& snap) {
    DragState& drag = engine.tracking.drag;
    if (drag.window == 0) return;
    const auto to_int32 = [](int64_t v) {
        return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    };
    const int32_t x = to_int32(int64_t(snap.x) - drag.grab_x);
    const int32_t y = to_int32(int64_t(snap.y) - drag.grab_y);
    // A window closed meanwhile ends the drag as well.
    if (!snap.left || !win_move(engine, drag.window, x, y)) drag = DragState{};
}

bool drag_active(const Engine& engine) {
    return engine.tracking.drag.window != 0;
}

}  // namespace qln
