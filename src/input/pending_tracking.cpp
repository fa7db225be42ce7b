// Placeholder definitions until the hit test and the cursor land.

#include "input/tracking.h"

namespace qln {

void drag_step(Engine&, InputState&) {}
void hit_test(Engine&, InputState&) {}
bool drag_active(const Engine&) {
    return false;
}
void cursor_tick(Engine&, uint32_t) {}

}  // namespace qln
