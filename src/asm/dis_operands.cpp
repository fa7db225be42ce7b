// Decoding and printing one command by its signature in the command table.

#include <cstring>

#include "asm/asm_names.h"
#include "asm/dis_internal.h"
#include "asm/expr_decompiler.h"
#include "asm/text_literal.h"
#include "engine/command_row.h"

namespace qln {

std::string dis_hex(uint32_t value, int digits) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string s = "0x";
    for (int i = digits - 1; i >= 0; --i) s += kDigits[(value >> (4 * i)) & 15];
    return s;
}

std::string dis_label(uint32_t offset) {
    return "L_" + dis_hex(offset, 4).substr(2);
}

bool dis_table_string(const DisContext& ctx, uint16_t w, std::string& bytes) {
    const size_t at = ctx.t_offset + w;
    if (at >= ctx.len) return false;
    const void* nul = std::memchr(ctx.image + at, 0, ctx.len - at);
    if (!nul) return false;
    bytes.assign(reinterpret_cast<const char*>(ctx.image + at),
                 static_cast<const uint8_t*>(nul) - (ctx.image + at));
    return true;
}

namespace {

// Reads operands within [pos, end); any read past end marks the command as
// not decodable. With out set, operands are printed.
class CommandReader {
  public:
    CommandReader(const DisContext& ctx, size_t pos, size_t end, DisFindings& found,
                  std::string* out)
        : ctx_(ctx), pos_(pos), end_(end), found_(found), out_(out) {}

    bool ok() const { return ok_; }
    size_t pos() const { return pos_; }

    void text(std::string_view s) {
        if (out_) out_->append(s);
    }

    int byte() {
        if (!ok_ || pos_ >= end_) return fail();
        return ctx_.image[pos_++];
    }
    int peek_word() const {
        if (!ok_ || end_ - pos_ < 2) return -1;
        return ctx_.image[pos_] | ctx_.image[pos_ + 1] << 8;
    }

    int word() {
        if (!ok_ || end_ - pos_ < 2) return fail();
        const int w = ctx_.image[pos_] | ctx_.image[pos_ + 1] << 8;
        pos_ += 2;
        return w;
    }

    void target() {
        const int w = word();
        if (w < 0) return;
        found_.targets.push_back(static_cast<uint16_t>(w));
        if (!out_) return;
        if (ctx_.labels && ctx_.labels->count(static_cast<uint32_t>(w)))
            text(dis_label(static_cast<uint32_t>(w)));
        else
            text(dis_hex(static_cast<uint32_t>(w), 4));
    }

    void num() {
        if (!ok_) return;
        const size_t n = expr_length(ctx_.image + pos_, end_ - pos_);
        if (n == 0) {
            fail();
            return;
        }
        if (out_) text(expr_decompile(ctx_.image + pos_, n));
        pos_ += n;
    }

    void str() {
        const int w = word();
        if (w < 0) return;
        if (w == 0xFFFF) {
            text("s[");
            num();
            text("]");
            return;
        }
        found_.string_words.push_back(static_cast<uint16_t>(w));
        if (!out_) return;
        std::string bytes;
        const bool exists = dis_table_string(ctx_, static_cast<uint16_t>(w), bytes);
        if (ctx_.literal_strings && exists) {
            text(literal_quote(bytes, *ctx_.codec));
            return;
        }
        text("#" + std::to_string(w));
        if (exists) comment_ += " " + literal_quote(bytes, *ctx_.codec);
    }

    const std::string& comment() const { return comment_; }

  private:
    int fail() {
        ok_ = false;
        return -1;
    }

    const DisContext& ctx_;
    size_t pos_;
    size_t end_;
    DisFindings& found_;
    std::string* out_;
    bool ok_ = true;
    std::string comment_;
};

// The closing list, item by item, in the forms the assembler reads.
void list_items(CommandReader& r, char letter) {
    while (r.ok()) {
        switch (letter) {
            case 'J': {
                const int w = r.peek_word();
                if (w < 0 || w == 0xFFFF) {
                    r.word();
                    return;
                }
                r.text(", ");
                r.target();
                break;
            }
            case 'C': {
                const int tag = r.byte();
                if (tag < 0 || tag == 0x80) return;
                r.text(", [");
                if (tag != 0) r.text(dis_hex(static_cast<uint32_t>(tag), 2) + ": ");
                r.str();
                r.text(", ");
                r.target();
                r.text(", ");
                r.num();
                r.text("]");
                break;
            }
            case 'K': {
                const int key = r.byte();
                if (key < 0 || key == 0x7F) return;
                const std::string_view name = window_key_name(static_cast<uint8_t>(key));
                r.text(", ");
                r.text(name.empty() ? std::to_string(key) : std::string(name));
                r.text(": ");
                r.num();
                break;
            }
            case 'P': {
                const int first = r.byte();
                const int second = r.byte();
                if (second < 0) return;
                if (first != 0) {
                    if (first != 1 || second != 0) {
                        r.text(", [end: " + dis_hex(static_cast<uint32_t>(first), 2) + ", " +
                               dis_hex(static_cast<uint32_t>(second), 2) + "]");
                    }
                    return;
                }
                r.text(", [");
                if (second != 0) r.text(dis_hex(static_cast<uint32_t>(second), 2) + ": ");
                r.num();
                r.text(", ");
                r.num();
                r.text("]");
                break;
            }
            case 'T': {
                const int type = r.byte();
                if (type < 0 || type == 0x7F) return;
                r.text(", ");
                if (type == 0) {
                    r.num();
                } else if (type == 2) {
                    r.str();
                } else if (type == 1) {
                    const int value = r.byte();
                    const int unused = r.byte();
                    if (unused < 0) return;
                    r.text("[1: " + std::to_string(value));
                    if (unused != 0) r.text(", " + std::to_string(unused));
                    r.text("]");
                } else {
                    r.text("[" + std::to_string(type) + ":]");
                }
                break;
            }
            default:
                return;
        }
    }
}

}  // namespace

size_t dis_command(const DisContext& ctx, size_t pos, size_t end, DisFindings& found,
                   std::string* text) {
    const CommandRow& row = command_table[ctx.image[pos]];
    if (!row.name) return 0;
    // Findings count only for a command that decodes in full.
    DisFindings local;
    CommandReader r(ctx, pos + 1, end, local, text);
    r.text(row.name);
    bool first = true;
    for (const char* p = row.signature; *p && r.ok(); ++p) {
        if (*p != 'w' && *p != 'n' && *p != 's') {
            list_items(r, *p);
            break;
        }
        r.text(first ? " " : ", ");
        first = false;
        switch (*p) {
            case 'w':
                r.target();
                break;
            case 'n':
                r.num();
                break;
            case 's':
                r.str();
                break;
        }
    }
    if (!r.ok()) return 0;
    found.targets.insert(found.targets.end(), local.targets.begin(), local.targets.end());
    found.string_words.insert(found.string_words.end(), local.string_words.begin(),
                              local.string_words.end());
    if (text && !r.comment().empty()) *text += "  ;" + r.comment();
    return r.pos() - pos;
}

}  // namespace qln
