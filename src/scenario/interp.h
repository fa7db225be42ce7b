#pragma once
// The interpreter core: dispatch, operand readers, call stack, the chain of
// active scenarios and the error report.

#include <cstdint>
#include <vector>

#include "engine/command_args.h"
#include "engine/interp_state.h"

namespace qln {

struct Engine;
struct Scenario;

// Operand readers at pc of the current scenario. Reading past the end of the
// image reads the end command (0xFF) for a byte and ends an expression.
uint16_t op_word(Engine& engine);
int32_t op_num(Engine& engine);
const char* op_str(Engine& engine);  // nullptr for a string register out of range

// Decodes the operands of signature at pc of the current scenario into args;
// a closing list goes into list (cleared first).
void args_read(Engine& engine, const char* signature, Args& args, std::vector<ListItem>& list);

bool call_push(Engine& engine, uint16_t target);
bool call_pop(Engine& engine);

bool scn_start(Engine& engine, Scenario* scenario, bool reset_chain, bool free_on_end);
bool scn_end(Engine& engine);  // true when a scenario remains
void scn_end_all(Engine& engine, bool mark_free);

}  // namespace qln
