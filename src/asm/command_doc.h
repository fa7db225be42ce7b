#pragma once
// The command reference (docs/commands.md) made from the command table, so
// it never drifts from what the engine, the assembler and the disassembler do.

#include <string>

namespace qln {

// Markdown: every assigned command with its byte, name, what it does, its
// operands in order with their meaning, its results and its errors.
std::string command_doc_markdown();

}  // namespace qln
