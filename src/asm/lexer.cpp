#include "asm/lexer.h"

namespace qln {
namespace {

bool ident_start(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool ident_char(char c) {
    return ident_start(c) || (c >= '0' && c <= '9');
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Two-character operators first, so that "<=" is never read as "<" and "=".
constexpr std::string_view kPuncts2[] = {
    "<=", ">=", "==", "!=", "&&", "||", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "++", "--"};
constexpr std::string_view kPuncts1 = "+-*/%!<>=&^|()[]{},:#";

}  // namespace

void Lexer::reset(std::string_view line) {
    tokens_.clear();
    pos_ = 0;
    error_.clear();
    error_col_ = 0;
    size_t i = 0;
    auto fail = [&](size_t at, const char* why) {
        error_ = why;
        error_col_ = static_cast<int>(at) + 1;
    };
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == ';') break;
        Token t;
        t.col = static_cast<int>(i) + 1;
        const size_t start = i;
        if (ident_start(c) || (c == '.' && i + 1 < line.size() && ident_start(line[i + 1]))) {
            t.kind = c == '.' ? TokKind::Directive : TokKind::Ident;
            ++i;
            while (i < line.size() && ident_char(line[i])) ++i;
            t.text = line.substr(start, i - start);
        } else if (c >= '0' && c <= '9') {
            t.kind = TokKind::Number;
            uint64_t v = 0;
            bool digits = false;
            bool too_big = false;
            if (c == '0' && i + 1 < line.size() && (line[i + 1] == 'x' || line[i + 1] == 'X')) {
                i += 2;
                while (i < line.size() && hex_value(line[i]) >= 0) {
                    v = v * 16 + static_cast<uint64_t>(hex_value(line[i]));
                    too_big |= v > 0xFFFFFFFFu;
                    digits = true;
                    ++i;
                }
            } else {
                while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
                    v = v * 10 + static_cast<uint64_t>(line[i] - '0');
                    too_big |= v > 0xFFFFFFFFu;
                    digits = true;
                    ++i;
                }
            }
            if (!digits || (i < line.size() && ident_char(line[i]))) {
                fail(start, "malformed number");
                break;
            }
            if (too_big) {
                fail(start, "number does not fit in 32 bits");
                break;
            }
            t.value = v;
            t.text = line.substr(start, i - start);
        } else if (c == '"') {
            ++i;
            while (i < line.size() && line[i] != '"') i += line[i] == '\\' ? 2 : 1;
            if (i >= line.size()) {
                fail(start, "string without its closing quote");
                break;
            }
            t.kind = TokKind::String;
            t.text = line.substr(start + 1, i - start - 1);
            ++i;
        } else {
            t.kind = TokKind::Punct;
            for (std::string_view p : kPuncts2) {
                if (line.substr(i, 2) == p) {
                    t.text = p;
                    break;
                }
            }
            if (t.text.empty()) {
                if (kPuncts1.find(c) == std::string_view::npos) {
                    fail(start, "unexpected character");
                    break;
                }
                t.text = line.substr(i, 1);
            }
            i += t.text.size();
        }
        tokens_.push_back(t);
    }
    Token end;
    end.col = error_.empty() ? static_cast<int>(i) + 1 : error_col_;
    end_col_ = end.col;
    tokens_.push_back(end);
}

}  // namespace qln
