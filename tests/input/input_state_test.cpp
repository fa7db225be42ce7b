// The input rings, snapshots and the keyboard table refresh.

#include <gtest/gtest.h>

#include <vector>

#include "engine/engine.h"
#include "input/input_state.h"

namespace qln {
namespace {

// The entries of the character (or key) ring, oldest first.
std::vector<int> ring(const InputQueues& q, bool keys = false) {
    std::vector<int> out;
    const int end = keys ? q.key_write : q.char_write;
    for (int i = keys ? q.key_read : q.char_read; i != end; i = (i + 1) % kInputQueueSize)
        out.push_back(keys ? q.key_queue[i] : q.char_queue[i]);
    return out;
}

TEST(InputRings, AFullRingDropsItsOldestEntryAndHolds4095) {
    InputShared chars, keys;
    for (int i = 0; i < 4096; ++i) input_char_push(chars, static_cast<uint8_t>(i % 251));
    for (int i = 0; i < 5000; ++i) input_key_push(keys, static_cast<uint16_t>(i));
    const std::vector<int> c = ring(chars.queues), k = ring(keys.queues, true);
    ASSERT_EQ(c.size(), 4095u);
    EXPECT_EQ(c.front(), 1);  // the first character was dropped
    EXPECT_EQ(c.back(), 4095 % 251);
    EXPECT_EQ(chars.queues.char_read, 1);
    EXPECT_EQ(chars.queues.char_write, 0);
    ASSERT_EQ(k.size(), 4095u);
    EXPECT_EQ(k.front(), 5000 - 4095);
    EXPECT_EQ(k.back(), 4999);
}

TEST(InputRings, EveryCharacterBecomesTheLastCharacterAndASnapshotClearsIt) {
    Engine engine;
    input_char_push(engine.shared.input, 'a');
    input_char_push(engine.shared.input, 'b');
    InputState snap;
    snapshot(engine, snap);
    EXPECT_EQ(snap.last_character, 'b');
    EXPECT_EQ(engine.shared.input.state.last_character, 0xFFFF);
    snapshot(engine, snap);
    EXPECT_EQ(snap.last_character, 0xFFFF);
    // The queue keeps both characters for the keyboard commands.
    EXPECT_EQ(ring(engine.shared.input.queues), (std::vector<int>{'a', 'b'}));
}

TEST(KeyboardRefresh, QueuesKeysThatWentDownWithTheModifiersHeldThen) {
    InputShared input;
    uint8_t keys[256] = {};
    keys[0x10] = 0x80;  // Shift
    input_keyboard_refresh(input, keys);
    keys[0x11] = 0x80;  // Ctrl
    keys[0x41] = 0x80;  // A
    input_keyboard_refresh(input, keys);
    keys[0x41] = 0x00;
    keys[0x12] = 0x80;  // Alt
    keys[0x73] = 0x80;  // F4
    input_keyboard_refresh(input, keys);
    // Shift, Ctrl and Alt never reach the queue themselves; a release queues nothing.
    EXPECT_EQ(ring(input.queues, true), (std::vector<int>{0x0341, 0x0773}));
    EXPECT_EQ(input.queues.key_state[0x73], 0x80);
    EXPECT_EQ(input.queues.key_state[0x41], 0x00);
    EXPECT_EQ(input.queues.previous_key_state[0x12], 0x80);
}

TEST(KeyboardRefresh, AHeldKeyIsQueuedOncePerChangeAndMouseButtonsCountAsKeys) {
    InputShared input;
    uint8_t keys[256] = {};
    keys[0x01] = 0x80;  // left button
    input_keyboard_refresh(input, keys);
    input_keyboard_refresh(input, keys);
    // Another value with bit 7 set is a change too (the toggle bit).
    keys[0x01] = 0x81;
    input_keyboard_refresh(input, keys);
    EXPECT_EQ(ring(input.queues, true), (std::vector<int>{0x0001, 0x0001}));
}

TEST(NavigationKeys, PushTheirControlCodesAndOtherKeysNothing) {
    InputShared input;
    const uint8_t keys[] = {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x2D, 0x2E, 0x41, 0x0D};
    for (uint8_t vk : keys) input_key_down(input, vk);
    EXPECT_EQ(ring(input.queues), (std::vector<int>{3, 4, 6, 5, 0x1D, 0x1E, 0x1C, 0x1F, 1, 2}));
    EXPECT_EQ(input.state.last_character, 2);
}

}  // namespace
}  // namespace qln
