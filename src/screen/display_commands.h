#pragma once
// 0x27 sys_display: switches between the window and full screen.

#include <cstdint>

#include "commands/command_table.h"
namespace qln {

struct Engine;
class Args;


}  // namespace qln
