#pragma once
// Stopwatch and interval callbacks (run by the poll step).

#include <cstdint>
#include <list>

namespace qln {

struct Engine;
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

// Adds a record at the head with last run = now; records with the same id stay.
void callback_add(Engine& engine, uint16_t id, int32_t buf_no, Scenario* scenario,
                  uint32_t interval_ms);
// Removes every record with this id; the others keep running.
void callback_remove(Engine& engine, uint16_t id);

}  // namespace qln
