// Commands and their operands, read by the signature of the command table.

#include <cstring>
#include <string>

#include "asm/asm_context.h"
#include "asm/asm_names.h"
#include "asm/expr_compiler.h"
#include "engine/command_row.h"

namespace qln {

bool AsmState::command(const Token& name) {
    const CommandRow* row = nullptr;
    for (const CommandRow& s : command_table) {
        if (s.name && name.text == s.name) {
            row = &s;
            break;
        }
    }
    if (!row) return fail_at(name, "unknown command '" + std::string(name.text) + "'");
    lx_.next();
    image_.push_back(row->byte);
    for (const char* p = row->signature; *p; ++p) {
        const size_t index = size_t(p - row->signature);
        if (*p != 'w' && *p != 'n' && *p != 's') {
            if (!list_operand(*p)) return operand_failed(*row, index);
            break;
        }
        if (p != row->signature && !expect(",")) return operand_failed(*row, index);
        if (!operand(*p)) return operand_failed(*row, index);
    }
    if (lx_.peek().is(","))
        return fail_at(lx_.peek(), "too many operands for '" + std::string(row->name) + "'");
    if (!lx_.at_end()) return fail_expected("',' or end of line");
    return true;
}

// Says which operand of the row was being read when the error came, so an
// author need not count commas: "... (operand 2 of win_load: fade_ms, the
// fade's length in milliseconds)".
bool AsmState::operand_failed(const CommandRow& row, size_t index) {
    if (index < row.operand_count) {
        const OperandRow& o = row.operands[index];
        err_.message += " (operand " + std::to_string(index + 1) + " of " + row.name + ": " +
                        o.name + ", " + o.meaning + ")";
    }
    return false;
}

bool AsmState::operand(char letter) {
    switch (letter) {
        case 'w':
            return word_operand();
        case 'n':
            return num_operand();
        case 's':
            return str_operand();
        default:
            return fail(lx_.peek().col, "bad signature letter in the command table");
    }
}

// A code offset or plain word: a number (-32768 to 65535) or a label.
bool AsmState::word_operand() {
    const Token t = lx_.peek();
    if (t.kind == TokKind::Ident) {
        lx_.next();
        label_uses_.push_back(LabelUse{std::string(t.text), image_.size(), line_no_, t.col});
        put_word(0);
        return true;
    }
    int64_t v = 0;
    if (!signed_number(-0x8000, 0xFFFF, v, "a label or a word")) return false;
    put_word(static_cast<uint16_t>(v));
    return true;
}

bool AsmState::num_operand() {
    std::vector<ExprLabelUse> uses;
    AsmError e;
    if (!expr_compile(lx_, image_, &uses, e)) return fail(e.col, e.message);
    for (ExprLabelUse& u : uses)
        label_uses_.push_back(LabelUse{std::move(u.name), u.offset, line_no_, u.col});
    return true;
}

// "text", #N (a string-table word) or s[number] (a string register).
bool AsmState::str_operand() {
    const Token t = lx_.peek();
    if (t.kind == TokKind::String) {
        if (raw_) return fail_at(t, "a .raw image has no string table; use #N");
        std::string bytes;
        if (!string_literal(bytes, false)) return false;
        literals_.push_back(LiteralUse{std::move(bytes), image_.size(), line_no_, t.col});
        put_word(0);
        return true;
    }
    if (lx_.accept("#")) {
        int64_t v = 0;
        if (!signed_number(0, 0xFFFE, v, "a string-table offset")) return false;
        put_word(static_cast<uint16_t>(v));
        return true;
    }
    if (t.is_ident("s") && lx_.peek(1).is("[")) {
        lx_.next();
        lx_.next();
        put_word(0xFFFF);
        if (!num_operand()) return false;
        return expect("]");
    }
    return fail_expected("a string (\"text\", #offset or s[register])");
}

bool AsmState::list_operand(char letter) {
    bool ended = false;
    while (lx_.accept(",")) {
        if (ended) return fail(lx_.peek().col, "nothing may follow the [end: ...] item");
        bool ok = false;
        switch (letter) {
            case 'J': {
                const Token t = lx_.peek();
                const size_t at = image_.size();
                ok = word_operand();
                if (ok && image_[at] == 0xFF && image_[at + 1] == 0xFF)
                    return fail_at(t, "0xFFFF would end the target list");
                break;
            }
            case 'C':
                ok = choice_item();
                break;
            case 'K':
                ok = key_item();
                break;
            case 'P':
                ok = pair_item(ended);
                break;
            case 'T':
                ok = typed_item();
                break;
            default:
                return fail(lx_.peek().col, "bad list letter in the command table");
        }
        if (!ok) return false;
    }
    switch (letter) {
        case 'J':
            put_word(0xFFFF);
            break;
        case 'C':
            image_.push_back(0x80);
            break;
        case 'K':
        case 'T':
            image_.push_back(0x7F);
            break;
        case 'P':
            if (!ended) {
                image_.push_back(0x01);
                image_.push_back(0x00);
            }
            break;
    }
    return true;
}

// [tag: "text", target, condition]; the tag byte defaults to 0.
bool AsmState::choice_item() {
    if (!expect("[")) return false;
    int64_t tag = 0;
    if (lx_.peek().kind == TokKind::Number && lx_.peek(1).is(":")) {
        const Token t = lx_.peek();
        if (!signed_number(0, 255, tag, "an entry byte")) return false;
        if (tag == 0x80) return fail_at(t, "0x80 would end the choice list");
        lx_.next();
    }
    image_.push_back(static_cast<uint8_t>(tag));
    return str_operand() && expect(",") && word_operand() && expect(",") && num_operand() &&
           expect("]");
}

// key: value, where key is a window field name or a key byte.
bool AsmState::key_item() {
    const Token t = lx_.peek();
    int64_t key = 0;
    if (t.kind == TokKind::Ident) {
        key = window_key_by_name(t.text);
        if (key < 0) return fail_at(t, "unknown window key '" + std::string(t.text) + "'");
        lx_.next();
    } else {
        if (!signed_number(0, 255, key, "a window key")) return false;
        if (key == 0x7F) return fail_at(t, "key 0x7F would end the list");
    }
    image_.push_back(static_cast<uint8_t>(key));
    return expect(":") && num_operand();
}

// [win_no, buf_no], [second: win_no, buf_no] or the closing [end: first, second].
bool AsmState::pair_item(bool& ended) {
    if (!expect("[")) return false;
    if (lx_.peek().is_ident("end") && lx_.peek(1).is(":")) {
        lx_.next();
        lx_.next();
        const Token t = lx_.peek();
        int64_t first = 0;
        int64_t second = 0;
        if (!signed_number(0, 255, first, "a byte") || !expect(",") ||
            !signed_number(0, 255, second, "a byte"))
            return false;
        if (first == 0) return fail_at(t, "the closing byte of a pair list cannot be 0");
        image_.push_back(static_cast<uint8_t>(first));
        image_.push_back(static_cast<uint8_t>(second));
        ended = true;
        return expect("]");
    }
    int64_t second = 0;
    if (lx_.peek().kind == TokKind::Number && lx_.peek(1).is(":")) {
        if (!signed_number(0, 255, second, "a byte")) return false;
        lx_.next();
    }
    image_.push_back(0);
    image_.push_back(static_cast<uint8_t>(second));
    return num_operand() && expect(",") && num_operand() && expect("]");
}

// A number (type 0), a string (type 2), or [type: ...] spelled out.
bool AsmState::typed_item() {
    const Token t = lx_.peek();
    if (!t.is("[")) {
        const bool string =
            t.kind == TokKind::String || t.is("#") || (t.is_ident("s") && lx_.peek(1).is("["));
        image_.push_back(string ? 2 : 0);
        return string ? str_operand() : num_operand();
    }
    lx_.next();
    int64_t type = 0;
    const Token tt = lx_.peek();
    if (!signed_number(0, 255, type, "an argument type") || !expect(":")) return false;
    if (type == 0x7F) return fail_at(tt, "type 0x7F would end the argument list");
    image_.push_back(static_cast<uint8_t>(type));
    bool ok = true;
    if (type == 0) {
        ok = num_operand();
    } else if (type == 2) {
        ok = str_operand();
    } else if (type == 1) {
        int64_t value = 0;
        int64_t unused = 0;
        ok = signed_number(-128, 255, value, "a byte") &&
             (!lx_.accept(",") || signed_number(-128, 255, unused, "a byte"));
        image_.push_back(static_cast<uint8_t>(value));
        image_.push_back(static_cast<uint8_t>(unused));
    }
    return ok && expect("]");
}

}  // namespace qln
