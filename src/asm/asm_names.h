#pragma once
// The names the assembly text gives to expression tokens, window keys and
// start-up settings records. The assembler and the disassembler both use
// these tables, so a name prints exactly as it parses.

#include <cstdint>
#include <string>
#include <string_view>

namespace qln {

// Expression tokens.
inline constexpr uint8_t kTokByte = 0x00;   // push an unsigned byte
inline constexpr uint8_t kTokShort = 0x01;  // push a signed word
inline constexpr uint8_t kTokWord = 0x02;   // push an unsigned word
inline constexpr uint8_t kTokLong = 0x03;   // push a 32-bit value
inline constexpr uint8_t kTokVar = 0x10;    // + space 0-31: reference
inline constexpr uint8_t kTokNeg = 0x30;
inline constexpr uint8_t kTokNot = 0x31;
inline constexpr uint8_t kTokInc = 0x40;
inline constexpr uint8_t kTokDec = 0x41;
inline constexpr uint8_t kTokAtan = 0x60;
inline constexpr uint8_t kTokAssign = 0x70;
inline constexpr uint8_t kTokEnd = 0x7F;

inline constexpr int kSpaceResults = 10;  // r[...]
inline constexpr int kSpaceLocals = 11;   // l[...]
inline constexpr int kSpaceCount = 32;

// Operator precedence levels, higher binds tighter.
enum Prec : int {
    kPrecAssign = 10,
    kPrecLogOr = 30,
    kPrecLogAnd = 35,
    kPrecBitOr = 40,
    kPrecBitXor = 45,
    kPrecBitAnd = 50,
    kPrecEquality = 55,
    kPrecRelational = 60,
    kPrecAdditive = 70,
    kPrecMultiplicative = 80,
    kPrecUnary = 90,
    kPrecPrimary = 100,
};

struct BinaryOp {
    std::string_view text;
    uint8_t token;
    int prec;
};
// Binary operators 0x50-0x5F, and the assignments 0x70-0x78.
extern const BinaryOp kBinaryOps[16];
extern const BinaryOp kAssignOps[9];

// One-operand functions 0x32-0x3A, by token - 0x32.
extern const std::string_view kUnaryFunctions[9];
inline constexpr uint8_t kTokFirstFunction = 0x32;

const BinaryOp* binary_op_by_token(uint8_t token);  // nullptr for other tokens
const BinaryOp* assign_op_by_token(uint8_t token);

// Window record keys of win_open and win_set; "" where a key has no name.
std::string_view window_key_name(uint8_t key);
int window_key_by_name(std::string_view name);  // -1 when unknown

// Start-up settings records.
enum class RecordPayload : uint8_t { None, Number, TwoNumbers, Text, FileSetting };
struct RecordName {
    char tag;
    std::string_view keyword;
    RecordPayload payload;
};
extern const RecordName kRecordNames[16];
const RecordName* record_by_tag(uint8_t tag);  // nullptr for tags without a keyword
const RecordName* record_by_keyword(std::string_view keyword);

// The stored text of a file setting written as name, entry [, flag]: a name
// with a comma, or one that starts with a double quote, goes in double quotes.
// False when the name cannot be stored that way (it needs quotes and holds
// one).
bool file_setting_text(std::string_view name, int64_t entry, const int64_t* flag, std::string& out);

}  // namespace qln
