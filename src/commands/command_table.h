#pragma once
// Handlers' side of the command table: a declaration of every handler the
// rows name, and per command an operand view with one accessor per operand of
// its row, so a handler reads its operands by name and the compiler refuses
// an operand the row lacks or a number read as a string:
//     const win_load_operands op(args);
//     const int32_t win_no = op.win_no();

#include <cstdint>
#include <span>

#include "engine/command_args.h"

namespace qln {

#define UNPAREN(...) __VA_ARGS__

#define COMMAND(byte, name, handler, what, operands, results, errors) \
    int32_t cmd_##handler(Engine& engine, const Args& args);
#include "commands/command_rows.inc"
#undef COMMAND

// Operand positions, in row order.
#define NUM(name, meaning) name##_at,
#define STR(name, meaning) name##_at,
#define WORD(name, meaning) name##_at,
#define LIST(letter, name, meaning)
#define COMMAND(byte, name, handler, what, operands, results, errors) \
    struct name##_positions {                                         \
        enum : uint8_t { UNPAREN operands kCount };                   \
    };
#include "commands/command_rows.inc"
#undef COMMAND
#undef NUM
#undef STR
#undef WORD
#undef LIST

#define NUM(name, meaning)           \
    int32_t name() const {           \
        return num_at(P::name##_at); \
    }
#define STR(name, meaning)            \
    const char* name() const {        \
        return str_at(P::name##_at);  \
    }                                 \
    bool name##_is_none() const {     \
        return none_at(P::name##_at); \
    }
#define WORD(name, meaning)           \
    uint16_t name() const {           \
        return word_at(P::name##_at); \
    }
#define LIST(letter, name, meaning)          \
    std::span<const ListItem> name() const { \
        return list();                       \
    }
#define COMMAND(byte, name, handler, what, operands, results, errors)     \
    class name##_operands : public OperandView {                          \
        using P = name##_positions;                                       \
                                                                          \
      public:                                                             \
        explicit name##_operands(const Args& args) : OperandView(args) {} \
        UNPAREN operands                                                  \
    };
#include "commands/command_rows.inc"
#undef COMMAND
#undef NUM
#undef STR
#undef WORD
#undef LIST
#undef UNPAREN

}  // namespace qln
