#pragma once
// Stopwatch and interval callbacks (run by the poll step).

#include <cstdint>
#include <list>
#include "engine/timers_state.h"

namespace qln {

struct Engine;
struct Scenario;

// Adds a record at the head with last run = now; records with the same id stay.
void callback_add(Engine& engine, uint16_t id, int32_t buf_no, Scenario* scenario,
                  uint32_t interval_ms);
// Removes every record with this id; the others keep running.
void callback_remove(Engine& engine, uint16_t id);

}  // namespace qln
