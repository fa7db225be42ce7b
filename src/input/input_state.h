#pragma once
// The shared input state: written by the main thread under the input lock,
// copied into a snapshot by the scenario thread. The snapshot holds only the
// pointer, buttons and hit-test results; the key-state tables and the two
// queue rings stay in the shared block and are read under the input lock by
// the keyboard commands, so a poll step copies a few dozen bytes.

#include <cstdint>
#include <mutex>

namespace qln {

struct Engine;

inline constexpr int kInputQueueSize = 4096;

struct InputState {
    int32_t x = 0, y = 0;  // pointer in client coordinates
    uint8_t left = 0, right = 0, middle = 0;
    uint16_t window = 0;               // hit test, snapshots only
    int32_t button_id = 0;             // hit test, snapshots only
    uint16_t button_index = 0;         // hit test, snapshots only
    uint16_t last_character = 0xFFFF;  // since the previous snapshot; 0xFFFF none
};

// The keyboard rings and the key-state tables (now and at the previous
// message). Only the key_state command reads the key states, so they stay out
// of the snapshot that every command's poll step copies.
struct InputQueues {
    uint8_t key_state[256] = {};  // bit 7 = down, per virtual key
    uint8_t char_queue[kInputQueueSize] = {};
    uint16_t key_queue[kInputQueueSize] = {};
    uint8_t previous_key_state[256] = {};
    int32_t char_read = 0, char_write = 0, key_read = 0, key_write = 0;
};

// Modifier bits of a queued key code: (modifiers << 8) | virtual key.
inline constexpr uint16_t kKeyShift = 1, kKeyCtrl = 2, kKeyAlt = 4;

struct InputShared {
    std::mutex lock;  // the input lock
    InputState state;
    InputQueues queues;
};

// Copies the input state under the input lock, then clears the live last
// character.
void snapshot(Engine& engine, InputState& out);

// The two keyboard rings, for queue_take.
enum class InputQueue : uint8_t { Character, Key };

// Takes the oldest entry of a ring under the input lock; 0 when nothing is
// available. The character ring hands out a double-byte character whole
// (lead * 256 + trail) and leaves a lone lead byte queued until its trail
// byte arrives.
uint16_t queue_take(Engine& engine, InputQueue which);
// Empties both rings (indices and contents) under the input lock.
void queue_clear(Engine& engine);
// The live pointer and button flags, read under the input lock without
// touching the last character (which belongs to the snapshots of waiting
// commands).
void input_peek(Engine& engine, int32_t& x, int32_t& y, uint8_t& left, uint8_t& right);

// Main-thread hooks: update the live state (the caller holds the input lock).
void input_char_push(InputShared& input, uint8_t code);
void input_key_push(InputShared& input, uint16_t key_code);
// Refreshes the key-state table from new_state and queues every key except
// Shift, Control and Alt that went down since the previous refresh.
void input_keyboard_refresh(InputShared& input, const uint8_t new_state[256]);
// A key-down message: the navigation keys (Page Up, Page Down, End, Home, the
// arrows, Insert, Delete) push their control codes into the character queue;
// other keys push nothing.
void input_key_down(InputShared& input, uint8_t virtual_key);
// The control code a navigation key pushes, or 0 for any other key.
uint8_t input_navigation_code(uint8_t virtual_key);

}  // namespace qln
