// One step of the interpreter and the runs nested in it: a command, then the
// poll step; call_wait and scn_invoke step again from inside a command, and
// the poll step's interval callbacks step from inside the poll step. All that
// recursion lives here and in poll.cpp.

#include "engine/command_row.h"
#include "engine/engine.h"
#include "plugins/plugin.h"
#include "run/dialogs.h"
#include "run/run_loop.h"
#include "scenario/interp.h"
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

}  // namespace

void run_unwind_to(Engine& engine, Scenario* caller) {
    while (engine.interp.current && engine.interp.current != caller) scn_end(engine);
}

int32_t scn_step(Engine& engine) {
    Scenario* scenario = engine.interp.current;
    if (!scenario) return kResultEndAll;
    StepLevel level(engine.interp);
    const int32_t result = run_command(engine, *scenario, *level);
    RunLimits& limits = engine.shell.limits;
    limits.count_command();
    if (result < -2) {
        if (result > kResultErrorBase) return result;
        const bool stop = dialog_error(engine, engine.interp.error);
        if (stop) return result;
        limits.count_continued_error();
    }
    return poll(engine, (*level).snapshot) ? 0 : -1;
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
            run_unwind_to(engine, caller);
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

bool scn_invoke(Engine& engine, int32_t buf_no, int32_t entry) {
    if (entry != 0) return plugin_callback(engine, buf_no, entry);
    Scenario* callback = buf_get_scenario(engine, buf_no);
    if (!callback) return false;
    Scenario* caller = engine.interp.current;
    if (!scn_start(engine, callback, false, false)) return false;
    while (engine.interp.current != caller) {
        if (scn_step(engine) < 0) {
            run_unwind_to(engine, caller);
            return false;
        }
    }
    return true;
}

}  // namespace qln
