#pragma once
// The interpreter's record, held by the engine: the chain of active
// scenarios, the error report and the nesting levels of steps.

#include <cstdint>
#include <memory>
#include <vector>
#include "base/error_record.h"
#include "engine/command_args.h"
#include "platform/thread_shared.h"

namespace qln {

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

}  // namespace qln
