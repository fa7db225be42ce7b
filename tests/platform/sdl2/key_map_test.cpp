// Host keys to the original platform's virtual-key codes, the key-state
// table with its two-sided modifiers, and the character codes of keys that
// type no text.

#include "platform/sdl2/key_map.h"

#include <SDL_scancode.h>
#include <gtest/gtest.h>

namespace qln {
namespace {

TEST(KeyMap, ScancodesGiveTheOriginalVirtualKeys) {
    struct Case {
        SDL_Scancode scancode;
        uint8_t vk;
    };
    const Case cases[] = {
        {SDL_SCANCODE_A, 'A'},
        {SDL_SCANCODE_Z, 'Z'},
        {SDL_SCANCODE_1, '1'},
        {SDL_SCANCODE_9, '9'},
        {SDL_SCANCODE_0, '0'},
        {SDL_SCANCODE_F1, 0x70},
        {SDL_SCANCODE_F12, 0x7B},
        {SDL_SCANCODE_F13, 0x7C},
        {SDL_SCANCODE_F24, 0x87},
        {SDL_SCANCODE_LEFT, 0x25},
        {SDL_SCANCODE_UP, 0x26},
        {SDL_SCANCODE_RIGHT, 0x27},
        {SDL_SCANCODE_DOWN, 0x28},
        {SDL_SCANCODE_PAGEUP, 0x21},
        {SDL_SCANCODE_PAGEDOWN, 0x22},
        {SDL_SCANCODE_END, 0x23},
        {SDL_SCANCODE_HOME, 0x24},
        {SDL_SCANCODE_INSERT, 0x2D},
        {SDL_SCANCODE_DELETE, 0x2E},
        {SDL_SCANCODE_RETURN, 0x0D},
        {SDL_SCANCODE_KP_ENTER, 0x0D},
        {SDL_SCANCODE_ESCAPE, 0x1B},
        {SDL_SCANCODE_SPACE, 0x20},
        {SDL_SCANCODE_PRINTSCREEN, 0x2C},
        {SDL_SCANCODE_SYSREQ, 0x2C},
        {SDL_SCANCODE_LSHIFT, 0xA0},
        {SDL_SCANCODE_RSHIFT, 0xA1},
        {SDL_SCANCODE_LCTRL, 0xA2},
        {SDL_SCANCODE_RCTRL, 0xA3},
        {SDL_SCANCODE_LALT, 0xA4},
        {SDL_SCANCODE_RALT, 0xA5},
        {SDL_SCANCODE_SEMICOLON, 0xBA},
        {SDL_SCANCODE_COMMA, 0xBC},
        {SDL_SCANCODE_SLASH, 0xBF},
        {SDL_SCANCODE_GRAVE, 0xC0},
        {SDL_SCANCODE_LEFTBRACKET, 0xDB},
        {SDL_SCANCODE_INTERNATIONAL3, 0xDC},  // yen
        {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
        {SDL_SCANCODE_KP_DIVIDE, 0x6F},
        {SDL_SCANCODE_MUTE, 0},
        {SDL_SCANCODE_UNKNOWN, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(vk_from_scancode(c.scancode, true), c.vk) << "scancode " << int(c.scancode);
    }
    EXPECT_EQ(vk_from_scancode(-1, true), 0);
    EXPECT_EQ(vk_from_scancode(100000, true), 0);
}

TEST(KeyMap, TheKeypadFollowsNumLock) {
    EXPECT_EQ(vk_from_scancode(SDL_SCANCODE_KP_0, true), 0x60);
    EXPECT_EQ(vk_from_scancode(SDL_SCANCODE_KP_1, true), 0x61);
    EXPECT_EQ(vk_from_scancode(SDL_SCANCODE_KP_9, true), 0x69);
    EXPECT_EQ(vk_from_scancode(SDL_SCANCODE_KP_PERIOD, true), 0x6E);
    // Without Num Lock: End, Down, Page Down, Left, Clear, Right, Home, Up,
    // Page Up, Insert, Delete.
    const uint8_t navigation[] = {0x23, 0x28, 0x22, 0x25, 0x0C, 0x27, 0x24, 0x26, 0x21};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(vk_from_scancode(SDL_SCANCODE_KP_1 + i, false), navigation[i]) << i + 1;
    }
    EXPECT_EQ(vk_from_scancode(SDL_SCANCODE_KP_0, false), 0x2D);
    EXPECT_EQ(vk_from_scancode(SDL_SCANCODE_KP_PERIOD, false), 0x2E);
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
    EXPECT_EQ(control_char_for_key(0x0D, false, false), 13);
    EXPECT_EQ(control_char_for_key(0x08, false, false), 8);
    EXPECT_EQ(control_char_for_key(0x09, false, false), 9);
    EXPECT_EQ(control_char_for_key(0x1B, false, false), 27);
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
