// Operand readers. Everything reads through a bounded view of the current
// scenario's image: a byte past the image reads as 0xFF (so a scenario that
// runs off its end meets the end command) and an expression ends there.

#include "base/byte_order.h"
#include "engine/command_row.h"
#include "engine/engine.h"
#include "scenario/expr.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"
#include "tables/tables.h"

namespace qln {
namespace {

// A list may not consume more than the 16-bit address space: past that, pc
// has wrapped and the list would never end.
constexpr uint32_t kMaxListItems = 0x10000;

inline uint8_t code_byte(const Scenario& s, uint16_t pc) {
    return pc < s.size ? s.code[pc] : 0xFF;
}

inline uint8_t next_byte(Scenario& s) {
    return code_byte(s, s.pc++);
}

inline uint16_t next_word(Scenario& s) {
    const uint16_t pc = s.pc;
    s.pc = static_cast<uint16_t>(pc + 2);
    if (uint32_t(pc) + 2 <= s.size) return read_u16(&s.code[pc]);
    return static_cast<uint16_t>(code_byte(s, pc) | (code_byte(s, uint16_t(pc + 1)) << 8));
}

inline int32_t next_num(Engine& engine, Scenario& s) {
    return expr_eval(engine, s.code.get(), s.size, s.pc);
}

const char* next_str(Engine& engine, Scenario& s) {
    const uint16_t w = next_word(s);
    if (w != 0xFFFF) {
        const uint32_t at = s.string_table + w;
        // The image copy is followed by zero bytes, so a string that starts
        // inside the image ends inside the allocation.
        return at < s.size ? reinterpret_cast<const char*>(&s.code[at]) : "";
    }
    const int32_t n = next_num(engine, s);
    return str_get(engine, static_cast<uint16_t>(n));
}

void read_list(Engine& engine, Scenario& s, ListKind kind, std::vector<ListItem>& list) {
    for (uint32_t i = 0; i < kMaxListItems; ++i) {
        // Past the end of the code nothing is an item, and a list that runs
        // past 0xFFFF must not read the image again from its start: either
        // way the list ends, so one command reads each byte at most once.
        if (s.pc >= s.size) return;
        const uint16_t item_pc = s.pc;
        ListItem item;
        switch (kind) {
            case ListKind::JumpTargets:
                item.word = next_word(s);
                if (item.word == 0xFFFF) return;
                break;
            case ListKind::Choices:
                item.tag = next_byte(s);
                if (item.tag == 0x80) return;
                item.str = next_str(engine, s);
                item.word = next_word(s);
                item.num = next_num(engine, s);
                break;
            case ListKind::KeyValues:
                item.tag = next_byte(s);
                if (item.tag == 0x7F) return;
                item.num = next_num(engine, s);
                break;
            case ListKind::WindowPairs: {
                const uint8_t marker = code_byte(s, s.pc);
                s.pc = static_cast<uint16_t>(s.pc + 2);
                if (marker != 0) return;
                item.num = next_num(engine, s);
                item.num2 = next_num(engine, s);
                break;
            }
            case ListKind::TypedArgs:
                item.tag = next_byte(s);
                if (item.tag == 0x7F) return;
                if (item.tag == 0) {
                    item.num = next_num(engine, s);
                } else if (item.tag == 1) {
                    item.num = code_byte(s, s.pc);  // the second byte is not used
                    s.pc = static_cast<uint16_t>(s.pc + 2);
                } else if (item.tag == 2) {
                    item.str = next_str(engine, s);
                }
                break;
            case ListKind::None:
                return;
        }
        list.push_back(item);
        if (s.pc < item_pc) return;
    }
}

}  // namespace

uint16_t op_word(Engine& engine) {
    return next_word(*engine.interp.current);
}

int32_t op_num(Engine& engine) {
    return next_num(engine, *engine.interp.current);
}

const char* op_str(Engine& engine) {
    return next_str(engine, *engine.interp.current);
}

void args_read(Engine& engine, const char* signature, Args& args, std::vector<ListItem>& list) {
    Scenario& s = *engine.interp.current;
    args.clear();
    for (const char* p = signature; *p; ++p) {
        switch (*p) {
            case 'w':
                args.push_num(next_word(s));
                break;
            case 'n':
                args.push_num(next_num(engine, s));
                break;
            case 's':
                args.push_str(next_str(engine, s));
                break;
            default:
                list.clear();
                read_list(engine, s, signature_list_kind(p), list);
                args.set_list(list);
                return;
        }
    }
}

}  // namespace qln
