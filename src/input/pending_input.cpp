// Placeholder so everything links while the input state is written. Deleted
// by the change that implements it.
#include "input/input_state.h"

namespace qln {
void snapshot(Engine&, InputState& out) { out = InputState{}; }
void input_char_push(InputState&, uint8_t) {}
void input_key_push(InputState&, uint16_t) {}
void input_keyboard_refresh(InputState&, const uint8_t*) {}
}  // namespace qln
