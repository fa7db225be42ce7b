// Dispatch, the call stack and the chain of active scenarios.

#include "scenario/interp.h"

#include "engine/command_row.h"
#include "engine/engine.h"
#include "input/poll.h"
#include "platform/platform.h"
#include "scenario/scenario.h"
#include "tables/tables.h"

namespace qln {
namespace {

// Holds the state of one nesting level for the duration of a step.
class StepLevel {
  public:
    explicit StepLevel(Interp& interp) : interp_(interp) {
        if (interp.levels.size() <= interp.step_depth) {
            interp.levels.push_back(std::make_unique<Interp::Level>());
        }
        level_ = interp.levels[interp.step_depth++].get();
    }
    ~StepLevel() { --interp_.step_depth; }
    Interp::Level& operator*() { return *level_; }

  private:
    Interp& interp_;
    Interp::Level* level_;
};

int32_t run_command(Engine& engine, Scenario& scenario, Interp::Level& level) {
    const uint8_t byte = scenario.pc < scenario.size ? scenario.code[scenario.pc] : 0xFF;
    scenario.pc = static_cast<uint16_t>(scenario.pc + 1);
    engine.interp.command_byte = byte;
    const CommandRow& row = command_table[byte];
    Args args;
    args.command_pc = scenario.pc;
    args_read(engine, row.reads, args, level.list);
    return row.handler(engine, args);
}

// After a nested run failed: ends the scenarios it left above caller (all of
// them when caller is gone), so the interrupted run resumes where it was and
// not inside the failed one.
void unwind_to(Engine& engine, Scenario* caller) {
    while (engine.interp.current && engine.interp.current != caller) scn_end(engine);
}

}  // namespace

int32_t scn_step(Engine& engine) {
    Scenario* scenario = engine.interp.current;
    if (!scenario) return kResultEndAll;
    StepLevel level(engine.interp);
    const int32_t result = run_command(engine, *scenario, *level);
    if (result < -2) {
        if (result > kResultErrorBase) return result;
        const bool stop = engine.platform.display->error_dialog(engine.interp.error);
        if (stop) return result;
    }
    return poll(engine, (*level).snapshot) ? 0 : -1;
}

bool call_push(Engine& engine, uint16_t target) {
    Scenario* s = engine.interp.current;
    if (!s || uint32_t(s->call_depth) + 1 >= s->call_capacity) return false;
    s->call_stack[s->call_depth++] = s->pc;
    s->pc = target;
    return true;
}

bool call_pop(Engine& engine) {
    Scenario* s = engine.interp.current;
    if (!s || s->call_depth == 0) return false;
    s->pc = static_cast<uint16_t>(s->call_stack[--s->call_depth]);
    return true;
}

int32_t call_wait(Engine& engine, uint16_t target) {
    Scenario* caller = engine.interp.current;
    if (!caller) return -1;
    const uint16_t depth = caller->call_depth;
    if (!call_push(engine, target)) return -1;
    // Only compares pointers: the caller may have ended meanwhile.
    while (!(engine.interp.current == caller && caller->call_depth == depth)) {
        const int32_t result = scn_step(engine);
        if (result <= -100) {
            // The caller goes on after its command, not inside the subroutine.
            unwind_to(engine, caller);
            if (engine.interp.current == caller && caller->call_depth > depth) {
                caller->pc = static_cast<uint16_t>(caller->call_stack[depth]);
                caller->call_depth = depth;
            }
            return -1;
        }
        if (result < 0) return result;
    }
    return 0;
}

bool scn_start(Engine& engine, Scenario* scenario, bool reset_chain, bool free_on_end) {
    if (!scenario || scenario->in_use) return false;
    if (reset_chain) {
        scn_end_all(engine, false);
        scenario->previous = nullptr;
    } else {
        scenario->previous = engine.interp.current;
    }
    scenario->free_on_end = free_on_end;
    scenario->in_use = true;
    scenario->pc = scenario->entry_offset;
    scenario->call_depth = 0;
    engine.interp.current = scenario;
    return true;
}

bool scn_end(Engine& engine) {
    Scenario* ending = engine.interp.current;
    if (!ending) return false;
    Scenario* previous = ending->previous;
    if (ending->free_on_end) {
        scn_release(ending);
    } else {
        ending->in_use = false;
        ending->previous = nullptr;
    }
    engine.interp.current = previous;
    return previous != nullptr;
}

void scn_end_all(Engine& engine, bool mark_free) {
    while (engine.interp.current) {
        if (mark_free) engine.interp.current->free_on_end = true;
        scn_end(engine);
    }
}

bool scn_invoke(Engine& engine, int32_t buf_no, int32_t entry) {
    if (entry != 0) {
        // Plug-in callbacks: the buffer must hold a library whose export
        // answers above 0. No library can be loaded on this platform yet.
        return false;
    }
    Scenario* callback = buf_get_scenario(engine, buf_no);
    if (!callback) return false;
    Scenario* caller = engine.interp.current;
    if (!scn_start(engine, callback, false, false)) return false;
    while (engine.interp.current != caller) {
        if (scn_step(engine) < 0) {
            unwind_to(engine, caller);
            return false;
        }
    }
    return true;
}

}  // namespace qln
