#pragma once
// Control-flow and scenario commands: expressions, jumps, calls, returns,
// running other scenarios, the computed jump, restart and end.

#include <cstdint>

namespace qln {

struct Engine;
struct Args;

int32_t cmd_eval(Engine& engine, const Args& args);           // 0x00, also 0x28
int32_t cmd_jump(Engine& engine, const Args& args);           // 0x01
int32_t cmd_jump_if(Engine& engine, const Args& args);        // 0x02
int32_t cmd_call_if(Engine& engine, const Args& args);        // 0x03
int32_t cmd_call(Engine& engine, const Args& args);           // 0x04
int32_t cmd_call_args(Engine& engine, const Args& args);      // 0x05
int32_t cmd_scn_call_buf(Engine& engine, const Args& args);   // 0x06
int32_t cmd_return(Engine& engine, const Args& args);         // 0x07
int32_t cmd_scn_call_file(Engine& engine, const Args& args);  // 0x08
int32_t cmd_scn_jump_file(Engine& engine, const Args& args);  // 0x09
int32_t cmd_scn_return(Engine& engine, const Args& args);     // 0x0C
int32_t cmd_jump_table(Engine& engine, const Args& args);     // 0x0D
int32_t cmd_sys_restart(Engine& engine, const Args& args);    // 0x0E
int32_t cmd_end(Engine& engine, const Args& args);            // 0xFF

}  // namespace qln
