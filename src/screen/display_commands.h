#pragma once
// 0x27 sys_display: switches between the window and full screen.

#include <cstdint>

namespace qln {

struct Engine;
struct Args;

// R1 = display_mode_request(full_screen != 0): 0 changed, 1 nothing to do,
// 2 the change failed.
int32_t cmd_sys_display(Engine& engine, const Args& args);  // 0x27

}  // namespace qln
