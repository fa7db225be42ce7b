#pragma once
// The mouse, cursor, button-wait and keyboard commands.

#include <cstdint>

#include "commands/command_table.h"

#include "scenario/interp.h"

namespace qln {


}  // namespace qln
