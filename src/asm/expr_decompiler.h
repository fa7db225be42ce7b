#pragma once
// Turns the postfix tokens of a numeric operand back into infix text that
// compiles to exactly the same bytes. Encodings the compiler would write
// differently (a constant in a longer token than needed, tokens without an
// infix form, tokens with no effect) keep their bytes through the raw form
// {bytes}(arguments...); an expression that has no tree shape at all is
// printed whole as {bytes}.

#include <cstddef>
#include <cstdint>
#include <string>

namespace qln {

// Length of the expression at p up to and including its closing 0x7F, or 0
// when it does not close within len bytes.
size_t expr_length(const uint8_t* p, size_t len);

// Infix text for the expression p[0 .. len), where len is expr_length(p, ...).
std::string expr_decompile(const uint8_t* p, size_t len);

}  // namespace qln
