#pragma once
// Compiles the infix expressions of numeric operands into the postfix token
// encoding, closed by 0x7F.
//
// Precedence, loosest first (binary operators group left to right, the
// assignments right to left):
//   = += -= *= /= %= &= |= ^=
//   ||     &&     |     ^     &     == !=     < <= > >=     + -     * / %
//   unary - ! ++ -- (prefix)
//   constants, ( ), vN[...] r[...] l[...], functions, {raw}(...), labels
// A constant takes the shortest of the four constant tokens; "-" written
// straight before a number is part of that constant. A label stands for its
// code offset as an unsigned word (always the 0x02 token, so code size never
// depends on where a label lands).

#include <cstdint>
#include <string>
#include <vector>

#include "asm/asm_error.h"
#include "asm/lexer.h"

namespace qln {

// A label used as a number; the assembler fills in the word at offset.
struct ExprLabelUse {
    std::string name;
    size_t offset = 0;  // index into the output vector
    int col = 0;
};

// Compiles one expression at the lexer's position, appending its tokens and
// the closing 0x7F to out. It stops before the first token that cannot
// continue the expression (a comma, a closing bracket, the end of the line).
// With labels null, a label name is an error. On failure err has the column
// and message (the line is the caller's).
bool expr_compile(Lexer& lexer, std::vector<uint8_t>& out, std::vector<ExprLabelUse>* labels,
                  AsmError& err);

// The shortest constant token for value, appended to out.
void expr_emit_constant(int32_t value, std::vector<uint8_t>& out);

// A variable space named by an identifier (v0-v31, r, l), or -1.
int expr_space_by_name(std::string_view name);

// True for the identifiers expressions reserve (variables, functions, s).
bool expr_reserved_name(std::string_view name);

}  // namespace qln
