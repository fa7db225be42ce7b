#pragma once
// The expression evaluator behind every numeric operand: postfix tokens closed
// by 0x7F, on a fixed stack of 32 entries.

#include <cstdint>

namespace qln {

struct Engine;

// Evaluates one expression at code[pc] and returns its value; pc is left after
// the closing 0x7F. pc is 16-bit; bytes at or past size (or past 65535) end the
// expression as 0x7F would.
int32_t expr_eval(Engine& engine, const uint8_t* code, uint32_t size, uint16_t& pc);

}  // namespace qln
