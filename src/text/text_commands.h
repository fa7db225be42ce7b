#pragma once
// The font and text commands: outline fonts by face name, picture fonts on
// picture buffers, and text drawn into a window or a picture buffer.

#include <cstdint>

#include "commands/command_table.h"

namespace qln {

struct Engine;
class Args;


}  // namespace qln
