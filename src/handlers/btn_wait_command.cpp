// 0x51 btn_wait: waits for a click and reports the window, button or mask
// region it hit, optionally asking a callback after every poll step.

#include <cstdint>

#include "commands/command_table.h"
#include "engine/engine.h"
#include "platform/platform.h"
#include "run/run_loop.h"
#include "tables/tables.h"
#include "windows/window.h"

namespace qln {
namespace {

// A callback's R1 from here up is its own answer: digits of a decimal code.
constexpr int32_t kChosenAnswer = 10'000'000;

void masks_detach(Engine& engine) {
    for (Window& w : engine.windows.records) w.mask = -1;
}

// A mask map has one byte per 4 x 4 block of the window's picture.
bool mask_attach(Engine& engine, int32_t win_no, int32_t buf_no) {
    Window* w = win_get(engine, win_no, true);
    if (!w || !buf_get_raw(engine, buf_no)) return false;
    const uint64_t needed = ((uint64_t(w->sy()) + 3) / 4) * ((uint64_t(w->sx()) + 3) / 4);
    if (buf_size(engine, buf_no) < needed) return false;
    w->mask = buf_no;
    return true;
}

void results_report(Engine& engine, const InputState& snap, bool left) {
    // Client coordinates as they are, not shifted by the content offset.
    result_set(engine, 1, snap.window);
    result_set(engine, 2, snap.button_id);
    result_set(engine, 3, left ? 1 : 255);
    result_set(engine, 4, snap.x);
    result_set(engine, 5, snap.y);
    result_set(engine, 6, 0);
}

}  // namespace

int32_t cmd_btn_wait(Engine& engine, const Args& args) {
    const btn_wait_operands op(args);
    masks_detach(engine);
    const int32_t mask0 = op.mask0();
    const int32_t sub_buff = op.sub_buff();
    const int32_t entry = op.entry();
    for (uint32_t i = 0; i < op.windows().size(); ++i) {
        const int32_t win_no = op.windows()[i].num;
        const int32_t buf_no = op.windows()[i].num2;
        if (!mask_attach(engine, win_no, buf_no)) {
            return err_report(engine, -119, "win_no = %d, buf_no = %d", win_no, buf_no);
        }
    }
    if (mask0 >= 0 && !mask_attach(engine, 0, mask0)) {
        return err_report(engine, -119, "win_no = %d, buf_no = %d", 0, mask0);
    }

    InputState snap;
    bool left = false;
    if (sub_buff < 0) {
        const Click click = wait_click_for(engine, snap);
        // A failed poll step is no right click: the wait ends with the failure.
        if (click == Click::Failed) return err_report(engine, -107, nullptr);
        left = click == Click::Left;
    } else {
        uint8_t was_left = 0, was_right = 0;
        for (;;) {
            if (!poll(engine, snap)) return err_report(engine, -107, nullptr);
            result_set(engine, 1, 1);
            result_set(engine, 2, snap.window);
            result_set(engine, 3, snap.button_id);
            result_set(engine, 4, snap.x);
            result_set(engine, 5, snap.y);
            result_set(engine, 6, snap.left);
            result_set(engine, 7, snap.right);
            result_set(engine, 8, 0);
            if (!scn_invoke(engine, sub_buff, entry)) {
                return err_report(engine, -108, "sub_buff = %d, entry = %d", sub_buff, entry);
            }
            const int32_t answer = result_get(engine, 1);
            if (answer >= kChosenAnswer) {
                result_set(engine, 1, (answer / 10) % 1000);
                result_set(engine, 2, (answer / 10'000) % 1000);
                result_set(engine, 3, answer % 10 != 0 ? 1 : 255);
                masks_detach(engine);
                return 0;
            }
            // Releases end the wait; a right release answers right even when
            // the left button went down meanwhile.
            if (was_left && !snap.left) {
                left = true;
                break;
            }
            if (was_right && !snap.right) break;
            was_left = snap.left;
            was_right = snap.right;
            engine.platform.clock->idle_pass();
        }
    }
    results_report(engine, snap, left);
    masks_detach(engine);
    return 0;
}

}  // namespace qln
