// Interval callbacks: the record list and the commands that fill it.

#include "handlers/timer_commands.h"

#include "run/run_loop.h"

#include "engine/engine.h"
#include "input/timers.h"
#include "platform/platform.h"
#include "scenario/interp.h"
#include "tables/tables.h"

namespace qln {

void callback_add(Engine& engine, uint16_t id, int32_t buf_no, Scenario* scenario,
                  uint32_t interval_ms) {
    IntervalCallback record;
    record.id = id;
    record.scenario = scenario;
    record.interval_ms = interval_ms;
    record.last_run = engine.platform.clock->ticks();
    record.buf_no = buf_no;
    engine.timers.callbacks.push_front(record);
    callbacks_ticker_add(engine);
}

void callback_remove(Engine& engine, uint16_t id) {
    Timers& timers = engine.timers;
    // A callback removing records while the list is walked only marks them;
    // the walk unlinks them when it is done.
    if (timers.inside_callbacks) {
        for (IntervalCallback& record : timers.callbacks) {
            if (record.id == id) record.removed = true;
        }
        return;
    }
    timers.callbacks.remove_if([id](const IntervalCallback& r) { return r.id == id; });
}

int32_t cmd_tick_set(Engine& engine, const Args& args) {
    const tick_set_operands op(args);
    const uint16_t id = uint16_t(op.id());
    const int32_t buf_no = op.buf_no(), interval = op.interval();
    if (buf_no < 0 || interval < 0) {
        callback_remove(engine, id);
        return 0;
    }
    Scenario* scenario = buf_get_scenario(engine, buf_no);
    if (!scenario) return err_report(engine, -107, nullptr);
    callback_add(engine, id, buf_no, scenario, scenario_time_ms(interval));
    return 0;
}

int32_t cmd_tick_on(Engine& engine, const Args&) {
    engine.timers.callbacks_enabled = true;
    return 0;
}

int32_t cmd_tick_off(Engine& engine, const Args&) {
    engine.timers.callbacks_enabled = false;
    return 0;
}

}  // namespace qln
