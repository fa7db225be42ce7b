#pragma once
// The window and button commands. A window operand names an open window;
// one that does not is error -106 "win_no = %d" unless a command says
// otherwise. Positions given by scenarios are relative to the content offset
// for every window but window 0.

#include <cstdint>

#include "commands/command_table.h"

namespace qln {

struct Engine;
class Args;
struct ListItem;
struct Window;

// The template of win_open before its key-value pairs: a 24 x 24 window with
// the record's defaults and a draggable border of 8.
Window window_template();

// Stores one key-value pair of win_open or win_set into the record (keys 5 to
// 22 and 24 to 26; 16- and 8-bit fields keep the low bits). Keys 1 to 4 set
// the position and size only when width and height are given (win_open).
// Other keys are ignored.
void window_key_store(Window& window, uint8_t key, int32_t value, int32_t* width = nullptr,
                      int32_t* height = nullptr);

// A scenario position shifted by the content offset, saturating.
int32_t offset_add(int32_t position, int32_t offset);

}  // namespace qln
