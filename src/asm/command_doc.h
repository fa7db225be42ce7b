#pragma once
// The command reference (docs/commands.md) made from the command table, so
// it never drifts from what the engine, the assembler and the disassembler do.

#include <string>

namespace qln {

// Markdown: every assigned command with its byte, name, what it does, its
// operands in order with their meaning, its results and its errors.
std::string command_doc_markdown();

// The command-names file a game folder carries for the error dialog: one
// line "xx name" (lower-case hex byte) per named command, CR LF line ends.
std::string command_names_text();

}  // namespace qln
