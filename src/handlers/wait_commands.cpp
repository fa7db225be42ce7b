// wait, clock_wait and the stopwatch.

#include "engine/engine.h"
#include "handlers/timer_commands.h"
#include "platform/platform.h"
#include "run/run_loop.h"
#include "scenario/interp.h"
#include "tables/tables.h"

namespace qln {
namespace {

uint32_t now_ms(Engine& engine) {
    return engine.platform.clock->ticks();
}

// Waits until duration_ms have passed since start (a tick count), or, with
// click, until a button is down before then. R1 = 1 for the left button, 255
// for the right one, 0 when the time ran out. Every pass sleeps 5 ms.
int32_t wait_until(Engine& engine, uint32_t start, uint32_t duration_ms, bool click) {
    InputState snap;
    for (;;) {
        engine.platform.clock->sleep_ms(5);
        const uint32_t elapsed = now_ms(engine) - start;
        if (!poll(engine, snap)) return err_report(engine, -107, nullptr);
        if (elapsed >= duration_ms) {
            result_set(engine, 1, 0);
            return 0;
        }
        if (click && (snap.left || snap.right)) {
            result_set(engine, 1, snap.left ? 1 : 255);
            return 0;
        }
    }
}

}  // namespace

uint32_t scenario_time_ms(int32_t time) {
    if (time <= 0) return 0;
    const uint64_t ms = uint64_t(time) * 10;
    return ms > UINT32_MAX ? UINT32_MAX : uint32_t(ms);
}

int32_t cmd_wait(Engine& engine, const Args& args) {
    const wait_operands op(args);
    const int32_t time = op.time(), click = op.click();
    return wait_until(engine, now_ms(engine), scenario_time_ms(time), click != 0);
}

int32_t cmd_clock_wait(Engine& engine, const Args& args) {
    const clock_wait_operands op(args);
    const int32_t time = op.time(), click = op.click();
    return wait_until(engine, engine.timers.stopwatch_mark, scenario_time_ms(time), click != 0);
}

int32_t cmd_clock_get(Engine& engine, const Args&) {
    result_set(engine, 1, int32_t(now_ms(engine) - engine.timers.stopwatch_mark));
    return 0;
}

int32_t cmd_clock_reset(Engine& engine, const Args&) {
    engine.timers.stopwatch_mark = now_ms(engine);
    return 0;
}

}  // namespace qln
