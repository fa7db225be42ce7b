#include "platform/sdl2/key_map.h"

#include <SDL_scancode.h>

namespace qln {
namespace {

constexpr uint8_t kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12;
constexpr uint8_t kVkLShift = 0xA0, kVkRShift = 0xA1, kVkLControl = 0xA2, kVkRControl = 0xA3,
                  kVkLMenu = 0xA4, kVkRMenu = 0xA5;

struct Row {
    SDL_Scancode scancode;
    uint8_t vk;
};

// Keys outside the letter, digit and function-key runs.
constexpr Row kRows[] = {
    {SDL_SCANCODE_RETURN, 0x0D},
    {SDL_SCANCODE_ESCAPE, 0x1B},
    {SDL_SCANCODE_BACKSPACE, 0x08},
    {SDL_SCANCODE_TAB, 0x09},
    {SDL_SCANCODE_SPACE, 0x20},
    {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_EQUALS, 0xBB},
    {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    {SDL_SCANCODE_BACKSLASH, 0xDC},
    {SDL_SCANCODE_NONUSHASH, 0xDC},
    {SDL_SCANCODE_SEMICOLON, 0xBA},
    {SDL_SCANCODE_APOSTROPHE, 0xDE},
    {SDL_SCANCODE_GRAVE, 0xC0},
    {SDL_SCANCODE_COMMA, 0xBC},
    {SDL_SCANCODE_PERIOD, 0xBE},
    {SDL_SCANCODE_SLASH, 0xBF},
    {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C},
    {SDL_SCANCODE_SYSREQ, 0x2C},
    {SDL_SCANCODE_SCROLLLOCK, 0x91},
    {SDL_SCANCODE_PAUSE, 0x13},
    {SDL_SCANCODE_INSERT, 0x2D},
    {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_PAGEUP, 0x21},
    {SDL_SCANCODE_DELETE, 0x2E},
    {SDL_SCANCODE_END, 0x23},
    {SDL_SCANCODE_PAGEDOWN, 0x22},
    {SDL_SCANCODE_RIGHT, 0x27},
    {SDL_SCANCODE_LEFT, 0x25},
    {SDL_SCANCODE_DOWN, 0x28},
    {SDL_SCANCODE_UP, 0x26},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
    {SDL_SCANCODE_KP_MINUS, 0x6D},
    {SDL_SCANCODE_KP_PLUS, 0x6B},
    {SDL_SCANCODE_KP_ENTER, 0x0D},
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
    {SDL_SCANCODE_APPLICATION, 0x5D},
    {SDL_SCANCODE_CLEAR, 0x0C},
    {SDL_SCANCODE_INTERNATIONAL1, 0xE2},  // ro
    {SDL_SCANCODE_INTERNATIONAL3, 0xDC},  // yen
    {SDL_SCANCODE_INTERNATIONAL4, 0x1C},  // convert
    {SDL_SCANCODE_INTERNATIONAL5, 0x1D},  // no convert
    {SDL_SCANCODE_LCTRL, kVkLControl},
    {SDL_SCANCODE_LSHIFT, kVkLShift},
    {SDL_SCANCODE_LALT, kVkLMenu},
    {SDL_SCANCODE_LGUI, 0x5B},
    {SDL_SCANCODE_RCTRL, kVkRControl},
    {SDL_SCANCODE_RSHIFT, kVkRShift},
    {SDL_SCANCODE_RALT, kVkRMenu},
    {SDL_SCANCODE_RGUI, 0x5C},
};

// Keypad 1-9, 0 and the decimal point: with Num Lock, and without.
constexpr Row kKeypad[] = {
    {SDL_SCANCODE_KP_1, 0x23}, {SDL_SCANCODE_KP_2, 0x28},      {SDL_SCANCODE_KP_3, 0x22},
    {SDL_SCANCODE_KP_4, 0x25}, {SDL_SCANCODE_KP_5, 0x0C},      {SDL_SCANCODE_KP_6, 0x27},
    {SDL_SCANCODE_KP_7, 0x24}, {SDL_SCANCODE_KP_8, 0x26},      {SDL_SCANCODE_KP_9, 0x21},
    {SDL_SCANCODE_KP_0, 0x2D}, {SDL_SCANCODE_KP_PERIOD, 0x2E},
};

}  // namespace

uint8_t vk_from_scancode(int scancode, bool num_lock) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return uint8_t('A' + (scancode - SDL_SCANCODE_A));
    }
    // The digit row runs 1 to 9, then 0.
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return uint8_t('1' + (scancode - SDL_SCANCODE_1));
    }
    if (scancode == SDL_SCANCODE_0) return '0';
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
        return uint8_t(0x70 + (scancode - SDL_SCANCODE_F1));
    }
    if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24) {
        return uint8_t(0x7C + (scancode - SDL_SCANCODE_F13));
    }
    for (const Row& row : kKeypad) {
        if (row.scancode != scancode) continue;
        if (!num_lock) return row.vk;
        if (scancode == SDL_SCANCODE_KP_PERIOD) return 0x6E;
        if (scancode == SDL_SCANCODE_KP_0) return 0x60;
        return uint8_t(0x61 + (scancode - SDL_SCANCODE_KP_1));
    }
    for (const Row& row : kRows) {
        if (row.scancode == scancode) return row.vk;
    }
    return 0;
}

void key_table_set(uint8_t keys[256], uint8_t vk, bool down) {
    keys[vk] = down ? 0x80 : 0x00;
    auto either = [&](uint8_t plain, uint8_t left, uint8_t right) {
        keys[plain] = uint8_t((keys[left] | keys[right]) & 0x80);
    };
    if (vk >= kVkLShift && vk <= kVkRMenu) {
        either(kVkShift, kVkLShift, kVkRShift);
        either(kVkControl, kVkLControl, kVkRControl);
        either(kVkMenu, kVkLMenu, kVkRMenu);
    }
}

uint8_t control_char_for_key(uint8_t vk, bool ctrl, bool alt) {
    if (alt) return 0;
    switch (vk) {
        case 0x0D:
            return 13;
        case 0x08:
            return 8;
        case 0x09:
            return 9;
        case 0x1B:
            return 27;
        default:
            break;
    }
    if (ctrl && vk >= 'A' && vk <= 'Z') return uint8_t(vk - 'A' + 1);
    return 0;
}

}  // namespace qln
