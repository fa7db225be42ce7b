#pragma once
// The interpreter core: dispatch, operand readers, call stack, the chain of
// active scenarios and the error report.

#include <cstdint>
#include <memory>
#include <vector>

#include "input/input_state.h"

#include "base/error_record.h"

namespace qln {

struct Engine;
struct Scenario;

// One entry of a variable-length operand list (see ListKind). Which fields are
// set depends on the list:
//   JumpTargets: word.
//   Choices:     tag (the introducing byte), str (text), word (target), num (condition).
//   KeyValues:   tag (the key byte), num (value).
//   WindowPairs: num (win_no), num2 (buf_no).
//   TypedArgs:   tag (the type byte); num (value) for types 0, 1 and others; str for type 2.
struct ListItem {
    uint8_t tag = 0;
    uint16_t word = 0;
    int32_t num = 0;
    int32_t num2 = 0;
    const char* str = nullptr;
};

// A command's decoded operands, read in full before its handler runs, so pc
// always stands on the next command whatever the handler does.
//
// String operands point into the scenario image or into the string pool; a
// handler that stores a string register must not use an earlier pointer into
// the pool afterwards (the pool may have moved).
struct Args {
    static constexpr int kMax = 16;
    uint8_t count = 0;
    // Left uninitialised: args_read sets every entry the signature names, and
    // a step must not pay for clearing the rest.
    int32_t value[kMax];          // numbers, and words zero-extended
    const char* text[kMax];       // strings; nullptr for a string operand that is none
    const ListItem* list = nullptr;  // the closing list, if the signature has one
    uint32_t list_count = 0;
    uint16_t command_pc = 0;         // pc just after the command byte

    int32_t num(int i) const { return value[i]; }
    uint16_t word(int i) const { return static_cast<uint16_t>(value[i]); }
    // A string operand; "" when it named a string register out of range.
    const char* str(int i) const { return text[i] ? text[i] : ""; }
    bool str_is_none(int i) const { return text[i] == nullptr; }
};

using CommandHandler = int32_t (*)(Engine& engine, const Args& args);

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

// Fills the scenario error record and returns code. The format knows %d, %s,
// %c and %%; a double-byte character is never taken for a format character.
[[nodiscard]] int32_t err_report(Engine& engine, int32_t code, const char* format, ...);

// Result codes of command handlers.
inline constexpr int32_t kResultEndAll = -10;  // no scenario left to return to
inline constexpr int32_t kResultErrorBase = -100;

}  // namespace qln
