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

// The variable-length operand lists that close some commands.
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

// The list kind that closes a signature, or ListKind::None.
ListKind signature_list_kind(const char* signature);

}  // namespace qln
