// The scenario thread's side of the shared input: it copies the small state
// block into its snapshot and reads the rings only through the keyboard
// commands.

#include "input/input_state.h"

#include <cstring>

#include "base/sjis.h"
#include "engine/engine.h"

namespace qln {

void snapshot(Engine& engine, InputState& out) {
    LockHold hold(engine.shared.input.lock);
    out = engine.shared.input.state;
    engine.shared.input.state.last_character = 0xFFFF;
}

uint16_t queue_take(Engine& engine, InputQueue which) {
    LockHold hold(engine.shared.input.lock);
    InputQueues& q = engine.shared.input.queues;
    // Indices are kept in range by the pushes; masking keeps a stray value
    // from reaching outside the rings all the same.
    constexpr int32_t kMask = kInputQueueSize - 1;
    if (which == InputQueue::Key) {
        const int32_t read = q.key_read & kMask;
        if (read == (q.key_write & kMask)) return 0;
        q.key_read = (read + 1) & kMask;
        return q.key_queue[read];
    }
    const int32_t read = q.char_read & kMask;
    const int32_t write = q.char_write & kMask;
    if (read == write) return 0;
    const uint8_t first = q.char_queue[read];
    if (!sjis_is_lead_byte(first)) {
        q.char_read = (read + 1) & kMask;
        return first;
    }
    const int32_t next = (read + 1) & kMask;
    if (next == write) return 0;  // the trail byte has not arrived yet
    q.char_read = (next + 1) & kMask;
    return static_cast<uint16_t>(first << 8 | q.char_queue[next]);
}

void queue_clear(Engine& engine) {
    LockHold hold(engine.shared.input.lock);
    InputQueues& q = engine.shared.input.queues;
    std::memset(q.char_queue, 0, sizeof q.char_queue);
    std::memset(q.key_queue, 0, sizeof q.key_queue);
    q.char_read = q.char_write = q.key_read = q.key_write = 0;
}

void input_peek(Engine& engine, int32_t& x, int32_t& y, uint8_t& left, uint8_t& right) {
    LockHold hold(engine.shared.input.lock);
    x = engine.shared.input.state.x;
    y = engine.shared.input.state.y;
    left = engine.shared.input.state.left;
    right = engine.shared.input.state.right;
}

}  // namespace qln
