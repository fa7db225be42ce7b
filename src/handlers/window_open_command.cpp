// win_open and win_set: a window record from key-value pairs.

#include <algorithm>
#include <cstdint>

#include "engine/engine.h"
#include "handlers/window_commands.h"
#include "scenario/interp.h"
#include "windows/picture_targets.h"
#include "windows/window.h"

namespace qln {

Window window_template() {
    Window t;
    t.fwidth = 8;
    t.pic_buf = -1;
    t.call_buf = -1;
    t.tx_vt = 16;
    t.tx_ccol = 15;
    t.transp = 255;
    return t;
}

int32_t offset_add(int32_t position, int32_t offset) {
    // Positions near the ends of the range stay there instead of wrapping.
    return int32_t(std::clamp<int64_t>(int64_t(position) + offset, INT32_MIN, INT32_MAX));
}

void window_key_store(Window& w, uint8_t key, int32_t value, int32_t* width, int32_t* height) {
    const auto u16 = static_cast<uint16_t>(value);
    switch (key) {
        case 1:
            if (width) w.px = value;
            break;
        case 2:
            if (width) w.py = value;
            break;
        case 3:
            if (width) *width = value;
            break;
        case 4:
            if (height) *height = value;
            break;
        case 5:
            w.type = u16;
            break;
        case 6:
            w.pic_buf = value;
            break;
        case 7:
            w.fwidth = u16;
            break;
        case 8:
            w.transp = static_cast<uint8_t>(value);
            break;
        case 9:
            w.call_buf = value;
            break;
        case 10:
            w.entryl = u16;
            break;
        case 11:
            w.bt_num = u16;
            break;
        case 12:
            w.bt_buff = u16;
            break;
        case 13:
            w.bt_bpos = u16;
            break;
        case 14:
            w.tx_px = value;
            break;
        case 15:
            w.tx_py = value;
            break;
        case 16:
            w.tx_ex = value;
            break;
        case 17:
            w.tx_ey = value;
            break;
        case 18:
            w.tx_vt = value;
            break;
        case 19:
            w.tx_ccol = value;
            break;
        case 20:
            w.tx_bcol = value;
            break;
        case 21:
            w.tx_font = u16;
            break;
        case 22:
            w.tx_ftype = u16;
            break;
        case 24:
            w.tx_scol = value;
            break;
        case 25:
            w.tx_ssx = value;
            break;
        case 26:
            w.tx_ssy = value;
            break;
        default:
            break;  // 0, 23 and 27 upwards carry a value nobody reads
    }
}

int32_t cmd_win_open(Engine& engine, const Args& args) {
    const win_open_operands op(args);
    const int32_t win_no = op.win_no(), show = op.show();
    Window t = window_template();
    int32_t width = 24, height = 24;
    for (uint32_t i = 0; i < op.fields().size(); ++i) {
        window_key_store(t, op.fields()[i].tag, op.fields()[i].num, &width, &height);
    }
    // An unset (or zero) text limit is the window's edge.
    if (t.tx_ex == 0) t.tx_ex = width;
    if (t.tx_ey == 0) t.tx_ey = height;
    if (win_no != 0) {
        t.px = offset_add(t.px, engine.screen.content_x);
        t.py = offset_add(t.py, engine.screen.content_y);
    }
    if (!win_open(engine, win_no, width, height, t)) {
        return err_report(engine, -106, "win_no = %d", win_no);
    }
    if (show != 0) (void)win_show(engine, win_no, true);
    return 0;
}

int32_t cmd_win_set(Engine& engine, const Args& args) {
    const win_set_operands op(args);
    const int32_t win_no = op.win_no();
    int32_t code = 0;
    Window* window = target_window(engine, win_no, code);
    if (!window) return code;
    // Straight into the record: nothing is repainted or marked dirty.
    for (uint32_t i = 0; i < op.fields().size(); ++i) {
        window_key_store(*window, op.fields()[i].tag, op.fields()[i].num);
    }
    return 0;
}

}  // namespace qln
