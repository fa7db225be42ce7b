#include "engine/tickers.h"

#include <algorithm>
#include <cstring>

#include "engine/engine.h"

namespace qln {

void ticker_add(Engine& engine, const Ticker& ticker) {
    std::vector<Ticker>& list = engine.tickers.tickers;
    for (const Ticker& t : list)
        if (std::strcmp(t.name, ticker.name) == 0) return;
    auto at = list.begin();
    while (at != list.end() && at->order <= ticker.order) ++at;
    list.insert(at, ticker);
}

bool tickers_active(const Engine& engine) {
    for (const Ticker& t : engine.tickers.tickers)
        if (t.active(engine)) return true;
    return false;
}

bool tickers_run(Engine& engine, uint32_t now) {
    // Indexed: a ticker may add another (the list may grow while it runs).
    for (size_t i = 0; i < engine.tickers.tickers.size(); ++i) {
        const Ticker t = engine.tickers.tickers[i];
        if (t.active(engine) && !t.run(engine, now)) return false;
    }
    return true;
}

uint32_t tickers_quiet_ms(const Engine& engine, uint32_t now, uint32_t max_ms) {
    uint32_t quiet = max_ms;
    for (const Ticker& t : engine.tickers.tickers)
        if (t.active(engine)) quiet = std::min(quiet, t.due_in(engine, now));
    return quiet;
}

uint32_t ticks_until(uint32_t now, uint32_t since, uint32_t interval_ms) {
    // Unsigned differences are wrap-around differences of tick counts; one
    // already past its time is due now.
    const uint32_t passed = now - since;
    return passed >= interval_ms ? 0u : interval_ms - passed;
}

}  // namespace qln
