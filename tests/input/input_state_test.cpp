#include <gtest/gtest.h>

#include <cstring>

#include "engine/engine.h"
#include "input/input_state.h"

namespace qln {
namespace {

// The entries a ring holds, oldest first.
std::vector<int> char_ring(const InputQueues& q) {
    std::vector<int> out;
    for (int i = q.char_read; i != q.char_write; i = (i + 1) % kInputQueueSize) {
        out.push_back(q.char_queue[i]);
    }
    return out;
}

std::vector<int> key_ring(const InputQueues& q) {
    std::vector<int> out;
    for (int i = q.key_read; i != q.key_write; i = (i + 1) % kInputQueueSize) {
        out.push_back(q.key_queue[i]);
    }
    return out;
}

TEST(InputRings, AfterFourThousandNinetySixCharactersTheLast4095Remain) {
    InputShared input;
    for (int i = 0; i < 4096; ++i) input_char_push(input, static_cast<uint8_t>(i % 251));
    const std::vector<int> ring = char_ring(input.queues);
    ASSERT_EQ(ring.size(), 4095u);
    EXPECT_EQ(ring.front(), 1);  // the first character was dropped
    EXPECT_EQ(ring.back(), 4095 % 251);
    EXPECT_EQ(input.queues.char_read, 1);
    EXPECT_EQ(input.queues.char_write, 0);
}

TEST(InputRings, KeyRingDropsItsOldestEntryWhenFull) {
    InputShared input;
    for (int i = 0; i < 5000; ++i) input_key_push(input, static_cast<uint16_t>(i));
    const std::vector<int> ring = key_ring(input.queues);
    ASSERT_EQ(ring.size(), 4095u);
    EXPECT_EQ(ring.front(), 5000 - 4095);
    EXPECT_EQ(ring.back(), 4999);
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
    EXPECT_EQ(char_ring(engine.shared.input.queues), (std::vector<int>{'a', 'b'}));
}

TEST(InputSnapshot, CopiesPointerAndButtons) {
    Engine engine;
    engine.shared.input.state.x = -5;
    engine.shared.input.state.y = 300;
    engine.shared.input.state.right = 1;
    InputState snap;
    snap.window = 9;  // a snapshot is overwritten whole
    snapshot(engine, snap);
    EXPECT_EQ(snap.x, -5);
    EXPECT_EQ(snap.y, 300);
    EXPECT_EQ(snap.left, 0);
    EXPECT_EQ(snap.right, 1);
    EXPECT_EQ(snap.window, 0);
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
    EXPECT_EQ(key_ring(input.queues), (std::vector<int>{0x0341, 0x0773}));
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
    EXPECT_EQ(key_ring(input.queues), (std::vector<int>{0x0001, 0x0001}));
}

TEST(NavigationKeys, PushTheirControlCodesAndOtherKeysNothing) {
    InputShared input;
    const uint8_t keys[] = {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x2D, 0x2E, 0x41, 0x0D};
    for (uint8_t vk : keys) input_key_down(input, vk);
    EXPECT_EQ(char_ring(input.queues),
              (std::vector<int>{3, 4, 6, 5, 0x1D, 0x1E, 0x1C, 0x1F, 1, 2}));
    EXPECT_EQ(input.state.last_character, 2);
}

}  // namespace
}  // namespace qln
