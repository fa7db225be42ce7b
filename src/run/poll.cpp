// The poll step, the click wait and the interval callbacks.

#include "run/run_loop.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "engine/engine.h"
#include "engine/tickers.h"
#include "input/tracking.h"
#include "platform/platform.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"
#include "screen/screen.h"
#include "tables/tables.h"

namespace qln {
namespace {

// Runs one record's scenario to its end. False when it cannot start or a
// step stops.
bool run_record(Engine& engine, IntervalCallback& record, Scenario* interrupted) {
    if (!scn_start(engine, record.scenario, false, false)) return false;
    while (engine.interp.current != interrupted) {
        if (scn_step(engine) < 0) return false;
    }
    return true;
}

// The text of string register 0 kept across a run of callbacks. Callbacks
// may be due at every poll, so a usual text is kept without allocating.
class SavedText {
  public:
    void set(const char* text) {
        const size_t length = std::strlen(text);
        if (length < sizeof small_) {
            std::memcpy(small_, text, length + 1);
            large_.clear();
        } else {
            large_.assign(text, length);
        }
        empty_ = length == 0;
    }
    bool empty() const { return empty_; }
    const char* c_str() const { return large_.empty() ? small_ : large_.c_str(); }

  private:
    char small_[256] = {};
    std::string large_;
    bool empty_ = true;
};

bool callbacks_active(const Engine& engine) {
    const Timers& timers = engine.timers;
    return timers.callbacks_enabled && !timers.inside_callbacks && !timers.callbacks.empty();
}

uint32_t callbacks_due_in(const Engine& engine, uint32_t now) {
    uint32_t due = kTickerIdle;
    for (const IntervalCallback& record : engine.timers.callbacks) {
        if (!record.removed)
            due = std::min(due, ticks_until(now, record.last_run, record.interval_ms));
    }
    return due;
}

}  // namespace

void callbacks_ticker_add(Engine& engine) {
    ticker_add(engine, Ticker{"interval callbacks", kTickerOrderCallbacks, callbacks_active,
                              callbacks_run, callbacks_due_in});
}

bool callbacks_run(Engine& engine, uint32_t now) {
    Timers& timers = engine.timers;
    timers.inside_callbacks = true;
    bool any_ran = false;
    bool ok = true;
    SavedText saved_str0;
    Scenario* interrupted = nullptr;
    // A callback may add records (at the head, behind this walk) and remove
    // some (marked, unlinked after the walk), so the walk's place stays valid.
    for (IntervalCallback& record : timers.callbacks) {
        if (record.removed) continue;
        // Unsigned subtraction is the wrap-around difference of two tick counts.
        if (now - record.last_run < record.interval_ms) continue;
        if (buf_get_scenario(engine, record.buf_no) != record.scenario) {
            record.removed = true;
            continue;
        }
        if (!any_ran) {
            results_use_callback_bank(engine, true);
            const char* str0 = str_get(engine, 0);
            saved_str0.set(str0 ? str0 : "");
            interrupted = engine.interp.current;
            any_ran = true;
        }
        record.last_run = now;
        if (!run_record(engine, record, interrupted)) {
            ok = false;
            break;
        }
    }
    timers.callbacks.remove_if([](const IntervalCallback& r) { return r.removed; });
    // The state is restored after a failure as well, so one failed callback
    // does not stop every later poll from running callbacks.
    if (any_ran) {
        if (!ok) run_unwind_to(engine, interrupted);
        results_use_callback_bank(engine, false);
        // An empty saved text is left as the callbacks left it.
        if (!saved_str0.empty()) str_set(engine, 0, saved_str0.c_str());
    }
    timers.inside_callbacks = false;
    return ok;
}

bool poll(Engine& engine, InputState& snap) {
    // A batch run's limit ends it as a closed window would.
    if (engine.shell.limits.reached()) return false;
    ClockService& clock = *engine.platform.clock;
    // A minimised program holds here, outside every lock, until it is restored.
    if (!clock.hold_while_minimised()) return false;
    snapshot(engine, snap);
    // The steps that usually have nothing to do are tested here first: this
    // runs after every command.
    InputTracking& tracking = engine.tracking;
    if (tracking.drag.window != 0) drag_step(engine, snap);
    hit_test(engine, snap);
    // A drag never counts as a click.
    if (tracking.drag.window != 0) {
        snap.left = 0;
        snap.right = 0;
    }

    // The clock is read only when a ticker keeps time: a clock read costs
    // about as much as the rest of an idle step.
    if (tickers_active(engine)) {
        if (!tickers_run(engine, clock.ticks())) return false;
    }
    screen_update(engine);
    return true;
}

uint32_t poll_quiet_ms(const Engine& engine, uint32_t now, uint32_t max_ms) {
    return tickers_quiet_ms(engine, now, max_ms);
}

void idle_until_due(Engine& engine) {
    ClockService& clock = *engine.platform.clock;
    const uint32_t quiet = poll_quiet_ms(engine, clock.ticks(), kIdleWaitMaxMs);
    // Something due soon gets the ordinary pass, so it runs on time.
    if (quiet <= 1) {
        clock.idle_pass();
    } else {
        clock.idle_wait(quiet);
    }
}

Click wait_click_for(Engine& engine, InputState& snap) {
    bool pressed_left = false;
    bool pressed_right = false;
    for (;;) {
        if (!poll(engine, snap)) return Click::Failed;
        if ((snap.left != 0) != pressed_left) {
            if (pressed_left) return Click::Left;
            pressed_left = true;
        }
        if ((snap.right != 0) != pressed_right) {
            if (pressed_right) return pressed_left ? Click::Left : Click::Right;
            pressed_right = true;
        }
        // The platform waits for input or for the next thing due (a virtual
        // clock counts a millisecond), so the wait neither burns a processor
        // nor stalls.
        idle_until_due(engine);
    }
}

int wait_click(Engine& engine, InputState& snap) {
    return wait_click_for(engine, snap) == Click::Left ? 1 : 0;
}

}  // namespace qln
