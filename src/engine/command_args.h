#pragma once
// What a command handler receives: its decoded operands. Handlers include
// this (through their operand views) without pulling in the interpreter.

#include <cstdint>
#include <span>

namespace qln {

struct Engine;

// One entry of a variable-length operand list (see ListKind). Which fields are
// set depends on the list:
//   JumpTargets: word.
//   Choices:     tag (the introducing byte), str (text), word (target), num (condition).
//   KeyValues:   tag (the key byte), num (value).
//   WindowPairs: num (win_no), num2 (buf_no).
//   TypedArgs:   tag (the type byte); num (value) for types 0, 1 and others; str for type 2.
struct ListItem {
    uint8_t tag = 0;
    uint16_t word = 0;
    int32_t num = 0;
    int32_t num2 = 0;
    const char* str = nullptr;
};

// A command's decoded operands, read in full before its handler runs, so pc
// always stands on the next command whatever the handler does. Handlers read
// them only by name, through the operand view of their command (generated
// from its row), so an operand the signature lacks cannot be read.
//
// String operands point into the scenario image or into the string pool; a
// handler that stores a string register must not use an earlier pointer into
// the pool afterwards (the pool may have moved).
class Args {
  public:
    static constexpr int kMax = 16;

    // Filled by the operand decoder (and by tests that call a handler
    // directly), in signature order.
    void clear() {
        count_ = 0;
        list_ = {};
    }
    void push_num(int32_t v) { at_next(v, nullptr); }
    void push_str(const char* s) { at_next(0, s); }
    void set_list(std::span<const ListItem> list) { list_ = list; }
    uint16_t command_pc = 0;  // pc just after the command byte

  private:
    friend class OperandView;
    void at_next(int32_t v, const char* s) {
        value_[count_] = v;
        text_[count_] = s;
        if (count_ < kMax - 1) ++count_;
    }
    uint8_t count_ = 0;
    // Left uninitialised: the decoder sets every entry the signature names,
    // and a step must not pay for clearing the rest.
    int32_t value_[kMax];     // numbers, and words zero-extended
    const char* text_[kMax];  // strings; nullptr for a string operand that is none
    std::span<const ListItem> list_;
};

// Base of the generated per-command operand views.
class OperandView {
  protected:
    explicit constexpr OperandView(const Args& args) : args_(args) {}
    int32_t num_at(int i) const { return args_.value_[i]; }
    uint16_t word_at(int i) const { return static_cast<uint16_t>(args_.value_[i]); }
    // "" when the operand named a string register out of range.
    const char* str_at(int i) const { return args_.text_[i] ? args_.text_[i] : ""; }
    bool none_at(int i) const { return args_.text_[i] == nullptr; }
    std::span<const ListItem> list() const { return args_.list_; }

  private:
    const Args& args_;
};

using CommandHandler = int32_t (*)(Engine& engine, const Args& args);

// Fills the scenario error record and returns code. The format knows %d, %s,
// %c and %%; a double-byte character is never taken for a format character.
[[nodiscard]] int32_t err_report(Engine& engine, int32_t code, const char* format, ...);

// Result codes of command handlers.
inline constexpr int32_t kResultEndAll = -10;  // no scenario left to return to
inline constexpr int32_t kResultErrorBase = -100;

}  // namespace qln
