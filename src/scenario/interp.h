#pragma once
// The interpreter core: dispatch, operand readers, call stack, the chain of
// active scenarios and the error report.

#include <cstdint>
#include <memory>
#include <vector>

#include "input/input_state.h"

#include "engine/command_args.h"
#include "base/error_record.h"

namespace qln {

struct Engine;
struct Scenario;

struct Interp {
    Scenario* current = nullptr;  // head of the chain of active scenarios
    uint8_t command_byte = 0;     // the command being executed, for the error report
    ScenarioErrorRecord error;
    // State of one level of nested steps: a handler that runs the interpreter
    // again (call_wait, callbacks) keeps its own operand list and snapshot.
    struct Level {
        std::vector<ListItem> list;
        InputState snapshot;
    };
    std::vector<std::unique_ptr<Level>> levels;
    uint32_t step_depth = 0;
};

// Operand readers at pc of the current scenario. Reading past the end of the
// image reads the end command (0xFF) for a byte and ends an expression.
uint16_t op_word(Engine& engine);
int32_t op_num(Engine& engine);
const char* op_str(Engine& engine);  // nullptr for a string register out of range

// Decodes the operands of signature at pc of the current scenario into args;
// a closing list goes into list (cleared first).
void args_read(Engine& engine, const char* signature, Args& args, std::vector<ListItem>& list);

// Executes one command of the current scenario: 0 to go on, negative to stop.
int32_t scn_step(Engine& engine);

bool call_push(Engine& engine, uint16_t target);
bool call_pop(Engine& engine);
// Runs a subroutine of the current scenario to its return: 0, a negative
// control result, or -1 (which callers report as -101).
int32_t call_wait(Engine& engine, uint16_t target);

bool scn_start(Engine& engine, Scenario* scenario, bool reset_chain, bool free_on_end);
bool scn_end(Engine& engine);  // true when a scenario remains
void scn_end_all(Engine& engine, bool mark_free);
// Runs a callback (data buffer, entry) to completion.
bool scn_invoke(Engine& engine, int32_t buf_no, int32_t entry);

}  // namespace qln
