#include "asm/expr_compiler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asm/expr_decompiler.h"

namespace qln {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes compile(const std::string& text) {
    Lexer lexer;
    lexer.reset(text);
    Bytes out;
    AsmError err;
    EXPECT_TRUE(expr_compile(lexer, out, nullptr, err)) << text << ": " << err.message;
    EXPECT_TRUE(lexer.at_end()) << text;
    return out;
}

AsmError compile_error(const std::string& text) {
    Lexer lexer;
    lexer.reset(text);
    Bytes out;
    AsmError err;
    EXPECT_FALSE(expr_compile(lexer, out, nullptr, err)) << text;
    EXPECT_TRUE(out.empty()) << "a failed compile leaves nothing behind";
    return err;
}

// Text and bytes; where the text is the one the decompiler prints, both ways.
TEST(ExprCompile, TextAndBytesBothWays) {
    const struct {
        const char* text;
        Bytes bytes;
        bool printed_so = true;
    } cases[] = {
        // Constants take the shortest token; numbers are 32-bit.
        {"0", {0x00, 0x00, 0x7F}},
        {"255", {0x00, 0xFF, 0x7F}},
        {"256", {0x01, 0x00, 0x01, 0x7F}},
        {"32767", {0x01, 0xFF, 0x7F, 0x7F}},
        {"32768", {0x02, 0x00, 0x80, 0x7F}},
        {"0xFFFF", {0x02, 0xFF, 0xFF, 0x7F}, false},
        {"65536", {0x03, 0x00, 0x00, 0x01, 0x00, 0x7F}},
        {"-32768", {0x01, 0x00, 0x80, 0x7F}},
        {"-32769", {0x03, 0xFF, 0x7F, 0xFF, 0xFF, 0x7F}},
        {"-2147483648", {0x03, 0x00, 0x00, 0x00, 0x80, 0x7F}},
        {"0xFFFFFFFF", {0x01, 0xFF, 0xFF, 0x7F}, false},
        // A minus before a number is part of the constant, elsewhere a negation.
        {"-5", {0x01, 0xFB, 0xFF, 0x7F}},
        {"-(5)", {0x00, 0x05, 0x30, 0x7F}},
        {"-(-5)", {0x01, 0xFB, 0xFF, 0x30, 0x7F}},
        {"-v0[1]", {0x00, 0x01, 0x10, 0x30, 0x7F}, false},
        {"-(--v0[1])", {0x00, 1, 0x10, 0x41, 0x30, 0x7F}},
        {"3 - -5", {0x00, 0x03, 0x01, 0xFB, 0xFF, 0x54, 0x7F}},
        // Variables of every space, with computed indexes.
        {"v3[5] = 1", {0x00, 0x05, 0x13, 0x00, 0x01, 0x70, 0x7F}},
        {"v1[v3[2] + 1]", {0x00, 0x02, 0x13, 0x00, 0x01, 0x53, 0x11, 0x7F}},
        {"r[1] + l[0]", {0x00, 1, 0x1A, 0x00, 0, 0x1B, 0x53, 0x7F}},
        {"v10[1]", {0x00, 0x01, 0x1A, 0x7F}, false},
        {"v31[0]", {0x00, 0x00, 0x2F, 0x7F}},
        {"v12[7]", {0x00, 0x07, 0x1C, 0x7F}},
        // C precedence, only the parentheses that are needed.
        {"1 + 2 * 3", {0x00, 1, 0x00, 2, 0x00, 3, 0x50, 0x53, 0x7F}},
        {"(1 + 2) * 3", {0x00, 1, 0x00, 2, 0x53, 0x00, 3, 0x50, 0x7F}},
        {"8 - 2 - 1", {0x00, 8, 0x00, 2, 0x54, 0x00, 1, 0x54, 0x7F}},
        {"8 - (2 - 1)", {0x00, 8, 0x00, 2, 0x00, 1, 0x54, 0x54, 0x7F}},
        {"1 < 2 == 3 & 4 ^ 5 | 6 && 7 || 8",
         {0x00, 1,    0x00, 2, 0x56, 0x00, 3, 0x59, 0x00, 4, 0x5B, 0x00,
          5,    0x5C, 0x00, 6, 0x5D, 0x00, 7, 0x5E, 0x00, 8, 0x5F, 0x7F}},
        // Assignments group right to left and bind loosest.
        {"v0[1] = v0[2] += 3 || 4",
         {0x00, 1, 0x10, 0x00, 2, 0x10, 0x00, 3, 0x00, 4, 0x5F, 0x71, 0x70, 0x7F}},
        {"(v0[1] = 2) = 3", {0x00, 1, 0x10, 0x00, 2, 0x70, 0x00, 3, 0x70, 0x7F}},
        {"sin(30) + atan(1, 1)", {0x00, 30, 0x36, 0x00, 1, 0x00, 1, 0x60, 0x53, 0x7F}},
        {"++v3[5]", {0x00, 5, 0x13, 0x40, 0x7F}},
        {"--v3[5] % !rnd(9)", {0x00, 5, 0x13, 0x41, 0x00, 9, 0x32, 0x31, 0x52, 0x7F}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(compile(c.text), c.bytes);
        if (c.printed_so) {
            EXPECT_EQ(expr_decompile(c.bytes.data(), c.bytes.size()), c.text);
        }
    }
}

TEST(ExprCompile, ErrorsNameTheColumn) {
    const struct {
        const char* text;
        int col;
        const char* message;  // nullptr: any message
    } cases[] = {
        {"1 +", 4, "expected an expression, found end of line"},
        {"v32[1]", 1, nullptr},
        {"s[1]", 1, "'s' is not a variable space (v0 to v31, r, l); s[...] is a string operand"},
        {"v1[2", 5, "expected ']', found end of line"},
        {"start", 1, "labels are not allowed here"},
        {"atan(1)", 7, "expected ',', found ')'"},
        {"{0x100}", 2, nullptr},
        {"-2147483649", 1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const AsmError e = compile_error(c.text);
        EXPECT_EQ(e.col, c.col);
        if (c.message) {
            EXPECT_EQ(e.message, c.message);
        }
    }
}

TEST(ExprCompile, RefusesNestingDeeperThanItsLimit) {
    const std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')');
    EXPECT_EQ(compile_error(deep).message, "expression nested too deeply");
    const std::string negations(5000, '!');
    EXPECT_EQ(compile_error(negations + "1").message, "expression nested too deeply");
    EXPECT_EQ(compile(std::string(50, '(') + "1" + std::string(50, ')')), (Bytes{0x00, 1, 0x7F}));
}

}  // namespace
}  // namespace qln
