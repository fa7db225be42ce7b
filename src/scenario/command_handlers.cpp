#include "scenario/command_handlers.h"

#include "files/picture_file_commands.h"
#include "screen/display_commands.h"
#include "input/input_commands.h"
#include "input/timer_commands.h"
#include "scenario/control_commands.h"
#include "scenario/system_commands.h"
#include "tables/buffer_commands.h"
#include "windows/dialog_commands.h"
#include "windows/picture_commands.h"
#include "tables/string_commands.h"
#include "text/text_commands.h"
#include "windows/window_commands.h"

namespace qln {
namespace {

std::array<CommandHandler, 256> make_handlers() {
    std::array<CommandHandler, 256> h{};
    // Control flow and scenarios.
    h[0x00] = cmd_eval;
    h[0x01] = cmd_jump;
    h[0x02] = cmd_jump_if;
    h[0x03] = cmd_call_if;
    h[0x04] = cmd_call;
    h[0x05] = cmd_call_args;
    h[0x06] = cmd_scn_call_buf;
    h[0x07] = cmd_return;
    h[0x08] = cmd_scn_call_file;
    h[0x09] = cmd_scn_jump_file;
    h[0x0A] = cmd_win_confirm;
    h[0x0B] = cmd_win_select;
    h[0x0C] = cmd_scn_return;
    h[0x0D] = cmd_jump_table;
    h[0x0E] = cmd_sys_restart;
    h[0xFF] = cmd_end;
    // Picture files.
    h[0x1E] = cmd_pic_save_bmp;
    // System and configuration.
    h[0x20] = cmd_ini_file;
    h[0x21] = cmd_ini_read;
    h[0x22] = cmd_ini_write;
    h[0x23] = cmd_sys_metrics;
    h[0x24] = cmd_sys_time;
    h[0x25] = cmd_win_notice;
    h[0x26] = cmd_sys_message;
    h[0x27] = cmd_sys_display;
    h[0x28] = cmd_eval;  // eval_alt shares the handler of eval
    h[0x29] = cmd_sys_exec;
    h[0x2B] = cmd_hook_set;
    h[0x2C] = cmd_hook_set_alt;
    // Colours and pictures.
    h[0x30] = cmd_col_set;
    h[0x31] = cmd_col_get;
    h[0x32] = cmd_font_make;
    h[0x33] = cmd_font_pic;
    h[0x34] = cmd_win_load;
    h[0x35] = cmd_text_put;
    h[0x36] = cmd_pic_invert;
    h[0x37] = cmd_pic_fill;
    h[0x38] = cmd_buf_grab;
    h[0x39] = cmd_win_draw_buf;
    h[0x3A] = cmd_buf_cells;
    h[0x3B] = cmd_win_draw_cell;
    h[0x3C] = cmd_win_pixel;
    h[0x3D] = cmd_pic_draw;
    h[0x3E] = cmd_alpha_key;
    h[0x3F] = cmd_alpha_load;
    h[0x40] = cmd_alpha_copy;
    h[0x41] = cmd_pause_pic;
    // Strings.
    h[0x60] = cmd_str_let;
    h[0x61] = cmd_str_cat;
    h[0x62] = cmd_str_cmp;
    h[0x63] = cmd_str_len;
    h[0x64] = cmd_str_expand;
    h[0x65] = cmd_str_to_num;
    h[0x66] = cmd_str_find;
    h[0x67] = cmd_str_mid;
    h[0x68] = cmd_str_splice;
    h[0x69] = cmd_str_to_buf;
    // Data buffers and variable mapping.
    h[0x70] = cmd_buf_read;
    h[0x71] = cmd_buf_release;
    h[0x72] = cmd_buf_regions;
    h[0x73] = cmd_buf_alloc;
    h[0x74] = cmd_var_bind;
    h[0x75] = cmd_buf_info;
    h[0x76] = cmd_str_clear;
    h[0x77] = cmd_var_bound;
    h[0x78] = cmd_buf_eval;
    h[0x79] = cmd_buf_copy;
    h[0x7A] = cmd_buf_move_bytes;
    // Windows and buttons.
    h[0x90] = cmd_win_hide;
    h[0x91] = cmd_win_repaint;
    h[0x92] = cmd_win_info;
    h[0x93] = cmd_win_move;
    h[0x94] = cmd_win_open;
    h[0x95] = cmd_win_close;
    h[0x96] = cmd_btn_def;
    h[0x97] = cmd_win_show;
    h[0x98] = cmd_win_resize;
    h[0x99] = cmd_win_btn_num;
    h[0x9A] = cmd_win_message;
    h[0x9B] = cmd_win_list_layout;
    h[0x9C] = cmd_win_set;
    h[0x9D] = cmd_win_pin;
    h[0x9E] = cmd_win_unpin;
    h[0x9F] = cmd_btn_enable;
    h[0xA0] = cmd_win_transp;
    h[0xA1] = cmd_win_tile;
    // Waits and timers.
    h[0x50] = cmd_wait;
    h[0x52] = cmd_clock_get;
    h[0x53] = cmd_clock_reset;
    h[0x54] = cmd_clock_wait;
    h[0xC0] = cmd_tick_set;
    h[0xC1] = cmd_tick_on;
    h[0xC2] = cmd_tick_off;
    // Mouse, cursor and keyboard.
    h[0x51] = cmd_btn_wait;
    h[0x80] = cmd_mouse_set_pos;
    h[0x81] = cmd_cursor_set;
    h[0x82] = cmd_btn_cursor;
    h[0x83] = cmd_cursor_clip;
    h[0x84] = cmd_mouse_get;
    h[0xC3] = cmd_key_wait;
    h[0xC4] = cmd_key_state;
    h[0xCB] = cmd_key_read;
    h[0xCC] = cmd_key_clear;
    return h;
}

}  // namespace

const std::array<CommandHandler, 256> command_handlers = make_handlers();

}  // namespace qln
