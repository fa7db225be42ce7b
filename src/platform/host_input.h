#pragma once
// The main thread's side of the shared input: what a backend does with the
// window's keyboard and character messages. The caller holds the input lock.

#include <cstdint>

#include "platform/thread_shared.h"

namespace qln {

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
