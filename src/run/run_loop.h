#pragma once
// The run loop: one interpreter step (a command, then the poll step), the
// runs nested in a step, the poll step that runs after every command and in
// every waiting loop, and the waits built on it.

#include <cstdint>

#include "engine/reentry.h"
#include "input/input_state.h"

namespace qln {

struct Engine;
struct Scenario;

// Executes one command of the current scenario, then the poll step: 0 to go
// on, negative to stop.
int32_t scn_step(Engine& engine);
// Runs a subroutine of the current scenario to its return: 0, a negative
// control result, or -1 (which callers report as -101).
int32_t call_wait(Engine& engine, uint16_t target);
// scn_invoke (engine/reentry.h) runs a callback to completion.
// After a nested run failed: ends the scenarios it left above caller (all of
// them when caller is gone), so the interrupted run resumes where it was and
// not inside the failed one.
void run_unwind_to(Engine& engine, Scenario* caller);

// Takes a snapshot, moves a dragged window, runs the hit test, due interval
// callbacks, the cursor, animations and fades, and updates the screen. False
// when an interval callback failed or the program must end.
[[nodiscard]] bool poll(Engine& engine, InputState& snapshot);

// How long no ticker of the poll step (interval callbacks, cursor frames,
// ...) is due from now, at most max_ms; 0 when one is.
uint32_t poll_quiet_ms(const Engine& engine, uint32_t now, uint32_t max_ms);

// A pass of a waiting loop that runs no scenario code between its poll
// steps: sleeps until input arrives or the poll step has something due (at
// most kIdleWaitMaxMs). A virtual clock counts 1 ms, as for any idle pass.
void idle_until_due(Engine& engine);
inline constexpr uint32_t kIdleWaitMaxMs = 100;

// The interval callbacks' ticker (kTickerOrderCallbacks), added when
// callbacks are first set.
void callbacks_ticker_add(Engine& engine);

enum class Click : uint8_t { Right, Left, Failed };

// Waits for a click (press and release) on snapshot. A button already held
// when the wait starts counts as pressed, so its release completes the click.
// The right button's release answers Left when the left button went down
// meanwhile. Failed when a poll step failed.
Click wait_click_for(Engine& engine, InputState& snapshot);

// wait_click_for as a left flag: 1 for the left button, 0 for the right button
// or a failed poll step.
int wait_click(Engine& engine, InputState& snapshot);

// Runs every interval callback whose interval has passed at now, newest
// first, each to its end, with the callback bank of result registers visible.
// A record whose data buffer no longer holds its scenario is dropped unrun.
// False when a callback could not start or stopped with an error; the result
// bank, string register 0, the current scenario and the inside flag are
// restored on failure too, so callbacks keep running at later polls.
[[nodiscard]] bool callbacks_run(Engine& engine, uint32_t now);

}  // namespace qln
