#pragma once
// The assembler's working state, shared by the files that handle the
// different kinds of lines. Internal to the assembler.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "asm/asm_error.h"
#include "asm/lexer.h"
#include "base/cp932.h"

namespace qln {

struct CommandRow;

class AsmState {
  public:
    explicit AsmState(AsmError& err) : err_(err) {}

    bool line(std::string_view text, int line_no);
    bool finish(std::vector<uint8_t>& image);

  private:
    enum class Section : uint8_t { Start, Settings, Code, Strtab };

    struct LabelUse {
        std::string name;
        size_t pos;  // image offset of the word
        int line, col;
    };
    struct LiteralUse {
        std::string bytes;
        size_t pos;  // image offset of the word
        int line, col;
    };

    // Errors.
    bool fail(int col, std::string message);
    bool fail_at(const Token& t, std::string message) { return fail(t.col, std::move(message)); }
    bool fail_expected(const char* what);

    // Sections and directives (assembler.cpp).
    void start();
    bool begin_code();
    bool directive(const Token& t);
    bool define_label(const Token& t);
    bool bytes_items();

    // Start-up settings records (asm_settings.cpp).
    bool settings_line(const Token& keyword);
    bool record_raw();
    bool file_setting(std::string& text);

    // Commands and operands (asm_operands.cpp).
    bool command(const Token& name);
    bool operand(char letter);
    bool operand_failed(const CommandRow& row, size_t index);
    bool word_operand();
    bool num_operand();
    bool str_operand();
    bool list_operand(char letter);
    bool choice_item();
    bool key_item();
    bool pair_item(bool& ended);
    bool typed_item();

    // Small readers.
    bool expect(std::string_view punct);
    bool signed_number(int64_t lo, int64_t hi, int64_t& value, const char* what);
    bool string_literal(std::string& bytes, bool allow_nul);
    void put_word(uint16_t w) {
        image_.push_back(static_cast<uint8_t>(w));
        image_.push_back(static_cast<uint8_t>(w >> 8));
    }

    AsmError& err_;
    Lexer lx_;
    Cp932 codec_;
    int line_no_ = 0;
    Section section_ = Section::Start;
    bool started_ = false;
    bool raw_ = false;
    bool separate_strings_ = false;
    size_t header_h_ = 0;  // offset of the word T (H)
    size_t strtab_start_ = SIZE_MAX;
    std::optional<uint32_t> t_explicit_;
    std::vector<uint8_t> image_;
    std::map<std::string, uint32_t, std::less<>> labels_;
    std::vector<LabelUse> label_uses_;
    std::vector<LiteralUse> literals_;
};

}  // namespace qln
