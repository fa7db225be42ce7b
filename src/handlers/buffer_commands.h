#pragma once
// Commands 0x70-0x7A: create, load, inspect, copy and free data buffers, map
// variable spaces onto raw buffers, evaluate an expression kept in a buffer,
// and clear a string register.

#include <cstdint>

#include "commands/command_table.h"

#include "scenario/interp.h"
#include "tables/tables.h"

namespace qln {

struct Engine;

// The internal space that var_bind maps for a scenario-level space code:
// 0-3 as they are, 4 string picking (12), 5-9 spaces 4-8, any other 9.
int32_t space_of_bind_code(int32_t code);
// The kind code buf_info reports for a buffer type.
int32_t kind_of_buffer(BufType type);

}  // namespace qln
