#pragma once
// The tickers of the poll step: everything that keeps time while scenarios
// run and wait (the animated cursor, interval callbacks, and later
// animations, volume fades and sound notifications) is one record here.

#include <cstdint>
#include <vector>

namespace qln {

struct Engine;

inline constexpr uint32_t kTickerIdle = UINT32_MAX;  // due_in: nothing to do until told

struct Ticker {
    const char* name = "";
    // Its place in the poll step: lower runs first.
    int order = 0;
    // Whether it keeps time at all now; the poll step reads the clock only
    // when one does, since a clock read costs about as much as an idle step.
    bool (*active)(const Engine& engine) = nullptr;
    // Does what is due at now; false when the poll step must fail.
    bool (*run)(Engine& engine, uint32_t now) = nullptr;
    // Milliseconds from now until it is next due: 0 when due now,
    // kTickerIdle when nothing is due until something changes.
    uint32_t (*due_in)(const Engine& engine, uint32_t now) = nullptr;
};

// A subsystem adds its ticker when it first has something to keep time for.
struct TickerList {
    std::vector<Ticker> tickers;  // by order
};

}  // namespace qln
