#pragma once
// The scenario thread's reads of the shared input (written by the main thread
// under the input lock, see platform/thread_shared.h). The snapshot holds only
// the pointer, buttons and hit-test results; the key-state tables and the two
// queue rings stay in the shared block and are read under the input lock by
// the keyboard commands, so a poll step copies a few dozen bytes.

#include <cstdint>
#include "platform/host_input.h"

namespace qln {

struct Engine;

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

}  // namespace qln
