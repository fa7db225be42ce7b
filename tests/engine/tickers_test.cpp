// The ticker list: order, one ticker per name, the quiet time and failures.

#include <gtest/gtest.h>

#include <string>

#include "engine/engine.h"
#include "engine/tickers.h"

namespace qln {
namespace {

// What the test tickers did; tickers are plain functions, so they report here.
struct Probe {
    static inline std::string ran;
    static inline bool active_b = true;
};

Ticker make(const char* name, int order, bool (*run)(Engine&, uint32_t),
            uint32_t (*due)(const Engine&, uint32_t)) {
    return Ticker{name, order, [](const Engine&) { return Probe::active_b; }, run, due};
}

TEST(Tickers, RunInTheirOrderOncePerNameAndStopAtAFailure) {
    Engine engine;
    Probe::ran.clear();
    Probe::active_b = true;
    ticker_add(engine, make(
                           "b", 200, [](Engine&, uint32_t) { return Probe::ran += 'b', true; },
                           [](const Engine&, uint32_t) { return 7u; }));
    ticker_add(engine, make(
                           "a", 100, [](Engine&, uint32_t) { return Probe::ran += 'a', true; },
                           [](const Engine&, uint32_t now) { return ticks_until(now, 0, 50); }));
    ticker_add(engine, make("a", 300, nullptr, nullptr));  // the same name again: ignored
    ASSERT_EQ(engine.tickers.tickers.size(), 2u);
    EXPECT_TRUE(tickers_active(engine));
    EXPECT_TRUE(tickers_run(engine, 10));
    EXPECT_EQ(Probe::ran, "ab");
    // The nearest due time wins, bounded by the caller's limit.
    EXPECT_EQ(tickers_quiet_ms(engine, 10, 100), 7u);
    EXPECT_EQ(tickers_quiet_ms(engine, 48, 100), 2u);
    EXPECT_EQ(tickers_quiet_ms(engine, 60, 100), 0u);
    EXPECT_EQ(tickers_quiet_ms(engine, 10, 3), 3u);
    ticker_add(engine, make(
                           "fails", 100, [](Engine&, uint32_t) { return Probe::ran += 'f', false; },
                           [](const Engine&, uint32_t) { return kTickerIdle; }));
    Probe::ran.clear();
    EXPECT_FALSE(tickers_run(engine, 10));
    EXPECT_EQ(Probe::ran, "af");  // after a of the same order; the failure ends the step before b
    // Inactive tickers neither run nor shorten the quiet time.
    Probe::active_b = false;
    Probe::ran.clear();
    EXPECT_FALSE(tickers_active(engine));
    EXPECT_TRUE(tickers_run(engine, 10));
    EXPECT_EQ(Probe::ran, "");
    EXPECT_EQ(tickers_quiet_ms(engine, 10, 100), 100u);
}

}  // namespace
}  // namespace qln
