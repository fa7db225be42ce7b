#include "asm/expr_compiler.h"

#include "asm/asm_names.h"

namespace qln {

void expr_emit_constant(int32_t value, std::vector<uint8_t>& out) {
    const auto u = static_cast<uint32_t>(value);
    if (value >= 0 && value <= 0xFF) {
        out.push_back(kTokByte);
        out.push_back(static_cast<uint8_t>(u));
    } else if (value >= -0x8000 && value <= 0x7FFF) {
        out.push_back(kTokShort);
        out.push_back(static_cast<uint8_t>(u));
        out.push_back(static_cast<uint8_t>(u >> 8));
    } else if (value >= 0 && value <= 0xFFFF) {
        out.push_back(kTokWord);
        out.push_back(static_cast<uint8_t>(u));
        out.push_back(static_cast<uint8_t>(u >> 8));
    } else {
        out.push_back(kTokLong);
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
    }
}

int expr_space_by_name(std::string_view name) {
    if (name == "r") return kSpaceResults;
    if (name == "l") return kSpaceLocals;
    if (name.size() < 2 || name.size() > 3 || name[0] != 'v') return -1;
    int n = 0;
    for (size_t i = 1; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return -1;
        n = n * 10 + (name[i] - '0');
    }
    if (name.size() == 3 && name[1] == '0') return -1;  // no leading zeros
    return n < kSpaceCount ? n : -1;
}

bool expr_reserved_name(std::string_view name) {
    if (name == "s" || name == "atan" || expr_space_by_name(name) >= 0) return true;
    // Anything shaped like a variable space is reserved, in range or not.
    if (name.size() >= 2 && name[0] == 'v' && name.find_first_not_of("0123456789", 1) == name.npos)
        return true;
    for (std::string_view f : kUnaryFunctions)
        if (f == name) return true;
    return false;
}

namespace {

// Deep enough for any sensible expression, shallow enough for the stack.
constexpr int kMaxDepth = 200;

class ExprParser {
  public:
    ExprParser(Lexer& lexer, std::vector<uint8_t>& out, std::vector<ExprLabelUse>* labels,
               AsmError& err)
        : lx_(lexer), out_(out), labels_(labels), err_(err) {}

    bool parse_expression() {
        if (!enter()) return false;
        const bool ok = parse_assignment();
        --depth_;
        return ok;
    }

  private:
    bool fail(int col, std::string message) {
        err_.col = col;
        err_.message = std::move(message);
        return false;
    }
    bool fail_here(const char* expected) {
        const Token& t = lx_.peek();
        if (t.kind == TokKind::End && !lx_.error().empty())
            return fail(lx_.error_col(), lx_.error());
        std::string got = t.kind == TokKind::End ? "end of line" : "'" + std::string(t.text) + "'";
        return fail(t.col, std::string("expected ") + expected + ", found " + got);
    }
    bool enter() {
        if (++depth_ > kMaxDepth) return fail(lx_.peek().col, "expression nested too deeply");
        return true;
    }

    bool parse_assignment() {
        if (!parse_binary(kPrecLogOr)) return false;
        const Token& t = lx_.peek();
        if (t.kind != TokKind::Punct) return true;
        for (const BinaryOp& op : kAssignOps) {
            if (t.text != op.text) continue;
            lx_.next();
            if (!parse_expression()) return false;  // right to left
            out_.push_back(op.token);
            return true;
        }
        return true;
    }

    // Precedence climbing over the left-associative binary operators.
    bool parse_binary(int min_prec) {
        if (!parse_unary()) return false;
        for (;;) {
            const Token& t = lx_.peek();
            const BinaryOp* found = nullptr;
            if (t.kind == TokKind::Punct) {
                for (const BinaryOp& op : kBinaryOps)
                    if (t.text == op.text && op.prec >= min_prec) found = &op;
            }
            if (!found) return true;
            lx_.next();
            if (!enter()) return false;
            const bool ok = parse_binary(found->prec + 1);
            --depth_;
            if (!ok) return false;
            out_.push_back(found->token);
        }
    }

    bool parse_unary() {
        const Token& t = lx_.peek();
        uint8_t token = 0;
        if (t.is("-")) {
            lx_.next();
            if (lx_.peek().kind == TokKind::Number) {
                // A minus written before a number belongs to the constant.
                const uint64_t v = lx_.next().value;
                if (v > 0x80000000u) return fail(t.col, "constant below -2147483648");
                expr_emit_constant(static_cast<int32_t>(-static_cast<int64_t>(v)), out_);
                return true;
            }
            token = kTokNeg;
        } else if (t.is("!")) {
            lx_.next();
            token = kTokNot;
        } else if (t.is("++")) {
            lx_.next();
            token = kTokInc;
        } else if (t.is("--")) {
            lx_.next();
            token = kTokDec;
        } else {
            return parse_primary();
        }
        if (!enter()) return false;
        const bool ok = parse_unary();
        --depth_;
        if (!ok) return false;
        out_.push_back(token);
        return true;
    }

    bool parse_arguments(int count) {
        if (!lx_.accept("(")) return fail_here("'('");
        for (int i = 0; i < count; ++i) {
            if (i > 0 && !lx_.accept(",")) return fail_here("','");
            if (!parse_expression()) return false;
        }
        if (!lx_.accept(")")) return fail_here("')'");
        return true;
    }

    bool parse_raw() {
        std::vector<uint8_t> bytes;
        for (;;) {
            const Token& b = lx_.peek();
            if (b.is("}")) break;
            if (b.is(",")) {
                lx_.next();
                continue;
            }
            if (b.kind != TokKind::Number) return fail_here("a byte or '}'");
            if (b.value > 0xFF) return fail(b.col, "raw token byte above 0xFF");
            bytes.push_back(static_cast<uint8_t>(b.value));
            lx_.next();
        }
        lx_.next();
        // {bytes}(a, b, ...) places the arguments' tokens before the bytes.
        if (lx_.accept("(")) {
            if (!lx_.accept(")")) {
                for (;;) {
                    if (!parse_expression()) return false;
                    if (lx_.accept(")")) break;
                    if (!lx_.accept(",")) return fail_here("',' or ')'");
                }
            }
        }
        out_.insert(out_.end(), bytes.begin(), bytes.end());
        return true;
    }

    bool parse_primary() {
        const Token t = lx_.peek();
        if (t.kind == TokKind::Number) {
            lx_.next();
            expr_emit_constant(static_cast<int32_t>(static_cast<uint32_t>(t.value)), out_);
            return true;
        }
        if (t.is("(")) {
            lx_.next();
            if (!parse_expression()) return false;
            if (!lx_.accept(")")) return fail_here("')'");
            return true;
        }
        if (t.is("{")) {
            lx_.next();
            return parse_raw();
        }
        if (t.kind != TokKind::Ident) return fail_here("an expression");
        lx_.next();
        const int space = expr_space_by_name(t.text);
        if (space >= 0) {
            if (!lx_.accept("[")) return fail_here("'[' after a variable space");
            if (!parse_expression()) return false;
            if (!lx_.accept("]")) return fail_here("']'");
            out_.push_back(static_cast<uint8_t>(kTokVar + space));
            return true;
        }
        for (int i = 0; i < 9; ++i) {
            if (kUnaryFunctions[i] != t.text) continue;
            if (!parse_arguments(1)) return false;
            out_.push_back(static_cast<uint8_t>(kTokFirstFunction + i));
            return true;
        }
        if (t.text == "atan") {
            if (!parse_arguments(2)) return false;
            out_.push_back(kTokAtan);
            return true;
        }
        if (expr_reserved_name(t.text)) {
            return fail(t.col, "'" + std::string(t.text) +
                                   "' is not a variable space (v0 to v31, r, l)" +
                                   (t.text == "s" ? "; s[...] is a string operand" : ""));
        }
        if (!labels_) return fail(t.col, "labels are not allowed here");
        labels_->push_back(ExprLabelUse{std::string(t.text), out_.size() + 1, t.col});
        out_.push_back(kTokWord);
        out_.push_back(0);
        out_.push_back(0);
        return true;
    }

    Lexer& lx_;
    std::vector<uint8_t>& out_;
    std::vector<ExprLabelUse>* labels_;
    AsmError& err_;
    int depth_ = 0;
};

}  // namespace

bool expr_compile(Lexer& lexer, std::vector<uint8_t>& out, std::vector<ExprLabelUse>* labels,
                  AsmError& err) {
    const size_t start = out.size();
    ExprParser parser(lexer, out, labels, err);
    if (!parser.parse_expression()) {
        out.resize(start);
        return false;
    }
    out.push_back(kTokEnd);
    return true;
}

}  // namespace qln
