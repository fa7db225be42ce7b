#pragma once
// The time-wait, stopwatch and interval-callback commands. Times given by
// scenarios count in units of 10 ms; tick differences wrap modulo 2^32.

#include <cstdint>

namespace qln {

struct Engine;
struct Args;

int32_t cmd_wait(Engine& engine, const Args& args);         // 0x50
int32_t cmd_clock_get(Engine& engine, const Args& args);    // 0x52
int32_t cmd_clock_reset(Engine& engine, const Args& args);  // 0x53
int32_t cmd_clock_wait(Engine& engine, const Args& args);   // 0x54
int32_t cmd_tick_set(Engine& engine, const Args& args);     // 0xC0
int32_t cmd_tick_on(Engine& engine, const Args& args);      // 0xC1
int32_t cmd_tick_off(Engine& engine, const Args& args);     // 0xC2

// A scenario time (units of 10 ms) in milliseconds: 0 for a negative time,
// at most the longest span a tick difference can measure.
uint32_t scenario_time_ms(int32_t time);

}  // namespace qln
