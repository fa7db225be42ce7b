// The command table, built from the rows: all 256 bytes, each with its
// handler, name, signature, operand names and meanings, results and errors.

#include "commands/command_table.h"

#include <cstring>

#include "engine/command_row.h"

namespace qln {

// An unassigned byte, or a command not built yet: reads no operands.
int32_t cmd_unbuilt(Engine& engine, const Args&) {
    return err_report(engine, kResultErrorBase, nullptr);
}

namespace {

#define UNPAREN(...) __VA_ARGS__
#define NUM(name, meaning) {'n', #name, meaning},
#define STR(name, meaning) {'s', #name, meaning},
#define WORD(name, meaning) {'w', #name, meaning},
#define LIST(letter, name, meaning) {#letter[0], #name, meaning},
#define COMMAND(byte, name, handler, what, operands, results, errors) \
    constexpr OperandRow name##_rows[] = {UNPAREN operands{0, nullptr, nullptr}};
#include "commands/command_rows.inc"
#undef COMMAND
#undef NUM
#undef STR
#undef WORD
#undef LIST

#define NUM(name, meaning) "n"
#define STR(name, meaning) "s"
#define WORD(name, meaning) "w"
#define LIST(letter, name, meaning) #letter
#define COMMAND(byte, name, handler, what, operands, results, errors) \
    {&cmd_##handler,                                                  \
     &cmd_##handler == &cmd_unbuilt ? "" : "" UNPAREN operands,       \
     byte,                                                            \
     #name,                                                           \
     "" UNPAREN operands,                                             \
     what,                                                            \
     name##_rows,                                                     \
     uint8_t(sizeof(name##_rows) / sizeof(name##_rows[0]) - 1),       \
     results,                                                         \
     errors,                                                          \
     &cmd_##handler != &cmd_unbuilt},
constexpr CommandRow kAssigned[] = {
#include "commands/command_rows.inc"
};
#undef COMMAND
#undef NUM
#undef STR
#undef WORD
#undef LIST
#undef UNPAREN

constexpr std::array<CommandRow, 256> make_table() {
    std::array<CommandRow, 256> rows{};
    for (int i = 0; i < 256; ++i) {
        rows[i] =
            CommandRow{&cmd_unbuilt, "", uint8_t(i), nullptr, "", "", nullptr, 0, "", "", false};
    }
    for (const CommandRow& row : kAssigned) rows[row.byte] = row;
    return rows;
}

}  // namespace

const std::array<CommandRow, 256> command_table = make_table();

ListKind signature_list_kind(const char* signature) {
    if (signature == nullptr || *signature == '\0') return ListKind::None;
    switch (signature[std::strlen(signature) - 1]) {
        case 'J':
            return ListKind::JumpTargets;
        case 'C':
            return ListKind::Choices;
        case 'K':
            return ListKind::KeyValues;
        case 'P':
            return ListKind::WindowPairs;
        case 'T':
            return ListKind::TypedArgs;
        default:
            return ListKind::None;
    }
}

}  // namespace qln
