#pragma once
// The picture-file command: a picture buffer saved as a Windows bitmap.

#include <cstdint>

#include "commands/command_table.h"

namespace qln {

struct Engine;
class Args;


}  // namespace qln
