#pragma once
// Stopwatch and interval callbacks (run by the poll step).

#include <cstdint>
#include <list>

namespace qln {

struct Scenario;

struct IntervalCallback {
    uint16_t id = 0;
    Scenario* scenario = nullptr;  // owned by its data buffer
    uint32_t interval_ms = 0;
    uint32_t last_run = 0;
};

struct Timers {
    uint32_t stopwatch_mark = 0;
    std::list<IntervalCallback> callbacks;  // newest first
    bool callbacks_enabled = false;
    bool inside_callbacks = false;
};

}  // namespace qln
