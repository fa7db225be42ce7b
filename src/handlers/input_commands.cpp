// The mouse, cursor and keyboard commands.

#include "commands/command_table.h"

#include <cstring>

#include "engine/engine.h"
#include "input/cursor.h"
#include "input/tracking.h"
#include "platform/platform.h"
#include "run/run_loop.h"
#include "tables/tables.h"

namespace qln {

int32_t cmd_mouse_set_pos(Engine& engine, const Args& args) {
    const mouse_set_pos_operands op(args);
    const int32_t x = op.x();
    const int32_t y = op.y();
    // Desktop coordinates, passed on as they are.
    if (!engine.platform.input->pointer_warp(x, y)) {
        return err_report(engine, -107, nullptr);
    }
    return 0;
}

int32_t cmd_cursor_set(Engine& engine, const Args& args) {
    const cursor_set_operands op(args);
    const int32_t buf_no = op.buf_no();
    bool ok = false;
    if (buf_no == -1) {
        ok = cursor_activate(engine, nullptr, 0);
    } else if (const uint8_t* bytes = buf_get_raw(engine, buf_no)) {
        ok = cursor_activate(engine, bytes, buf_size(engine, buf_no));
    }
    if (!ok) return err_report(engine, -107, "buf_no = %d", buf_no);
    return 0;
}

int32_t cmd_btn_cursor(Engine& engine, const Args& args) {
    const btn_cursor_operands op(args);
    const int32_t btn_id = op.btn_id();
    const int32_t buf_no = op.buf_no();
    uint8_t* table = engine.tracking.button_cursors;
    if (btn_id < 0 && buf_no < 0) {
        std::memset(table, 0, sizeof engine.tracking.button_cursors);
        return 0;
    }
    if (btn_id < 0 || btn_id > 255) return err_report(engine, -107, "btn_id = %d", btn_id);
    table[btn_id] = static_cast<uint8_t>(buf_no);
    return 0;
}

int32_t cmd_cursor_clip(Engine& engine, const Args& args) {
    const cursor_clip_operands op(args);
    const int32_t left = op.left();
    const int32_t top = op.top();
    const int32_t right = op.right();
    const int32_t bottom = op.bottom();
    CursorClip& clip = engine.tracking.clip;
    if (left == 0 && top == 0 && right == 0 && bottom == 0) {
        clip = CursorClip{};
        engine.platform.input->cursor_confine(nullptr);
        return 0;
    }
    // Scenario coordinates are relative to the content; the platform adds the
    // client area's place on the desktop (and again whenever the window moves).
    const int32_t dx = engine.screen.content_x, dy = engine.screen.content_y;
    clip.set = true;
    clip.rect = Rect{static_cast<int32_t>(uint32_t(left) + uint32_t(dx)),
                     static_cast<int32_t>(uint32_t(top) + uint32_t(dy)),
                     static_cast<int32_t>(uint32_t(right) + uint32_t(dx)),
                     static_cast<int32_t>(uint32_t(bottom) + uint32_t(dy))};
    engine.platform.input->cursor_confine(&clip.rect);
    return 0;
}

int32_t cmd_mouse_get(Engine& engine, const Args&) {
    InputState snap;
    snapshot(engine, snap);  // a plain snapshot: no hit test
    result_set(engine, 1,
               static_cast<int32_t>(uint32_t(snap.x) - uint32_t(engine.screen.content_x)));
    result_set(engine, 2,
               static_cast<int32_t>(uint32_t(snap.y) - uint32_t(engine.screen.content_y)));
    result_set(engine, 3, snap.right);
    result_set(engine, 4, snap.left);
    result_set(engine, 5, 0);
    result_set(engine, 6, snap.window);
    result_set(engine, 7, snap.button_id);
    result_set(engine, 8, snap.middle);
    return 0;
}

int32_t cmd_key_wait(Engine& engine, const Args&) {
    InputState snap;
    // The first snapshot forgets a character typed before the wait began.
    snapshot(engine, snap);
    for (;;) {
        if (!poll(engine, snap)) return err_report(engine, -107, nullptr);
        if (snap.last_character != 0xFFFF) break;
        idle_until_due(engine);
    }
    result_set(engine, 1, snap.last_character);
    return 0;
}

int32_t cmd_key_state(Engine& engine, const Args&) {
    uint8_t keys[256];
    {
        // A copy under the lock: the main thread writes the table meanwhile.
        LockHold hold(engine.shared.input.lock);
        std::memcpy(keys, engine.shared.input.queues.key_state, sizeof keys);
    }
    for (int k = 0; k < 16; ++k) {
        int32_t bits = 0;
        for (int i = 0; i < 16; ++i) {
            if (keys[16 * k + i] & 0x80) bits |= 0x8000 >> i;
        }
        result_set(engine, uint32_t(k) + 1, bits);
    }
    return 0;
}

int32_t cmd_key_read(Engine& engine, const Args&) {
    result_set(engine, 1, queue_take(engine, InputQueue::Character));
    result_set(engine, 2, queue_take(engine, InputQueue::Key));
    engine.platform.clock->sleep_ms(10);
    return 0;
}

int32_t cmd_key_clear(Engine& engine, const Args&) {
    queue_clear(engine);
    return 0;
}

}  // namespace qln
