#pragma once
// The commands that show a text or a list of choices in a window and wait
// for the player's answer: 0x0A win_confirm, 0x0B win_select, 0x25
// win_notice and 0x9A win_message.

#include <cstdint>

#include "commands/command_table.h"

namespace qln {

struct Engine;
class Args;


}  // namespace qln
