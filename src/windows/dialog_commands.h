#pragma once
// The commands that show a text or a list of choices in a window and wait
// for the player's answer: 0x0A win_confirm, 0x0B win_select, 0x25
// win_notice and 0x9A win_message.

#include <cstdint>

namespace qln {

struct Engine;
struct Args;

int32_t cmd_win_confirm(Engine& engine, const Args& args);  // 0x0A
int32_t cmd_win_select(Engine& engine, const Args& args);   // 0x0B
int32_t cmd_win_notice(Engine& engine, const Args& args);   // 0x25
int32_t cmd_win_message(Engine& engine, const Args& args);  // 0x9A

}  // namespace qln
