#pragma once
// The mouse, cursor, button-wait and keyboard commands.

#include <cstdint>

#include "scenario/interp.h"

namespace qln {

int32_t cmd_btn_wait(Engine& engine, const Args& args);       // 0x51
int32_t cmd_mouse_set_pos(Engine& engine, const Args& args);  // 0x80
int32_t cmd_cursor_set(Engine& engine, const Args& args);     // 0x81
int32_t cmd_btn_cursor(Engine& engine, const Args& args);     // 0x82
int32_t cmd_cursor_clip(Engine& engine, const Args& args);    // 0x83
int32_t cmd_mouse_get(Engine& engine, const Args& args);      // 0x84
int32_t cmd_key_wait(Engine& engine, const Args& args);       // 0xC3
int32_t cmd_key_state(Engine& engine, const Args& args);      // 0xC4
int32_t cmd_key_read(Engine& engine, const Args& args);       // 0xCB
int32_t cmd_key_clear(Engine& engine, const Args& args);      // 0xCC

}  // namespace qln
