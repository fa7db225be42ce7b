#pragma once
// The command set as data. One row per command byte gives its name and its
// operand signature; the dispatcher decodes operands from it, and the
// assembler and disassembler read and write scenarios from the same rows.
//
// Signature letters, in operand order:
//   w  a word (op_word): code offsets and plain 16-bit operands
//   n  a numeric operand (op_num): a postfix expression closed by 0x7F
//   s  a string operand (op_str): a string-table word, or 0xFFFF and a number
// A trailing capital letter names a variable-length list (see ListKind).

#include <array>
#include <cstdint>

namespace qln {

// The variable-length operand lists that close some commands, byte by byte:
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
enum class ListKind : uint8_t {
    None,
    JumpTargets,  // J: words until the word 0xFFFF (jump_table)
    Choices,      // C: entries of (string, word, number), each after a byte that is
                  //    not 0x80, closed by 0x80 (win_select)
    KeyValues,    // K: window key-value pairs (win_open, win_set)
    WindowPairs,  // P: (win_no, buf_no) pairs (btn_wait)
    TypedArgs,    // T: typed plug-in arguments until the type byte 0x7F (plugin_call)
};

struct CommandSpec {
    uint8_t byte;
    const char* name;       // engine name; nullptr for an unassigned slot
    const char* signature;  // operand letters; "" for none
};

// All 256 rows; row i describes command byte i.
extern const std::array<CommandSpec, 256> command_specs;

// The list kind that closes a signature (its last letter), or ListKind::None.
// Also accepts a pointer to the list letter itself.
ListKind signature_list_kind(const char* signature);

}  // namespace qln
