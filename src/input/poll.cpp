// The poll step, the click wait and the interval callbacks.

#include "input/poll.h"

#include <string>

#include "graphics/screen.h"
#include "platform/platform.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"
#include "shell/engine.h"
#include "tables/tables.h"

namespace qln {
namespace {

// Ends the scenarios a failed callback left above the interrupted one. If the
// interrupted scenario is no longer on the chain, everything ends.
void unwind_to(Engine& engine, Scenario* interrupted) {
    while (engine.interp.current && engine.interp.current != interrupted) scn_end(engine);
}

}  // namespace

bool callbacks_run(Engine& engine, uint32_t now) {
    Timers& timers = engine.timers;
    timers.inside_callbacks = true;
    bool any_ran = false;
    bool ok = true;
    std::string saved_str0;
    Scenario* interrupted = nullptr;
    for (IntervalCallback& record : timers.callbacks) {
        // Unsigned subtraction is the wrap-around difference of two tick counts.
        if (now - record.last_run < record.interval_ms) continue;
        if (!any_ran) {
            results_use_callback_bank(engine, true);
            const char* str0 = str_get(engine, 0);
            saved_str0 = str0 ? str0 : "";
            interrupted = engine.interp.current;
            any_ran = true;
        }
        record.last_run = now;
        if (!scn_start(engine, record.scenario, false, false)) {
            ok = false;
            break;
        }
        while (engine.interp.current != interrupted) {
            if (scn_step(engine) < 0) {
                ok = false;
                break;
            }
        }
        if (!ok) break;
    }
    if (any_ran) {
        if (!ok) unwind_to(engine, interrupted);
        results_use_callback_bank(engine, false);
        // An empty saved text is left as the callbacks left it.
        if (!saved_str0.empty()) str_set(engine, 0, saved_str0.c_str());
    }
    timers.inside_callbacks = false;
    return ok;
}

bool poll(Engine& engine, InputState& snap) {
    Platform* platform = engine.platform;
    // A minimised program holds here, outside every lock, until it is restored.
    if (platform && !platform->hold_while_minimised()) return false;
    const uint32_t now = platform ? platform->ticks() : 0;
    snapshot(engine, snap);

    // Window dragging, the hit test and the button highlight come with the
    // windows: they work on snap here, and a drag clears snap's buttons.

    Timers& timers = engine.timers;
    if (timers.callbacks_enabled && !timers.inside_callbacks && !timers.callbacks.empty()) {
        if (!callbacks_run(engine, now)) return false;
    }

    // The cursor animation, the animation scheduler and the volume fades step
    // here with now; then the screen update shows the dirty rectangle.
    screen_update(engine);
    return true;
}

int wait_click(Engine& engine, InputState& snap) {
    bool pressed_left = false;
    bool pressed_right = false;
    for (;;) {
        if (!poll(engine, snap)) return 0;
        if ((snap.left != 0) != pressed_left) {
            if (pressed_left) return 1;
            pressed_left = true;
        }
        if ((snap.right != 0) != pressed_right) {
            if (pressed_right) return pressed_left ? 1 : 0;
            pressed_right = true;
        }
        // This loop does not sleep: a virtual clock counts each pass.
        if (engine.platform) engine.platform->idle_pass();
    }
}

}  // namespace qln
