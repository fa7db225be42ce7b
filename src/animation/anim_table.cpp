// The animation table: defining, starting and stopping animations, playing
// a range and waiting for it, and the scheduler's ticker.

#include <cstddef>
#include <cstdint>

#include "animation/animation.h"
#include "engine/engine.h"
#include "engine/tickers.h"
#include "input/input_state.h"
#include "run/run_loop.h"

namespace qln {
namespace {

// Records beyond a newly defined number, so a run of definitions grows the
// table only now and then.
constexpr size_t kGrowthRecords = 8;

bool any_live(const Engine& engine) {
    for (const AnimRecord& r : engine.animations.records)
        if (r.live()) return true;
    return false;
}

bool range_running(const Engine& engine, uint16_t first, uint16_t last) {
    const std::vector<AnimRecord>& records = engine.animations.records;
    for (size_t n = first; n <= last && n < records.size(); ++n)
        if (records[n].live()) return true;
    return false;
}

bool animations_active(const Engine& engine) {
    return engine.animations.running;
}

bool animations_run(Engine& engine, uint32_t now) {
    anim_tick(engine, now);
    return true;
}

uint32_t animations_due_in(const Engine& engine, uint32_t now) {
    const AnimationState& s = engine.animations;
    return ticks_until(now, s.last_call, s.next_event);
}

void restart(AnimRecord& r, uint16_t first, uint16_t last, uint16_t loops) {
    r.running = true;
    r.frame = 0;
    r.remaining = 0;
    r.loops = loops;
    r.range_first = first;
    r.range_last = last;
}

}  // namespace

void anim_init(Engine& engine) {
    engine.animations = AnimationState{};
    engine.animations.records.resize(engine.settings.animation_count);
}

void anim_release(Engine& engine) {
    engine.animations = AnimationState{};
}

void anim_define(Engine& engine, uint16_t n, int32_t win_no, int32_t x, int32_t y,
                 int32_t sheet_buf, int32_t script_buf, uint16_t flags) {
    std::vector<AnimRecord>& records = engine.animations.records;
    if (n >= records.size()) records.resize(size_t(n) + kGrowthRecords);
    AnimRecord& r = records[n];
    r.defined = true;
    r.running = false;
    r.frame = 0;
    r.remaining = 0;
    r.win_no = win_no;
    r.x = x;
    r.y = y;
    r.sheet_buf = sheet_buf;
    r.script_buf = script_buf;
    r.flags = flags;
}

bool anim_set_running(Engine& engine, uint16_t n, bool on) {
    AnimationState& s = engine.animations;
    if (n >= s.records.size() || !s.records[n].defined) return false;
    AnimRecord& r = s.records[n];
    if (on) {
        restart(r, 1, 0, 0);
        // Joining animations already running, the first frame waits for
        // their next frame change, so they keep in step.
        if (!s.running) {
            s.running = true;
            s.next_event = 0;
            s.pending = 0;
        }
        animation_ticker_add(engine);
        return true;
    }
    r.running = false;
    if (!any_live(engine)) {
        s.running = false;
        s.next_event = 0;
        s.pending = 0;
    }
    return true;
}

PlayEnd anim_play_range(Engine& engine, uint16_t first, uint16_t last, uint16_t loops) {
    AnimationState& s = engine.animations;
    if (first >= s.records.size() || last >= s.records.size()) return PlayEnd::Refused;
    if (first > last) return PlayEnd::Done;
    // Every member is checked before any starts, so a refused play leaves
    // the table as it was.
    for (size_t n = first; n <= last; ++n)
        if (!s.records[n].defined) return PlayEnd::Refused;
    for (size_t n = first; n <= last; ++n) restart(s.records[n], first, last, loops);
    if (!s.running) s.pending = 0;
    s.running = true;
    s.next_event = 0;
    animation_ticker_add(engine);

    InputState snap;
    for (;;) {
        if (!poll(engine, snap)) return PlayEnd::PollFailed;
        if (!range_running(engine, first, last)) return PlayEnd::Done;
        // Sleeps until input arrives or the next frame change is due.
        idle_until_due(engine);
    }
}

void animation_ticker_add(Engine& engine) {
    ticker_add(engine, Ticker{"animations", kTickerOrderAnimation, animations_active,
                              animations_run, animations_due_in});
}

}  // namespace qln
