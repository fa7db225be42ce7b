#pragma once
// Control-flow and scenario commands: expressions, jumps, calls, returns,
// running other scenarios, the computed jump, restart and end.

#include <cstdint>

#include "commands/command_table.h"

namespace qln {

struct Engine;
class Args;


}  // namespace qln
