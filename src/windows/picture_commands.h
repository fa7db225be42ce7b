#pragma once
// The colour and picture commands: the colour table, drawing into windows
// and picture buffers, cells, pixels, alpha planes and the pause picture.
// A target is a window (win_get of an open window; error -106) or a picture
// buffer (error -112), as each command's kind operand says.

#include <cstdint>

#include "commands/command_table.h"

namespace qln {

struct Engine;
class Args;


}  // namespace qln
