#include "windows/window_commands.h"

#include "graphics/draw.h"
#include "screen/screen.h"
#include "scenario/interp.h"
#include "engine/engine.h"
#include "tables/tables.h"
#include "windows/picture_targets.h"
#include "windows/window.h"

namespace qln {

int32_t cmd_win_hide(Engine& engine, const Args& args) {
    const int32_t win_no = args.num(0);
    if (!win_show(engine, win_no, false)) return err_report(engine, -106, "win_no = %d", win_no);
    return 0;
}

int32_t cmd_win_repaint(Engine& engine, const Args& args) {
    const int32_t win_no = args.num(0);
    int32_t code = 0;
    Window* window = target_window(engine, win_no, code);
    if (!window) return code;
    // The painter's own result (a frame buffer without a picture) is not an
    // error of this command.
    (void)win_paint(engine, *window);
    return 0;
}

int32_t cmd_win_info(Engine& engine, const Args& args) {
    const int32_t win_no = args.num(0);
    const Window* w = win_get(engine, win_no, true);
    if (!w || !w->picture) {
        result_set(engine, 5, 2);
        return 0;
    }
    const bool screen_window = win_no == 0;
    const int32_t values[27] = {
        screen_window ? 0 : int32_t(uint32_t(w->px) - uint32_t(engine.screen.content_x)),
        screen_window ? 0 : int32_t(uint32_t(w->py) - uint32_t(engine.screen.content_y)),
        w->sx(),
        w->sy(),
        w->Visible ? 1 : 0,
        w->type,
        w->fwidth,
        w->pic_buf,
        w->transp,
        w->call_buf,
        w->entryl,
        w->bt_buff,
        w->bt_num,
        w->bt_bpos,
        w->tx_ccol,
        w->tx_bcol,
        w->tx_scol,
        w->tx_vt,
        w->tx_font,
        w->tx_ftype,
        0,
        w->tx_ssx,
        w->tx_ssy,
        w->tx_px,
        w->tx_py,
        w->tx_ex,
        w->tx_ey,
    };
    for (uint32_t i = 0; i < 27; ++i) result_set(engine, i + 1, values[i]);
    return 0;
}

int32_t cmd_win_move(Engine& engine, const Args& args) {
    const int32_t win_no = args.num(0);
    int32_t x = args.num(1), y = args.num(2);
    if (win_no != 0) {
        x = offset_add(x, engine.screen.content_x);
        y = offset_add(y, engine.screen.content_y);
    }
    if (!win_move(engine, win_no, x, y)) return err_report(engine, -106, "win_no = %d", win_no);
    return 0;
}

int32_t cmd_win_close(Engine& engine, const Args& args) {
    const int32_t win_no = args.num(0);
    if (!win_close(engine, win_no)) return err_report(engine, -106, "win_no = %d", win_no);
    return 0;
}

int32_t cmd_win_show(Engine& engine, const Args& args) {
    const int32_t win_no = args.num(0);
    if (!win_show(engine, win_no, true)) return err_report(engine, -106, "win_no = %d", win_no);
    return 0;
}

int32_t cmd_win_resize(Engine& engine, const Args& args) {
    const int32_t win_no = args.num(0), width = args.num(1), height = args.num(2);
    int32_t code = 0;
    Window* window = target_window(engine, win_no, code);
    if (!window) return code;
    if (!win_resize(engine, *window, width, height, false)) {
        return err_report(engine, -106, "win_no = %d", win_no);
    }
    return 0;
}

int32_t cmd_win_btn_num(Engine& engine, const Args& args) {
    const int32_t win_no = args.num(0), count = args.num(1);
    int32_t code = 0;
    Window* window = target_window(engine, win_no, code);
    if (!window) return code;
    window->bt_num = static_cast<uint16_t>(count);
    return 0;
}

int32_t cmd_win_list_layout(Engine& engine, const Args& args) {
    const int32_t win_no = args.num(0);
    int32_t code = 0;
    Window* window = target_window(engine, win_no, code);
    if (!window) return code;
    window->sel_vt = args.num(1);
    window->sel_wd = args.num(2);
    window->sel_my = args.num(3);
    window->sel_mx = args.num(4);
    window->sel_top = args.num(5);
    window->sel_rows = args.num(6);
    window->sel_gap = args.num(7);
    // The values stay stored even when the layout is unusable.
    if (window->sel_vt == 0 || window->sel_wd == 0 || window->sel_rows == 0) {
        return err_report(engine, -116, nullptr);
    }
    return 0;
}

int32_t cmd_win_pin(Engine& engine, const Args& args) {
    result_set(engine, 1, win_pin(engine, args.num(0), true));
    return 0;
}

int32_t cmd_win_unpin(Engine& engine, const Args& args) {
    result_set(engine, 1, win_pin(engine, args.num(0), false));
    return 0;
}

int32_t cmd_win_transp(Engine& engine, const Args& args) {
    const int32_t win_no = args.num(0), opacity = args.num(1);
    int32_t code = 0;
    Window* window = target_window(engine, win_no, code);
    if (!window) return code;
    window->transp = static_cast<uint8_t>(opacity);
    mark_dirty(engine, window);
    return 0;
}

int32_t cmd_win_tile(Engine& engine, const Args& args) {
    const int32_t win_no = args.num(0), buf_no = args.num(1);
    int32_t code = 0;
    Window* window = target_window(engine, win_no, code);
    if (!window) return code;
    const Picture* tile = target_buffer(engine, buf_no, code);
    if (!tile) return code;
    Picture* surface = window->picture;
    // A picture without pixels covers nothing (and must not be divided by).
    if (tile->width > 0 && tile->height > 0) {
        for (int32_t y = 0; y < surface->height; y += tile->height) {
            for (int32_t x = 0; x < surface->width; x += tile->width) {
                picture_draw(surface, x, y, 0, 0, tile, 0, 0, 0, 0, 255, 0, 0);
            }
        }
    }
    mark_dirty(engine, window);
    return 0;
}

}  // namespace qln
