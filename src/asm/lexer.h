#pragma once
// Tokens of one line of scenario assembly text. A line is split in full
// before it is parsed; ';' starts a comment that runs to the end of the line.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

enum class TokKind : uint8_t {
    End,        // end of the line (also after an error)
    Ident,      // [A-Za-z_][A-Za-z0-9_]*
    Directive,  // '.' followed by an identifier; text includes the dot
    Number,     // decimal or 0x hex, at most 0xFFFFFFFF; value holds it
    String,     // text holds what stands between the quotes, escapes unresolved
    Punct,      // operators and punctuation; text holds it
};

struct Token {
    TokKind kind = TokKind::End;
    std::string_view text;
    uint64_t value = 0;
    int col = 0;  // 1-based byte column

    bool is(std::string_view punct) const { return kind == TokKind::Punct && text == punct; }
    bool is_ident(std::string_view name) const { return kind == TokKind::Ident && text == name; }
};

class Lexer {
  public:
    // Splits line; a lexical error leaves an End token at the failure and
    // sets error() and error_col().
    void reset(std::string_view line);

    const Token& peek(size_t ahead = 0) const {
        const size_t i = pos_ + ahead;
        return i < tokens_.size() ? tokens_[i] : tokens_.back();
    }
    const Token& next() {
        const Token& t = peek();
        if (pos_ + 1 < tokens_.size()) ++pos_;
        return t;
    }
    // Consumes the punctuation when it is next.
    bool accept(std::string_view punct) {
        if (!peek().is(punct)) return false;
        next();
        return true;
    }
    bool at_end() const { return peek().kind == TokKind::End; }

    const std::string& error() const { return error_; }
    int error_col() const { return error_col_; }
    int end_col() const { return end_col_; }

  private:
    std::vector<Token> tokens_;
    size_t pos_ = 0;
    std::string error_;
    int error_col_ = 0;
    int end_col_ = 1;
};

}  // namespace qln
