// The expression evaluator: postfix tokens on a fixed stack of 32 entries.
// An entry is a plain value (space -1) or a reference to a variable; operators
// read references through the variable spaces and assignments write them back.
//
// Scenario compilers never emit a stack deeper than 32 entries, an operator
// without its operands, or a division by zero, but hostile code may, so each
// has a fixed outcome:
//   - a push onto a full stack is dropped;
//   - an operand missing from the stack is the plain value 0, and an
//     operator on an empty stack pushes its result;
//   - x / 0 and x % 0 give 0; INT_MIN / -1 gives INT_MIN and INT_MIN % -1
//     gives 0 (what wrapping arithmetic makes of them);
//   - fixed-point results beyond 32 bits saturate.
#include "scenario/expr.h"

#include <array>
#include <cmath>
#include <cstring>

#include "engine/engine.h"
#include "tables/var_view.h"

namespace qln {

namespace {

constexpr int kStackSize = 32;
constexpr int32_t kPlain = -1;  // the immediate space: the number is the value
constexpr uint32_t kPcLimit = 0x10000;
constexpr double kRadiansPerDegree = 0.017453292519943295;

struct Entry {
    int32_t number;
    int32_t space;
};

int32_t wrap_add(int32_t a, int32_t b) {
    return int32_t(uint32_t(a) + uint32_t(b));
}
int32_t wrap_sub(int32_t a, int32_t b) {
    return int32_t(uint32_t(a) - uint32_t(b));
}
int32_t wrap_mul(int32_t a, int32_t b) {
    return int32_t(uint32_t(a) * uint32_t(b));
}
int32_t wrap_neg(int32_t a) {
    return int32_t(0u - uint32_t(a));
}

int32_t divide(int32_t left, int32_t right) {
    if (right == 0) return 0;
    if (right == -1) return wrap_neg(left);
    return left / right;
}

int32_t modulo(int32_t left, int32_t right) {
    if (right == 0 || right == -1) return 0;
    return left % right;
}

// Rounds a fixed-point result: add 0.5, then drop the fraction toward zero.
int32_t fixed_round(double value) {
    const double v = value + 0.5;
    if (std::isnan(v)) return 0;
    if (v >= 2147483648.0) return INT32_MAX;
    if (v <= -2147483649.0) return INT32_MIN;
    return int32_t(v);
}

int32_t fixed_tan(int32_t degrees) {
    // Right angles have no tangent; the wrapped difference keeps -1 exactly
    // where 32-bit code puts it.
    if (wrap_sub(degrees, 90) % 180 == 0) return -1;
    return fixed_round(std::tan(degrees * kRadiansPerDegree) * 1000);
}

int32_t fixed_atan(int32_t left, int32_t right) {
    if (right == 0) return 9000;
    return fixed_round(std::atan(double(left) / double(right)) / kRadiansPerDegree * 100);
}

int32_t fixed_random(Random& random, int32_t range) {
    if (range == 0) return 0;
    return random_next(random) % range;  // the draw is never negative
}

int32_t binary(uint8_t token, int32_t l, int32_t r) {
    switch (token) {
        case 0x50:
            return wrap_mul(l, r);
        case 0x51:
            return divide(l, r);
        case 0x52:
            return modulo(l, r);
        case 0x53:
            return wrap_add(l, r);
        case 0x54:
            return wrap_sub(l, r);
        case 0x55:
            return l > r;
        case 0x56:
            return l < r;
        case 0x57:
            return l >= r;
        case 0x58:
            return l <= r;
        case 0x59:
            return l == r;
        case 0x5A:
            return l != r;
        case 0x5B:
            return l & r;
        case 0x5C:
            return l ^ r;
        case 0x5D:
            return l | r;
        case 0x5E:
            return l != 0 && r != 0;
        case 0x5F:
            return l != 0 || r != 0;
        default:
            return r;  // 0x61 to 0x6F keep the right operand
    }
}

// Compound assignments 0x71 to 0x78.
int32_t compound(uint8_t token, int32_t l, int32_t r) {
    switch (token) {
        case 0x71:
            return wrap_add(l, r);
        case 0x72:
            return wrap_sub(l, r);
        case 0x73:
            return wrap_mul(l, r);
        case 0x74:
            return divide(l, r);
        case 0x75:
            return modulo(l, r);
        case 0x76:
            return l & r;
        case 0x77:
            return l | r;
        default:
            return l ^ r;
    }
}

enum class TokenKind : uint8_t {
    Nothing,  // 0x0F and 0x80 to 0xFF
    Byte,
    SignedWord,
    Word,
    DoubleWord,
    Zero,       // 0x04 to 0x0E
    Reference,  // 0x10 to 0x2F
    Unary,      // 0x30 to 0x3A
    Index,      // 0x3B to 0x3F
    Step,       // 0x40 to 0x4F
    Binary,     // 0x50 to 0x6F
    Assign,     // 0x70 to 0x7E
    End,
};

constexpr std::array<TokenKind, 256> token_kinds() {
    std::array<TokenKind, 256> kinds{};
    auto fill = [&kinds](int first, int last, TokenKind kind) {
        for (int t = first; t <= last; ++t) kinds[size_t(t)] = kind;
    };
    fill(0x00, 0x00, TokenKind::Byte);
    fill(0x01, 0x01, TokenKind::SignedWord);
    fill(0x02, 0x02, TokenKind::Word);
    fill(0x03, 0x03, TokenKind::DoubleWord);
    fill(0x04, 0x0E, TokenKind::Zero);
    fill(0x10, 0x2F, TokenKind::Reference);
    fill(0x30, 0x3A, TokenKind::Unary);
    fill(0x3B, 0x3F, TokenKind::Index);
    fill(0x40, 0x4F, TokenKind::Step);
    fill(0x50, 0x6F, TokenKind::Binary);
    fill(0x70, 0x7E, TokenKind::Assign);
    fill(0x7F, 0x7F, TokenKind::End);
    return kinds;
}

// One lookup and one jump per token.
constexpr std::array<TokenKind, 256> kTokenKinds = token_kinds();

class Evaluator {
  public:
    explicit Evaluator(Engine& engine) : engine_(engine), views_(engine.tables.views) {}

    int32_t read(const Entry& e) const {
        if (e.space == kPlain) return e.number;
        if (uint32_t(e.space) < kViewCount) {
            if (e.number < 0) return 0;
            return view_get(views_[e.space], uint32_t(e.space), uint32_t(e.number));
        }
        return var_get(engine_, e.space, e.number);
    }

    void write(const Entry& e, int32_t value) {
        if (uint32_t(e.space) < kViewCount) {
            if (e.number >= 0)
                view_set(views_[e.space], uint32_t(e.space), uint32_t(e.number), value);
            return;
        }
        var_set(engine_, e.space, e.number, value);  // ignores plain values and space 10
    }

    void push(int32_t value) {
        if (sp_ < kStackSize) stack_[sp_++] = Entry{value, kPlain};
    }

    Entry pop() { return sp_ > 0 ? stack_[--sp_] : Entry{0, kPlain}; }

    Entry& top() {
        if (sp_ == 0) stack_[sp_++] = Entry{0, kPlain};
        return stack_[sp_ - 1];
    }

    int32_t result() const { return sp_ > 0 ? read(stack_[sp_ - 1]) : 0; }

  private:
    Engine& engine_;
    VarView* views_;
    Entry stack_[kStackSize];
    int sp_ = 0;
};

int32_t unary(Random& random, uint8_t token, int32_t x) {
    switch (token) {
        case 0x30:
            return wrap_neg(x);
        case 0x31:
            return x == 0;
        case 0x32:
            return fixed_random(random, x);
        case 0x33:
            return x < 0 ? wrap_neg(x) : x;
        case 0x34:
            return (x > 0) - (x < 0);
        case 0x35:
            return x < 0 ? 0 : fixed_round(std::sqrt(x * 0.001) * 1000);
        case 0x36:
            return fixed_round(std::sin(x * kRadiansPerDegree) * 1000);
        case 0x37:
            return fixed_round(std::cos(x * kRadiansPerDegree) * 1000);
        case 0x38:
            return fixed_tan(x);
        case 0x39:
            return fixed_round(std::exp(x * 0.001) * 1000);
        default:
            return x <= 0 ? -1 : fixed_round(std::log(x * 0.001) * 1000);  // 0x3A
    }
}

}  // namespace

int32_t expr_eval(Engine& engine, const uint8_t* code, uint32_t size, uint16_t& pc) {
    Evaluator ev(engine);
    // Bytes past the code or past the 16-bit pc range read as the end token.
    const uint32_t limit = code ? (size < kPcLimit ? size : kPcLimit) : 0;
    uint32_t p = pc;
    while (p < limit) {
        const uint8_t token = code[p++];
        switch (kTokenKinds[token]) {
            case TokenKind::Byte:
                if (p == limit) goto cut_off;
                ev.push(code[p]);
                p += 1;
                break;
            case TokenKind::SignedWord:
            case TokenKind::Word: {
                if (limit - p < 2) goto cut_off;
                const uint16_t word = uint16_t(code[p] | code[p + 1] << 8);
                p += 2;
                ev.push(token == 0x01 ? int32_t(int16_t(word)) : int32_t(word));
                break;
            }
            case TokenKind::DoubleWord:
                if (limit - p < 4) goto cut_off;
                ev.push(int32_t(uint32_t(code[p]) | uint32_t(code[p + 1]) << 8 |
                                uint32_t(code[p + 2]) << 16 | uint32_t(code[p + 3]) << 24));
                p += 4;
                break;
            case TokenKind::Zero:
                ev.push(0);
                break;
            case TokenKind::Reference: {
                // A reference's index may itself be a variable: read it first.
                Entry& e = ev.top();
                e = Entry{ev.read(e), int32_t(token - 0x10)};
                break;
            }
            case TokenKind::Unary: {
                Entry& e = ev.top();
                e = Entry{unary(engine.random, token, ev.read(e)), kPlain};
                break;
            }
            case TokenKind::Index:
                ev.top().space = kPlain;  // a reference keeps only its index
                break;
            case TokenKind::Step: {
                Entry& e = ev.top();
                const int32_t v = ev.read(e);
                ev.write(e, token == 0x40 ? wrap_add(v, 1) : token == 0x41 ? wrap_sub(v, 1) : v);
                break;
            }
            case TokenKind::Binary: {
                const Entry right = ev.pop();
                Entry& left = ev.top();
                const int32_t r = ev.read(right);
                const int32_t l = ev.read(left);
                left = Entry{token == 0x60 ? fixed_atan(l, r) : binary(token, l, r), kPlain};
                break;
            }
            case TokenKind::Assign: {
                // The left reference stays, so the expression yields the stored value read back.
                const Entry right = ev.pop();
                Entry& left = ev.top();
                const int32_t r = ev.read(right);
                ev.write(left,
                         token >= 0x71 && token <= 0x78 ? compound(token, ev.read(left), r) : r);
                break;
            }
            case TokenKind::End:
                pc = uint16_t(p);  // 16-bit: a closing byte at 0xFFFF leaves pc at 0
                return ev.result();
            case TokenKind::Nothing:
                break;
        }
    }
cut_off:
    // Cut off: pc stays on the first byte that is missing.
    const uint32_t stop = p > limit ? p : limit;
    pc = uint16_t(stop < kPcLimit ? stop : kPcLimit - 1);
    return ev.result();
}

}  // namespace qln
