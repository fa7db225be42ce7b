#include "asm/expr_decompiler.h"

#include <algorithm>
#include <vector>

#include "asm/asm_names.h"
#include "asm/expr_compiler.h"
#include "asm/lexer.h"

namespace qln {

size_t expr_length(const uint8_t* p, size_t len) {
    size_t i = 0;
    while (i < len) {
        const uint8_t t = p[i];
        if (t == kTokEnd) return i + 1;
        i += 1 + (t == kTokByte                       ? 1
                  : (t == kTokShort || t == kTokWord) ? 2
                  : t == kTokLong                     ? 4
                                                      : 0);
    }
    return 0;
}

namespace {

// Beyond this many bytes an expression is printed raw: building nested text
// for it would cost time quadratic in its length.
constexpr size_t kMaxInfixBytes = 4096;

struct Node {
    std::string text;
    int prec = kPrecPrimary;
    bool literal = false;  // a constant written as a plain number
};

std::string hex_byte(uint8_t b) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string s = "0x";
    s += kDigits[b >> 4];
    s += kDigits[b & 15];
    return s;
}

std::string raw_block(const uint8_t* p, size_t n) {
    std::string s = "{";
    for (size_t i = 0; i < n; ++i) {
        if (i) s += ' ';
        s += hex_byte(p[i]);
    }
    s += '}';
    return s;
}

std::string raw_block(const std::vector<uint8_t>& bytes) {
    return raw_block(bytes.data(), bytes.size());
}

// {bytes}(arguments): the arguments' tokens come first, then the bytes.
Node raw_call(const std::vector<uint8_t>& bytes, const Node* args, size_t count) {
    Node n;
    n.text = raw_block(bytes) + "(";
    for (size_t i = 0; i < count; ++i) {
        if (i) n.text += ", ";
        n.text += args[i].text;
    }
    n.text += ")";
    return n;
}

std::string parens_if(const Node& n, bool wrap) {
    return wrap ? "(" + n.text + ")" : n.text;
}

// The value a constant token pushes, and whether the compiler would choose
// that same token for it.
int32_t constant_value(const uint8_t* p, bool& canonical) {
    int32_t v = 0;
    switch (p[0]) {
        case kTokByte:
            v = p[1];
            break;
        case kTokShort:
            v = static_cast<int16_t>(static_cast<uint16_t>(p[1] | p[2] << 8));
            break;
        case kTokWord:
            v = static_cast<uint16_t>(p[1] | p[2] << 8);
            break;
        default:
            v = static_cast<int32_t>(uint32_t(p[1]) | uint32_t(p[2]) << 8 | uint32_t(p[3]) << 16 |
                                     uint32_t(p[4]) << 24);
            break;
    }
    std::vector<uint8_t> shortest;
    expr_emit_constant(v, shortest);
    canonical = shortest[0] == p[0];
    return v;
}

size_t constant_size(uint8_t token) {
    return token == kTokByte ? 2 : (token == kTokShort || token == kTokWord) ? 3 : 5;
}

class Decompiler {
  public:
    // False when the tokens have no tree shape.
    bool run(const uint8_t* p, size_t len, std::string& out) {
        size_t i = 0;
        const size_t body = len - 1;
        while (i < body) {
            const uint8_t t = p[i];
            if (t == 0x0F || t >= 0x80) {
                // Tokens without effect ride along with their neighbour.
                (stack_.empty() ? prefix_ : pending_).push_back(t);
                ++i;
                continue;
            }
            flush_pending();
            if (t <= kTokLong) {
                const size_t n = constant_size(t);
                if (i + n > body) return false;
                bool canonical = false;
                const int32_t v = constant_value(p + i, canonical);
                if (canonical && prefix_.empty()) {
                    Node node;
                    node.text = std::to_string(v);
                    node.literal = v >= 0;
                    stack_.push_back(std::move(node));
                } else {
                    prefix_.insert(prefix_.end(), p + i, p + i + n);
                    push_raw_primary();
                }
                i += n;
                continue;
            }
            ++i;
            if (t <= 0x0E) {
                prefix_.push_back(t);
                push_raw_primary();
                continue;
            }
            if (!prefix_.empty()) return false;
            if (!apply(t)) return false;
        }
        flush_pending();
        if (stack_.empty() && prefix_.empty()) {
            out = "{}";
            return true;
        }
        if (stack_.size() != 1 || !prefix_.empty()) return false;
        out = std::move(stack_[0].text);
        return true;
    }

  private:
    void push_raw_primary() {
        Node n;
        n.text = raw_block(prefix_);
        prefix_.clear();
        stack_.push_back(std::move(n));
    }

    void flush_pending() {
        if (pending_.empty()) return;
        stack_.back() = raw_call(pending_, &stack_.back(), 1);
        pending_.clear();
    }

    bool apply(uint8_t t) {
        const size_t operands = (t >= 0x50 && t <= 0x7E) ? 2 : 1;
        if (stack_.size() < operands) return false;
        if (operands == 1) {
            Node& x = stack_.back();
            x = unary(t, x);
            return true;
        }
        Node right = std::move(stack_.back());
        stack_.pop_back();
        Node& left = stack_.back();
        left = binary(t, left, right);
        return true;
    }

    static Node unary(uint8_t t, const Node& x) {
        Node n;
        if (t >= kTokVar && t < kTokVar + kSpaceCount) {
            const int space = t - kTokVar;
            n.text = space == kSpaceResults  ? "r["
                     : space == kSpaceLocals ? "l["
                                             : "v" + std::to_string(space) + "[";
            n.text += x.text + "]";
            return n;
        }
        if (t >= kTokFirstFunction && t < kTokFirstFunction + 9) {
            n.text = std::string(kUnaryFunctions[t - kTokFirstFunction]) + "(" + x.text + ")";
            return n;
        }
        const bool loose = x.prec < kPrecUnary;
        switch (t) {
            case kTokNeg:
                // "-5" would be the constant -5, and "--" the decrement.
                n.text = "-" + parens_if(x, loose || x.literal || x.text[0] == '-');
                break;
            case kTokNot:
                n.text = "!" + parens_if(x, loose);
                break;
            case kTokInc:
                n.text = "++" + parens_if(x, loose);
                break;
            case kTokDec:
                n.text = "--" + parens_if(x, loose);
                break;
            default:
                return raw_call({t}, &x, 1);
        }
        n.prec = kPrecUnary;
        return n;
    }

    static Node binary(uint8_t t, const Node& l, const Node& r) {
        if (const BinaryOp* op = binary_op_by_token(t)) {
            Node n;
            n.text = parens_if(l, l.prec < op->prec) + " " + std::string(op->text) + " " +
                     parens_if(r, r.prec <= op->prec);
            n.prec = op->prec;
            return n;
        }
        if (const BinaryOp* op = assign_op_by_token(t)) {
            Node n;
            n.text = parens_if(l, l.prec <= kPrecAssign) + " " + std::string(op->text) + " " +
                     parens_if(r, r.prec < kPrecAssign);
            n.prec = kPrecAssign;
            return n;
        }
        if (t == kTokAtan) {
            Node n;
            n.text = "atan(" + l.text + ", " + r.text + ")";
            return n;
        }
        const Node args[2] = {l, r};
        return raw_call({t}, args, 2);
    }

    std::vector<Node> stack_;
    std::vector<uint8_t> prefix_;   // bytes before the next push, on an empty stack
    std::vector<uint8_t> pending_;  // bytes after the top entry
};

bool compiles_to(const std::string& text, const uint8_t* p, size_t len) {
    Lexer lexer;
    lexer.reset(text);
    std::vector<uint8_t> bytes;
    AsmError err;
    if (!expr_compile(lexer, bytes, nullptr, err) || !lexer.at_end()) return false;
    return bytes.size() == len && std::equal(bytes.begin(), bytes.end(), p);
}

}  // namespace

std::string expr_decompile(const uint8_t* p, size_t len) {
    if (len == 0 || p[len - 1] != kTokEnd) return raw_block(p, len);
    std::string text;
    if (len <= kMaxInfixBytes && Decompiler().run(p, len, text) && compiles_to(text, p, len))
        return text;
    return raw_block(p, len - 1);
}

}  // namespace qln
