#include "handlers/window_commands.h"

#include "engine/engine.h"
#include "graphics/draw.h"
#include "scenario/interp.h"
#include "screen/screen.h"
#include "tables/tables.h"
#include "windows/picture_targets.h"
#include "windows/window.h"

namespace qln {

int32_t cmd_win_hide(Engine& engine, const Args& args) {
    const win_hide_operands op(args);
    const int32_t win_no = op.win_no();
    if (!win_show(engine, win_no, false)) return err_report(engine, -106, "win_no = %d", win_no);
    return 0;
}

int32_t cmd_win_repaint(Engine& engine, const Args& args) {
    const win_repaint_operands op(args);
    const int32_t win_no = op.win_no();
    int32_t code = 0;
    Window* window = target_window(engine, win_no, code);
    if (!window) return code;
    // The painter's own result (a frame buffer without a picture) is not an
    // error of this command.
    (void)win_paint(engine, *window);
    return 0;
}

int32_t cmd_win_info(Engine& engine, const Args& args) {
    const win_info_operands op(args);
    const int32_t win_no = op.win_no();
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
    const win_move_operands op(args);
    const int32_t win_no = op.win_no();
    int32_t x = op.x(), y = op.y();
    if (win_no != 0) {
        x = offset_add(x, engine.screen.content_x);
        y = offset_add(y, engine.screen.content_y);
    }
    if (!win_move(engine, win_no, x, y)) return err_report(engine, -106, "win_no = %d", win_no);
    return 0;
}

int32_t cmd_win_close(Engine& engine, const Args& args) {
    const win_close_operands op(args);
    const int32_t win_no = op.win_no();
    if (!win_close(engine, win_no)) return err_report(engine, -106, "win_no = %d", win_no);
    return 0;
}

int32_t cmd_win_show(Engine& engine, const Args& args) {
    const win_show_operands op(args);
    const int32_t win_no = op.win_no();
    if (!win_show(engine, win_no, true)) return err_report(engine, -106, "win_no = %d", win_no);
    return 0;
}

int32_t cmd_win_resize(Engine& engine, const Args& args) {
    const win_resize_operands op(args);
    const int32_t win_no = op.win_no(), width = op.width(), height = op.height();
    int32_t code = 0;
    Window* window = target_window(engine, win_no, code);
    if (!window) return code;
    if (!win_resize(engine, *window, width, height, false)) {
        return err_report(engine, -106, "win_no = %d", win_no);
    }
    return 0;
}

int32_t cmd_win_btn_num(Engine& engine, const Args& args) {
    const win_btn_num_operands op(args);
    const int32_t win_no = op.win_no(), count = op.count();
    int32_t code = 0;
    Window* window = target_window(engine, win_no, code);
    if (!window) return code;
    window->bt_num = static_cast<uint16_t>(count);
    return 0;
}

int32_t cmd_win_list_layout(Engine& engine, const Args& args) {
    const win_list_layout_operands op(args);
    const int32_t win_no = op.win_no();
    int32_t code = 0;
    Window* window = target_window(engine, win_no, code);
    if (!window) return code;
    window->sel_vt = op.row_height();
    window->sel_wd = op.column_width();
    window->sel_my = op.vertical_margin();
    window->sel_mx = op.horizontal_margin();
    window->sel_top = op.first_shown();
    window->sel_rows = op.rows_per_column();
    window->sel_gap = op.column_gap();
    // The values stay stored even when the layout is unusable.
    if (window->sel_vt == 0 || window->sel_wd == 0 || window->sel_rows == 0) {
        return err_report(engine, -116, nullptr);
    }
    return 0;
}

int32_t cmd_win_pin(Engine& engine, const Args& args) {
    const win_pin_operands op(args);
    result_set(engine, 1, win_pin(engine, op.win_no(), true));
    return 0;
}

int32_t cmd_win_unpin(Engine& engine, const Args& args) {
    const win_unpin_operands op(args);
    result_set(engine, 1, win_pin(engine, op.win_no(), false));
    return 0;
}

int32_t cmd_win_transp(Engine& engine, const Args& args) {
    const win_transp_operands op(args);
    const int32_t win_no = op.win_no(), opacity = op.opacity();
    int32_t code = 0;
    Window* window = target_window(engine, win_no, code);
    if (!window) return code;
    window->transp = static_cast<uint8_t>(opacity);
    mark_dirty(engine, window);
    return 0;
}

int32_t cmd_win_tile(Engine& engine, const Args& args) {
    const win_tile_operands op(args);
    const int32_t win_no = op.win_no(), buf_no = op.buf_no();
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
