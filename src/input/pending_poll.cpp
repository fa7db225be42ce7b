// Placeholder so everything links while the poll step is written. Deleted by
// the change that implements it.
#include "input/poll.h"

namespace qln {
bool poll(Engine& engine, InputState& snap) { snapshot(engine, snap); return true; }
int wait_click(Engine&, InputState&) { return 0; }
}  // namespace qln
