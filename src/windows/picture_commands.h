#pragma once
// The colour and picture commands: the colour table, drawing into windows
// and picture buffers, cells, pixels, alpha planes and the pause picture.
// A target is a window (win_get of an open window; error -106) or a picture
// buffer (error -112), as each command's kind operand says.

#include <cstdint>

namespace qln {

struct Engine;
struct Args;

int32_t cmd_col_set(Engine& engine, const Args& args);        // 0x30
int32_t cmd_col_get(Engine& engine, const Args& args);        // 0x31
int32_t cmd_win_load(Engine& engine, const Args& args);       // 0x34
int32_t cmd_pic_invert(Engine& engine, const Args& args);     // 0x36
int32_t cmd_pic_fill(Engine& engine, const Args& args);       // 0x37
int32_t cmd_buf_grab(Engine& engine, const Args& args);       // 0x38
int32_t cmd_win_draw_buf(Engine& engine, const Args& args);   // 0x39
int32_t cmd_buf_cells(Engine& engine, const Args& args);      // 0x3A
int32_t cmd_win_draw_cell(Engine& engine, const Args& args);  // 0x3B
int32_t cmd_win_pixel(Engine& engine, const Args& args);      // 0x3C
int32_t cmd_pic_draw(Engine& engine, const Args& args);       // 0x3D
int32_t cmd_alpha_key(Engine& engine, const Args& args);      // 0x3E
int32_t cmd_alpha_load(Engine& engine, const Args& args);     // 0x3F
int32_t cmd_alpha_copy(Engine& engine, const Args& args);     // 0x40
int32_t cmd_pause_pic(Engine& engine, const Args& args);      // 0x41

}  // namespace qln
