#pragma once
// Adding tickers and asking them, for the poll step and its idle sleep.

#include <cstdint>

#include "engine/ticker_state.h"

namespace qln {

struct Engine;

// The poll step's order of the tickers, in one place: interval callbacks
// run before the cursor frame changes.
inline constexpr int kTickerOrderCallbacks = 100;
inline constexpr int kTickerOrderCursor = 200;
// Animations change frames after the cursor and before the volume fades.
inline constexpr int kTickerOrderAnimation = 250;
// Volume fades and the sound graph after the cursor, as the poll step has
// always run them.
inline constexpr int kTickerOrderSound = 300;

// Adds a ticker at its place; one of the same name is not added twice.
void ticker_add(Engine& engine, const Ticker& ticker);
// Whether any ticker keeps time now.
bool tickers_active(const Engine& engine);
// Runs every active ticker at now in their order; false at the first that fails.
[[nodiscard]] bool tickers_run(Engine& engine, uint32_t now);
// How long from now no active ticker is due, at most max_ms; 0 when one is.
uint32_t tickers_quiet_ms(const Engine& engine, uint32_t now, uint32_t max_ms);
// Milliseconds until since + interval_ms is reached at now (0 once it has),
// with tick counts taken modulo 2^32: the due_in of a periodic ticker.
uint32_t ticks_until(uint32_t now, uint32_t since, uint32_t interval_ms);

}  // namespace qln
