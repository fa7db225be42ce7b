#pragma once
// Commands 0x70-0x7A: create, load, inspect, copy and free data buffers, map
// variable spaces onto raw buffers, evaluate an expression kept in a buffer,
// and clear a string register.

#include <cstdint>

#include "scenario/interp.h"
#include "tables/tables.h"

namespace qln {

struct Engine;

// The internal space that var_bind maps for a scenario-level space code:
// 0-3 as they are, 4 string picking (12), 5-9 spaces 4-8, any other 9.
int32_t space_of_bind_code(int32_t code);
// The kind code buf_info reports for a buffer type.
int32_t kind_of_buffer(BufType type);

int32_t cmd_buf_read(Engine& engine,
                     const Args& args);  // 0x70 name, entry, buf_no, compressed, dir
int32_t cmd_buf_release(Engine& engine, const Args& args);  // 0x71 buf_no
int32_t cmd_buf_regions(Engine& engine, const Args& args);  // 0x72 buf_no, count
int32_t cmd_buf_alloc(Engine& engine, const Args& args);    // 0x73 buf_no, size
int32_t cmd_var_bind(Engine& engine, const Args& args);     // 0x74 code, buf_no, offset
int32_t cmd_buf_info(Engine& engine, const Args& args);     // 0x75 buf_no
int32_t cmd_str_clear(Engine& engine, const Args& args);    // 0x76 n
int32_t cmd_var_bound(Engine& engine, const Args& args);    // 0x77 code
int32_t cmd_buf_eval(Engine& engine, const Args& args);     // 0x78 buf_no, offset
int32_t cmd_buf_copy(Engine& engine, const Args& args);     // 0x79 src, dst
int32_t cmd_buf_move_bytes(Engine& engine,
                           const Args& args);  // 0x7A src, dst, dst offset, src offset, length

}  // namespace qln
