// The main thread's writes into the shared input: key states, the key ring
// and the character ring.

#include "platform/host_input.h"

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
