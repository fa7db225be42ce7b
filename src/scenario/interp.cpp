// The call stack and the chain of active scenarios.

#include "scenario/interp.h"

#include "engine/engine.h"
#include "scenario/scenario.h"
#include "tables/tables.h"

namespace qln {

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

}  // namespace qln
