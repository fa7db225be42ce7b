#pragma once
// The shape of a row of the command table (the rows themselves are in
// commands/command_rows.inc). The dispatcher, the assembler and the
// disassembler read rows through command_table; they do not need the
// handlers' headers.
//
// Operand letters, in operand order:
//   w  a word (op_word): code offsets and plain 16-bit operands
//   n  a numeric operand (op_num): a postfix expression closed by 0x7F
//   s  a string operand (op_str): a string-table word, or 0xFFFF and a number
// A capital letter closes the signature with a variable-length list:
//   J  word targets; the word 0xFFFF closes the list (and is part of it).
//   C  per entry: one byte that is not 0x80 (compilers write 0x00), then a
//      string, a word target and a number; the byte 0x80 closes the list.
//   K  per entry: a key byte that is not 0x7F, then a number (its value); the
//      key byte 0x7F closes the list.
//   P  per entry: the bytes 0x00 and one more (compilers write 0x00 0x00),
//      then the numbers win_no and buf_no; a first byte that is not 0 closes
//      the list, and it and the byte after it are skipped (compilers write
//      0x01 0x00).
//   T  per entry: a type byte; 0: a number follows; 1: one byte value and one
//      unused byte follow; 2: a string follows; 0x7F closes the list; any other
//      type byte is an entry of value 0 with nothing after it.

#include <array>
#include <cstdint>

#include "engine/command_args.h"

namespace qln {

enum class ListKind : uint8_t {
    None,
    JumpTargets,  // J (jump_table)
    Choices,      // C (win_select)
    KeyValues,    // K (win_open, win_set)
    WindowPairs,  // P (btn_wait)
    TypedArgs,    // T (plugin_call)
};

struct OperandRow {
    char letter;          // w, n, s, or the list letter
    const char* name;     // win_no, fade_ms, ...
    const char* meaning;  // a few words
};

struct CommandRow {
    // The dispatcher reads these two first.
    CommandHandler handler;  // never null; unassigned bytes have their own
    const char* reads;       // the signature the dispatcher decodes before the handler
    uint8_t byte;
    const char* name;       // nullptr for an unassigned byte
    const char* signature;  // operand letters of the byte layout; "" for none
    const char* what;       // what the command does
    const OperandRow* operands;
    uint8_t operand_count;
    const char* results;  // what it leaves in result and string registers
    const char* errors;   // the errors it reports
    bool built;           // false: reports -100 without reading operands, for now
};

// All 256 rows; row i describes command byte i.
extern const std::array<CommandRow, 256> command_table;

// The list kind that closes a signature (its last letter), or ListKind::None.
// Also accepts a pointer to the list letter itself.
ListKind signature_list_kind(const char* signature);

}  // namespace qln
