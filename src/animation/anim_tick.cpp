// The animation scheduler. A quiet tick costs one subtraction; only when the
// earliest frame change is reached does it walk the table, changing at most
// one frame per animation: time past the due moment is dropped, not caught
// up, so a late poll step never makes an animation race.

#include <algorithm>
#include <cstdint>

#include "animation/anim_internal.h"
#include "animation/animation.h"
#include "engine/engine.h"

namespace qln {
namespace {

// When nothing runs the next event is taken from here down.
constexpr uint32_t kNoEventMs = 0x0FFFFFFF;

uint32_t less_by(uint32_t value, uint32_t by) {
    return value > by ? value - by : 0;
}

// The play ran off the end of its frames.
void play_ended_at_marker(AnimRecord& r) {
    if (r.loops == 0) {
        r.frame = 0;
    } else if (--r.loops == 0) {
        r.running = false;  // the last frame drawn stays
    } else {
        r.frame = 0;
    }
}

// A frame of no duration ends the play; without loops the animation stops.
void play_ended_by_zero_duration(AnimRecord& r) {
    if (r.loops == 0 || --r.loops == 0) {
        r.running = false;
    } else {
        r.frame = 0;
    }
}

// One frame change: on to the next frame (the first frame after a start,
// with remaining 0, is shown as it is), drawn, and timed.
void fire(Engine& engine, AnimRecord& r) {
    const FrameScript script = anim_script(engine, r);
    if (r.remaining != 0) {
        ++r.frame;
        if (script_frame(script, r.frame).end()) play_ended_at_marker(r);
    }
    anim_draw(engine, r);
    const ScriptFrame shown = script_frame(script, r.frame);
    r.remaining = uint32_t(shown.duration) * 10;
    if (shown.duration == 0) play_ended_by_zero_duration(r);
}

// The members of the group whose first live record is head: the records of
// its range that were started with it. A record of the range started alone
// since, or into another range, has left the group.
bool member_of(const AnimRecord& r, const AnimRecord& head) {
    return r.range_first == head.range_first && r.range_last == head.range_last;
}

// A group moves in lock step: when any live member is due, the due members
// change frame and every other defined member is redrawn as it is, all in
// number order, so overlapping members keep their stacking.
void group_step(Engine& engine, size_t head_no, uint32_t elapsed, uint32_t walk) {
    std::vector<AnimRecord>& records = engine.animations.records;
    const AnimRecord head = records[head_no];
    const size_t first = head.range_first;
    const size_t last = std::min<size_t>(head.range_last, records.size() - 1);
    uint32_t m = head.remaining;
    for (size_t i = first; i <= last; ++i) {
        const AnimRecord& r = records[i];
        if (r.live() && member_of(r, head)) m = std::min(m, r.remaining);
    }
    for (size_t i = first; i <= last; ++i) {
        AnimRecord& r = records[i];
        if (!member_of(r, head) || r.walk == walk) continue;
        r.walk = walk;
        if (m > elapsed) {
            if (r.live()) r.remaining -= elapsed;
        } else if (r.live() && r.remaining <= m) {
            fire(engine, r);
        } else {
            r.remaining = less_by(r.remaining, m);
            if (r.defined) anim_draw(engine, r);
        }
    }
}

void walk_table(Engine& engine, uint32_t elapsed) {
    AnimationState& s = engine.animations;
    const uint32_t walk = ++s.walks;
    for (AnimRecord& r : s.records) {
        if (r.live()) r.remaining = less_by(r.remaining, s.pending);
    }
    s.pending = 0;
    // Drawing runs no scenario code, so the table keeps its size meanwhile.
    for (size_t n = 0; n < s.records.size(); ++n) {
        AnimRecord& r = s.records[n];
        if (!r.live() || r.walk == walk) continue;
        if (!r.single()) {
            group_step(engine, n, elapsed, walk);
        } else if (r.remaining > elapsed) {
            r.remaining -= elapsed;
        } else {
            fire(engine, r);
        }
    }
    uint32_t next = kNoEventMs;
    bool any = false;
    for (const AnimRecord& r : s.records) {
        if (!r.live()) continue;
        any = true;
        next = std::min(next, r.remaining);
    }
    s.running = any;
    s.next_event = any ? next : 0;
}

}  // namespace

void anim_tick(Engine& engine, uint32_t now) {
    AnimationState& s = engine.animations;
    // Unsigned subtraction is the wrap-around difference of two tick counts.
    const uint32_t elapsed = now - s.last_call;
    s.last_call = now;
    if (!s.running) return;
    if (s.next_event > elapsed) {
        s.next_event -= elapsed;
        s.pending += elapsed;
        return;
    }
    walk_table(engine, elapsed);
}

}  // namespace qln
