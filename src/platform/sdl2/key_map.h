#pragma once
// Host keys as the engine knows them: the virtual-key codes of the platform
// the games were made for (0x25 Left, 'A' to 'Z', 0x70 F1, 0xA0 left Shift,
// ...), and the key-state table kept from key messages.

#include <cstdint>

namespace qln {

// The virtual-key code of an SDL scancode; 0 for keys the engine has no code
// for. With Num Lock off the keypad keys are the navigation keys, as on the
// original platform.
uint8_t vk_from_scancode(int scancode, bool num_lock);

// Records a key change in a 256-byte key-state table (bit 7 = down). The
// left and right Shift, Ctrl and Alt keys (0xA0 to 0xA5) also set or clear
// the plain ones (0x10, 0x11, 0x12), which are down while either side is.
void key_table_set(uint8_t keys[256], uint8_t vk, bool down);

// The character code the original platform's message translation makes of a
// key press that produces no text of its own: Enter 13, Backspace 8, Tab 9,
// Escape 27, and Ctrl with a letter 1 to 26. 0 for every other key, and for
// every key while Alt is held (a system key).
uint8_t control_char_for_key(uint8_t vk, bool ctrl, bool alt);

}  // namespace qln
