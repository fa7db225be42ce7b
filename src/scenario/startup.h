#pragma once

namespace qln {

struct Engine;

// Loads the start-up scenario the settings name and starts it as the only
// active scenario; the stopwatch counts from here. False when it cannot be
// loaded (the shell shows its message).
[[nodiscard]] bool startup_load(Engine& engine);

}  // namespace qln
