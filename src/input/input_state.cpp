// The shared input state and the two keyboard rings. The main thread writes
// them under the input lock; the scenario thread copies the small state block
// into its snapshot and reads the rings only through the keyboard commands.

#include "input/input_state.h"

#include <cstring>

#include "engine/engine.h"
#include "base/sjis.h"

namespace qln {
namespace {

constexpr uint8_t kVkShift = 0x10, kVkControl = 0x11, kVkAlt = 0x12;

// A full ring drops its oldest entry: the read index moves on when the write
// index catches up with it, so a ring holds at most kInputQueueSize - 1.
template <typename T>
void ring_push(T* ring, int32_t& read, int32_t& write, T value) {
    ring[write] = value;
    write = (write + 1) % kInputQueueSize;
    if (write == read) read = (read + 1) % kInputQueueSize;
}

}  // namespace

void snapshot(Engine& engine, InputState& out) {
    std::lock_guard<std::mutex> hold(engine.input.lock);
    out = engine.input.state;
    engine.input.state.last_character = 0xFFFF;
}

uint16_t queue_take(Engine& engine, InputQueue which) {
    std::lock_guard<std::mutex> hold(engine.input.lock);
    InputQueues& q = engine.input.queues;
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
    std::lock_guard<std::mutex> hold(engine.input.lock);
    InputQueues& q = engine.input.queues;
    std::memset(q.char_queue, 0, sizeof q.char_queue);
    std::memset(q.key_queue, 0, sizeof q.key_queue);
    q.char_read = q.char_write = q.key_read = q.key_write = 0;
}

void input_peek(Engine& engine, int32_t& x, int32_t& y, uint8_t& left, uint8_t& right) {
    std::lock_guard<std::mutex> hold(engine.input.lock);
    x = engine.input.state.x;
    y = engine.input.state.y;
    left = engine.input.state.left;
    right = engine.input.state.right;
}

void input_char_push(InputShared& input, uint8_t code) {
    InputQueues& q = input.queues;
    ring_push(q.char_queue, q.char_read, q.char_write, code);
    input.state.last_character = code;
}

void input_key_push(InputShared& input, uint16_t key_code) {
    InputQueues& q = input.queues;
    ring_push(q.key_queue, q.key_read, q.key_write, key_code);
}

void input_keyboard_refresh(InputShared& input, const uint8_t new_state[256]) {
    uint16_t modifiers = 0;
    if (new_state[kVkShift] & 0x80) modifiers |= kKeyShift;
    if (new_state[kVkControl] & 0x80) modifiers |= kKeyCtrl;
    if (new_state[kVkAlt] & 0x80) modifiers |= kKeyAlt;
    uint8_t* previous = input.queues.previous_key_state;
    for (int vk = 0; vk < 256; ++vk) {
        if (vk == kVkShift || vk == kVkControl || vk == kVkAlt) continue;
        if (new_state[vk] != previous[vk] && (new_state[vk] & 0x80)) {
            input_key_push(input, static_cast<uint16_t>((modifiers << 8) | vk));
        }
    }
    for (int vk = 0; vk < 256; ++vk) {
        input.queues.key_state[vk] = new_state[vk];
        previous[vk] = new_state[vk];
    }
}

uint8_t input_navigation_code(uint8_t virtual_key) {
    switch (virtual_key) {
        case 0x21:
            return 3;  // Page Up
        case 0x22:
            return 4;  // Page Down
        case 0x23:
            return 6;  // End
        case 0x24:
            return 5;  // Home
        case 0x25:
            return 0x1D;  // Left
        case 0x26:
            return 0x1E;  // Up
        case 0x27:
            return 0x1C;  // Right
        case 0x28:
            return 0x1F;  // Down
        case 0x2D:
            return 1;  // Insert
        case 0x2E:
            return 2;  // Delete
        default:
            return 0;
    }
}

void input_key_down(InputShared& input, uint8_t virtual_key) {
    const uint8_t code = input_navigation_code(virtual_key);
    if (code != 0) input_char_push(input, code);
}

}  // namespace qln
