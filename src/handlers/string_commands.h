#pragma once
// Commands 0x60-0x69: set, join, compare, measure, expand, convert, search
// and cut string registers, and copy a string into a raw data buffer. Every
// length and position counts bytes, so a position may fall inside a
// double-byte character.

#include <cstdint>

#include "commands/command_table.h"
#include "scenario/interp.h"

namespace qln {

struct Engine;

// Longest text that str_cat and str_splice keep (their buffer holds 1,024
// bytes with the terminator).
inline constexpr uint32_t kShortStringMax = 1023;

}  // namespace qln
