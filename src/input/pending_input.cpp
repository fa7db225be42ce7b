// Placeholder so everything links while the input state is written. Deleted
// by the change that implements it.
#include "input/input_state.h"

namespace qln {
void snapshot(Engine&, InputState& out) { out = InputState{}; }
void input_char_push(InputShared&, uint8_t) {}
void input_key_push(InputShared&, uint16_t) {}
void input_keyboard_refresh(InputShared&, const uint8_t*) {}
}  // namespace qln
