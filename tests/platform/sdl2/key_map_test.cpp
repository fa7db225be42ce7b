// Host keys to the original platform's virtual-key codes, the key-state
// table with its two-sided modifiers, and the character codes of keys that
// type no text.

#include "platform/sdl2/key_map.h"

#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace qln {
namespace {

// The virtual keys of scancodes, with Num Lock on or off.
std::vector<int> vks(std::initializer_list<int> scancodes, bool num_lock = true) {
    std::vector<int> out;
    for (int scancode : scancodes) out.push_back(vk_from_scancode(scancode, num_lock));
    return out;
}

TEST(KeyMap, ScancodesGiveTheOriginalVirtualKeys) {
    // The first and last of each range.
    EXPECT_EQ(vks({SDL_SCANCODE_A, SDL_SCANCODE_Z, SDL_SCANCODE_1, SDL_SCANCODE_9, SDL_SCANCODE_0,
                   SDL_SCANCODE_F1, SDL_SCANCODE_F12, SDL_SCANCODE_F13, SDL_SCANCODE_F24}),
              (std::vector<int>{'A', 'Z', '1', '9', '0', 0x70, 0x7B, 0x7C, 0x87}));
    // Arrows and the block above them.
    EXPECT_EQ(vks({SDL_SCANCODE_LEFT, SDL_SCANCODE_UP, SDL_SCANCODE_RIGHT, SDL_SCANCODE_DOWN,
                   SDL_SCANCODE_PAGEUP, SDL_SCANCODE_PAGEDOWN, SDL_SCANCODE_END, SDL_SCANCODE_HOME,
                   SDL_SCANCODE_INSERT, SDL_SCANCODE_DELETE}),
              (std::vector<int>{0x25, 0x26, 0x27, 0x28, 0x21, 0x22, 0x23, 0x24, 0x2D, 0x2E}));
    // Keys mapped one by one; both sides of each modifier.
    EXPECT_EQ(
        vks({SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_SPACE,
             SDL_SCANCODE_PRINTSCREEN, SDL_SCANCODE_SYSREQ, SDL_SCANCODE_LSHIFT,
             SDL_SCANCODE_RSHIFT, SDL_SCANCODE_LCTRL, SDL_SCANCODE_RCTRL, SDL_SCANCODE_LALT,
             SDL_SCANCODE_RALT}),
        (std::vector<int>{0x0D, 0x0D, 0x1B, 0x20, 0x2C, 0x2C, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5}));
    // Punctuation (INTERNATIONAL3 is the yen key), the keypad's operators,
    // and keys the original has no code for.
    EXPECT_EQ(
        vks({SDL_SCANCODE_SEMICOLON, SDL_SCANCODE_COMMA, SDL_SCANCODE_SLASH, SDL_SCANCODE_GRAVE,
             SDL_SCANCODE_LEFTBRACKET, SDL_SCANCODE_INTERNATIONAL3, SDL_SCANCODE_KP_MULTIPLY,
             SDL_SCANCODE_KP_DIVIDE, SDL_SCANCODE_MUTE, SDL_SCANCODE_UNKNOWN, -1, 100000}),
        (std::vector<int>{0xBA, 0xBC, 0xBF, 0xC0, 0xDB, 0xDC, 0x6A, 0x6F, 0, 0, 0, 0}));
}

TEST(KeyMap, TheKeypadFollowsNumLock) {
    EXPECT_EQ(
        vks({SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_9, SDL_SCANCODE_KP_PERIOD}),
        (std::vector<int>{0x60, 0x61, 0x69, 0x6E}));
    // Without Num Lock: Insert, End, Down, Page Down, Left, Clear, Right,
    // Home, Up, Page Up, Delete.
    EXPECT_EQ(vks({SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2, SDL_SCANCODE_KP_3,
                   SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5, SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_7,
                   SDL_SCANCODE_KP_8, SDL_SCANCODE_KP_9, SDL_SCANCODE_KP_PERIOD},
                  false),
              (std::vector<int>{0x2D, 0x23, 0x28, 0x22, 0x25, 0x0C, 0x27, 0x24, 0x26, 0x21, 0x2E}));
}

TEST(KeyMap, EitherSideHoldsThePlainModifier) {
    uint8_t keys[256] = {};
    key_table_set(keys, 0xA0, true);  // left Shift
    key_table_set(keys, 0xA1, true);  // right Shift
    EXPECT_EQ(keys[0x10], 0x80);
    key_table_set(keys, 0xA0, false);
    EXPECT_EQ(keys[0x10], 0x80);  // the right one is still down
    key_table_set(keys, 0xA1, false);
    EXPECT_EQ(keys[0x10], 0x00);
    key_table_set(keys, 0xA5, true);  // right Alt
    key_table_set(keys, 0xA2, true);  // left Ctrl
    EXPECT_EQ(keys[0x12], 0x80);
    EXPECT_EQ(keys[0x11], 0x80);
    EXPECT_EQ(keys[0x10], 0x00);
    key_table_set(keys, 'A', true);
    EXPECT_EQ(keys['A'], 0x80);
    key_table_set(keys, 'A', false);
    EXPECT_EQ(keys['A'], 0x00);
}

TEST(KeyMap, KeysWithoutTextTypeTheirControlCharacters) {
    for (const uint8_t vk : {0x0D, 0x08, 0x09, 0x1B})
        EXPECT_EQ(control_char_for_key(vk, false, false), vk);
    EXPECT_EQ(control_char_for_key('A', true, false), 1);
    EXPECT_EQ(control_char_for_key('Z', true, false), 26);
    // Letters without Ctrl come as text; with Alt everything is a system key.
    EXPECT_EQ(control_char_for_key('A', false, false), 0);
    EXPECT_EQ(control_char_for_key(0x0D, false, true), 0);
    EXPECT_EQ(control_char_for_key('C', true, true), 0);
    EXPECT_EQ(control_char_for_key(0x25, false, false), 0);
}

}  // namespace
}  // namespace qln
