#pragma once
// The interval callbacks' records, held by the engine.

#include <cstdint>
#include <list>

namespace qln {

struct Scenario;

struct IntervalCallback {
    uint16_t id = 0;
    Scenario* scenario = nullptr;  // owned by its data buffer
    uint32_t interval_ms = 0;
    uint32_t last_run = 0;
    // The data buffer that held scenario at tick_set: a record runs only
    // while that buffer still holds the same object, so a freed or replaced
    // scenario is never started.
    int32_t buf_no = -1;
    // Removed by a callback while the list is being walked; unlinked after.
    bool removed = false;
};

struct Timers {
    uint32_t stopwatch_mark = 0;
    std::list<IntervalCallback> callbacks;  // newest first
    bool callbacks_enabled = false;
    bool inside_callbacks = false;
};

}  // namespace qln
