#pragma once
// The handler column of the command table: slot i runs command byte i. An
// empty slot behaves as an unassigned byte (error -100, no operands read).

#include <array>

#include "scenario/interp.h"

namespace qln {

extern const std::array<CommandHandler, 256> command_handlers;

}  // namespace qln
