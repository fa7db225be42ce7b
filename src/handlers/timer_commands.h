#pragma once
// The time-wait, stopwatch and interval-callback commands. Times given by
// scenarios count in units of 10 ms; tick differences wrap modulo 2^32.

#include <cstdint>

#include "commands/command_table.h"

namespace qln {

struct Engine;
class Args;

// A scenario time (units of 10 ms) in milliseconds: 0 for a negative time,
// at most the longest span a tick difference can measure.
uint32_t scenario_time_ms(int32_t time);

}  // namespace qln
