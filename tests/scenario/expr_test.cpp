#include "scenario/expr.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "scenario/scenario.h"
#include "engine/engine.h"
#include "tables/tables.h"

namespace qln {
namespace {

class Expr : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(tables_init(engine)); }

    // Evaluates code from offset 0; pc_after receives where the evaluator stopped.
    int32_t eval(std::vector<uint8_t> code) {
        pc_after = 0;
        return expr_eval(engine, code.data(), uint32_t(code.size()), pc_after);
    }

    Engine engine;
    uint16_t pc_after = 0;
};

TEST_F(Expr, ConstantsOfEveryWidth) {
    EXPECT_EQ(eval({0x02, 0x34, 0x12, 0x7F}), 4660);
    EXPECT_EQ(pc_after, 4);
    EXPECT_EQ(eval({0x01, 0xFF, 0xFF, 0x7F}), -1);
    EXPECT_EQ(eval({0x02, 0xFF, 0xFF, 0x7F}), 65535);
    EXPECT_EQ(eval({0x00, 0xFF, 0x7F}), 255);
    EXPECT_EQ(pc_after, 3);
    EXPECT_EQ(eval({0x03, 0x78, 0x56, 0x34, 0x12, 0x7F}), 0x12345678);
    EXPECT_EQ(eval({0x03, 0x00, 0x00, 0x00, 0x80, 0x7F}), INT32_MIN);
    // Only the first expression is read.
    EXPECT_EQ(eval({0x00, 0x01, 0x7F, 0x00, 0x02, 0x7F}), 1);
    EXPECT_EQ(pc_after, 3);
}

TEST_F(Expr, ArithmeticIsSigned32BitAndWraps) {
    EXPECT_EQ(eval({0x00, 0x07, 0x01, 0xFE, 0xFF, 0x51, 0x7F}), -3);  // 7 / -2
    EXPECT_EQ(eval({0x01, 0xF9, 0xFF, 0x00, 0x02, 0x52, 0x7F}), -1);  // -7 % 2
    EXPECT_EQ(eval({0x00, 0x07, 0x01, 0xFE, 0xFF, 0x52, 0x7F}), 1);   // 7 % -2
    EXPECT_EQ(eval({0x00, 0x03, 0x00, 0x0A, 0x54, 0x7F}), -7);        // left - right
    EXPECT_EQ(eval({0x01, 0xFA, 0xFF, 0x00, 0x07, 0x50, 0x7F}), -42);
    EXPECT_EQ(eval({0x03, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x01, 0x53, 0x7F}), INT32_MIN);
    EXPECT_EQ(eval({0x03, 0x00, 0x00, 0x00, 0x80, 0x00, 0x01, 0x54, 0x7F}), INT32_MAX);
    EXPECT_EQ(eval({0x03, 0x00, 0x00, 0x01, 0x00, 0x03, 0x01, 0x00, 0x01, 0x00, 0x50, 0x7F}),
              65536);  // 65536 * 65537 wraps to 65536
    EXPECT_EQ(eval({0x03, 0x00, 0x00, 0x00, 0x80, 0x30, 0x7F}), INT32_MIN);  // -INT_MIN
    EXPECT_EQ(eval({0x03, 0x00, 0x00, 0x00, 0x80, 0x33, 0x7F}), INT32_MIN);  // abs INT_MIN
}

TEST_F(Expr, DivisionByZeroAndTheOneOverflowingQuotientAreDefined) {
    EXPECT_EQ(eval({0x00, 0x07, 0x00, 0x00, 0x51, 0x7F}), 0);
    EXPECT_EQ(eval({0x00, 0x07, 0x00, 0x00, 0x52, 0x7F}), 0);
    const std::vector<uint8_t> int_min = {0x03, 0x00, 0x00, 0x00, 0x80};
    std::vector<uint8_t> code = int_min;
    code.insert(code.end(), {0x01, 0xFF, 0xFF, 0x51, 0x7F});
    EXPECT_EQ(eval(code), INT32_MIN);
    code = int_min;
    code.insert(code.end(), {0x01, 0xFF, 0xFF, 0x52, 0x7F});
    EXPECT_EQ(eval(code), 0);
    // The compound forms: variable 0 of space 3 divided and reduced by zero.
    var_set(engine, 3, 0, 9);
    EXPECT_EQ(eval({0x00, 0x00, 0x13, 0x00, 0x00, 0x74, 0x7F}), 0);
    var_set(engine, 3, 0, 9);
    EXPECT_EQ(eval({0x00, 0x00, 0x13, 0x00, 0x00, 0x75, 0x7F}), 0);
    var_set(engine, 3, 0, INT32_MIN);
    EXPECT_EQ(eval({0x00, 0x00, 0x13, 0x01, 0xFF, 0xFF, 0x74, 0x7F}), INT32_MIN);
}

TEST_F(Expr, ComparisonsAndLogicAreSigned) {
    struct Case {
        uint8_t token;
        int32_t expected;  // for -1 against 1
    };
    const Case cases[] = {{0x55, 0}, {0x56, 1},  {0x57, 0},  {0x58, 1}, {0x59, 0}, {0x5A, 1},
                          {0x5B, 1}, {0x5C, -2}, {0x5D, -1}, {0x5E, 1}, {0x5F, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.token));
        EXPECT_EQ(eval({0x01, 0xFF, 0xFF, 0x00, 0x01, c.token, 0x7F}), c.expected);
    }
    EXPECT_EQ(eval({0x00, 0x05, 0x00, 0x05, 0x57, 0x7F}), 1);
    EXPECT_EQ(eval({0x00, 0x05, 0x00, 0x05, 0x58, 0x7F}), 1);
    EXPECT_EQ(eval({0x00, 0x05, 0x00, 0x05, 0x59, 0x7F}), 1);
    EXPECT_EQ(eval({0x00, 0x00, 0x00, 0x05, 0x5E, 0x7F}), 0);
    EXPECT_EQ(eval({0x00, 0x00, 0x00, 0x00, 0x5F, 0x7F}), 0);
    EXPECT_EQ(eval({0x00, 0x05, 0x31, 0x7F}), 0);
    EXPECT_EQ(eval({0x00, 0x00, 0x31, 0x7F}), 1);
    EXPECT_EQ(eval({0x01, 0x00, 0x80, 0x34, 0x7F}), -1);
    EXPECT_EQ(eval({0x00, 0x00, 0x34, 0x7F}), 0);
    EXPECT_EQ(eval({0x00, 0x09, 0x34, 0x7F}), 1);
    // 0x61 to 0x6F keep the right operand.
    EXPECT_EQ(eval({0x00, 0x03, 0x00, 0x04, 0x61, 0x7F}), 4);
    EXPECT_EQ(eval({0x00, 0x03, 0x00, 0x04, 0x6F, 0x7F}), 4);
}

TEST_F(Expr, VariablesAreReferencedReadAndIndexedByVariables) {
    var_set(engine, 3, 5, 2);
    EXPECT_EQ(eval({0x00, 0x05, 0x13, 0x7F}), 2);
    // The comparison a compiler emits for "variable 5 of space 3 > 10".
    EXPECT_EQ(eval({0x00, 0x05, 0x13, 0x00, 0x0A, 0x55, 0x7F}), 0);
    // Variable [variable 3 of space 3] of space 1.
    var_set(engine, 3, 3, 4);
    var_set(engine, 1, 4, -6);
    EXPECT_EQ(eval({0x00, 0x03, 0x13, 0x11, 0x7F}), -6);
    // 0x3B to 0x3F: a reference keeps only its index.
    EXPECT_EQ(eval({0x00, 0x05, 0x13, 0x3B, 0x7F}), 5);
    EXPECT_EQ(eval({0x00, 0x05, 0x13, 0x3F, 0x7F}), 5);
    // Spaces above 11 read 0; a negative index reads 0.
    EXPECT_EQ(eval({0x00, 0x05, 0x2F, 0x7F}), 0);
    EXPECT_EQ(eval({0x01, 0xFF, 0xFF, 0x10, 0x7F}), 0);
}

TEST_F(Expr, IncrementDecrementAndWriteBack) {
    var_set(engine, 3, 5, 2);
    EXPECT_EQ(eval({0x00, 0x05, 0x13, 0x40, 0x7F}), 3);
    EXPECT_EQ(var_get(engine, 3, 5), 3);
    EXPECT_EQ(eval({0x00, 0x05, 0x13, 0x41, 0x41, 0x7F}), 1);
    EXPECT_EQ(var_get(engine, 3, 5), 1);
    var_set(engine, 0, 1, 255);
    EXPECT_EQ(eval({0x00, 0x01, 0x10, 0x40, 0x7F}), 0);  // the byte wraps
    var_set(engine, 1, 1, 32767);
    EXPECT_EQ(eval({0x00, 0x01, 0x11, 0x40, 0x7F}), -32768);
    var_set(engine, 3, 1, INT32_MAX);
    EXPECT_EQ(eval({0x00, 0x01, 0x13, 0x40, 0x7F}), INT32_MIN);
    EXPECT_EQ(eval({0x00, 0x01, 0x13, 0x4F, 0x7F}), INT32_MIN);
    // A plain value cannot be incremented.
    EXPECT_EQ(eval({0x00, 0x07, 0x40, 0x7F}), 7);
}

TEST_F(Expr, AssignmentsWriteThroughTheVariableWidth) {
    // 300 into variable 5 of space 0 stores 44, and the expression reads it back.
    EXPECT_EQ(eval({0x00, 0x05, 0x10, 0x02, 0x2C, 0x01, 0x70, 0x7F}), 44);
    EXPECT_EQ(var_get(engine, 0, 5), 44);
    EXPECT_EQ(var_get(engine, 5, 5), 44);
    EXPECT_EQ(eval({0x00, 0x02, 0x11, 0x03, 0x70, 0x11, 0x01, 0x00, 0x70, 0x7F}), 4464);
    EXPECT_EQ(eval({0x00, 0x02, 0x12, 0x01, 0xFF, 0xFF, 0x70, 0x7F}), 65535);
    EXPECT_EQ(var_get(engine, 8, 2), 4464);
    // The compiler's "variable 5 of space 3 = 1".
    EXPECT_EQ(eval({0x00, 0x05, 0x13, 0x00, 0x01, 0x70, 0x7F}), 1);
    EXPECT_EQ(var_get(engine, 3, 5), 1);
    // 0x79 to 0x7E assign as 0x70 does; chains assign right to left.
    EXPECT_EQ(eval({0x00, 0x06, 0x13, 0x00, 0x07, 0x13, 0x00, 0x09, 0x7E, 0x79, 0x7F}), 9);
    EXPECT_EQ(var_get(engine, 3, 6), 9);
    EXPECT_EQ(var_get(engine, 3, 7), 9);
}

TEST_F(Expr, AssignmentsToConstantsAndResultRegistersChangeNothing) {
    EXPECT_EQ(eval({0x00, 0x09, 0x00, 0x05, 0x70, 0x7F}), 9);
    result_set(engine, 1, 5);
    EXPECT_EQ(eval({0x00, 0x01, 0x1A, 0x00, 0x07, 0x70, 0x7F}), 5);
    EXPECT_EQ(eval({0x00, 0x01, 0x1A, 0x40, 0x7F}), 5);
    EXPECT_EQ(result_get(engine, 1), 5);
    EXPECT_EQ(eval({0x00, 0x01, 0x1C, 0x00, 0x07, 0x70, 0x7F}), 0);  // space 12
}

TEST_F(Expr, CompoundAssignments) {
    struct Case {
        uint8_t token;
        int32_t expected;  // 12 op 5
    };
    const Case cases[] = {{0x71, 17}, {0x72, 7}, {0x73, 60}, {0x74, 2},
                          {0x75, 2},  {0x76, 4}, {0x77, 13}, {0x78, 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.token));
        var_set(engine, 9, 4, 12);
        EXPECT_EQ(eval({0x00, 0x04, 0x19, 0x00, 0x05, c.token, 0x7F}), c.expected);
        EXPECT_EQ(var_get(engine, 3, 4), c.expected);
    }
    var_set(engine, 2, 0, 65535);
    EXPECT_EQ(eval({0x00, 0x00, 0x14, 0x00, 0x01, 0x71, 0x7F}), 0);  // cut to 16 bits
}

TEST_F(Expr, LocalsOfTheCurrentScenario) {
    EXPECT_EQ(eval({0x00, 0x02, 0x1B, 0x00, 0x05, 0x70, 0x7F}), 0);  // none current
    Scenario scenario;
    scenario.local_count = 256;
    scenario.locals.reset(new int32_t[256]());
    engine.interp.current = &scenario;
    EXPECT_EQ(eval({0x00, 0x02, 0x1B, 0x03, 0x00, 0x00, 0x01, 0x00, 0x70, 0x7F}), 65536);
    EXPECT_EQ(scenario.locals[2], 65536);
    EXPECT_EQ(eval({0x02, 0x00, 0x01, 0x1B, 0x00, 0x05, 0x70, 0x7F}), 0);  // index 256
    engine.interp.current = nullptr;
}

TEST_F(Expr, MappedViewsAreReadAndWritten) {
    ASSERT_TRUE(buf_new_raw(engine, 2, 6));
    int32_t offset = 1;
    ASSERT_TRUE(var_map(engine, 2, 3, offset));
    EXPECT_EQ(eval({0x00, 0x00, 0x13, 0x03, 0x04, 0x03, 0x02, 0x01, 0x70, 0x7F}), 0x01020304);
    EXPECT_EQ(buf_get_raw(engine, 2)[1], 0x04);
    EXPECT_EQ(buf_get_raw(engine, 2)[4], 0x01);
    EXPECT_EQ(eval({0x00, 0x01, 0x13, 0x00, 0x05, 0x70, 0x7F}), 0);  // bytes 5 to 8: outside
}

TEST_F(Expr, FixedPointFunctionsRoundUpByHalfTowardZero) {
    struct Case {
        std::vector<uint8_t> code;
        int32_t expected;
    };
    const Case cases[] = {
        {{0x00, 30, 0x36, 0x7F}, 500},                            // sin 30
        {{0x01, 0xE2, 0xFF, 0x36, 0x7F}, -499},                   // sin -30
        {{0x00, 0, 0x37, 0x7F}, 1000},                            // cos 0
        {{0x00, 180, 0x37, 0x7F}, -999},                          // cos 180
        {{0x00, 90, 0x38, 0x7F}, -1},                             // tan 90
        {{0x02, 0x0E, 0x01, 0x38, 0x7F}, -1},                     // tan 270
        {{0x01, 0xA6, 0xFF, 0x38, 0x7F}, -1},                     // tan -90
        {{0x00, 45, 0x38, 0x7F}, 1000},                           // tan 45
        {{0x00, 0, 0x38, 0x7F}, 0},                               // tan 0
        {{0x00, 0, 0x3A, 0x7F}, -1},                              // log 0
        {{0x01, 0xFF, 0xFF, 0x3A, 0x7F}, -1},                     // log -1
        {{0x02, 0xE8, 0x03, 0x3A, 0x7F}, 0},                      // log 1.000
        {{0x00, 1, 0x3A, 0x7F}, -6907},                           // log 0.001
        {{0x01, 0xFC, 0xFF, 0x35, 0x7F}, 0},                      // sqrt -4
        {{0x02, 0xA0, 0x0F, 0x35, 0x7F}, 2000},                   // sqrt 4.000
        {{0x00, 0, 0x39, 0x7F}, 1000},                            // exp 0
        {{0x02, 0xE8, 0x03, 0x39, 0x7F}, 2718},                   // exp 1.000
        {{0x03, 0xFF, 0xFF, 0xFF, 0x7F, 0x39, 0x7F}, INT32_MAX},  // saturates
        {{0x00, 1, 0x00, 1, 0x60, 0x7F}, 4500},                   // atan 1/1
        {{0x01, 0xFF, 0xFF, 0x00, 1, 0x60, 0x7F}, -4499},         // atan -1/1
        {{0x00, 1, 0x00, 0, 0x60, 0x7F}, 9000},                   // atan 1/0
        {{0x00, 0, 0x00, 5, 0x60, 0x7F}, 0},                      // atan 0/5
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.code));
        EXPECT_EQ(eval(c.code), c.expected);
    }
}

TEST_F(Expr, RandomNumbersComeFromTheEngineGenerator) {
    const std::vector<uint8_t> any = {0x03, 0x00, 0x80, 0x00, 0x00, 0x32, 0x7F};  // x % 32768
    EXPECT_EQ(eval(any), 41);
    EXPECT_EQ(eval({0x00, 0x00, 0x32, 0x7F}), 0);  // range 0 draws nothing
    EXPECT_EQ(eval(any), 18467);
    EXPECT_EQ(eval({0x01, 0xF6, 0xFF, 0x32, 0x7F}), 4);  // 6334 % -10: the third draw
}

TEST_F(Expr, AFullStackDropsPushesAndMissingOperandsAreZero) {
    std::vector<uint8_t> code;
    for (int i = 1; i <= 40; ++i) code.insert(code.end(), {0x00, uint8_t(i)});
    code.push_back(0x7F);
    EXPECT_EQ(eval(code), 32);  // pushes 33 to 40 were dropped
    code.back() = 0x53;
    code.push_back(0x7F);
    EXPECT_EQ(eval(code), 63);

    EXPECT_EQ(eval({0x7F}), 0);
    EXPECT_EQ(pc_after, 1);
    EXPECT_EQ(eval({0x53, 0x7F}), 0);
    EXPECT_EQ(eval({0x00, 0x05, 0x54, 0x7F}), -5);  // 0 - 5
    EXPECT_EQ(eval({0x70, 0x7F}), 0);
    EXPECT_EQ(eval({0x36, 0x7F}), 0);
    EXPECT_EQ(eval({0x37, 0x7F}), 1000);
    var_set(engine, 3, 0, 8);
    EXPECT_EQ(eval({0x13, 0x7F}), 8);  // a reference to index 0
    EXPECT_EQ(eval({0x40, 0x7F}), 0);
}

TEST_F(Expr, UnusedTokensPushZeroOrDoNothing) {
    EXPECT_EQ(eval({0x00, 0x05, 0x04, 0x7F}), 0);
    EXPECT_EQ(eval({0x00, 0x05, 0x0E, 0x53, 0x7F}), 5);
    EXPECT_EQ(eval({0x00, 0x05, 0x0F, 0x80, 0xFF, 0x7F}), 5);
    EXPECT_EQ(pc_after, 6);
}

TEST_F(Expr, TheEndOfTheCodeEndsTheExpression) {
    EXPECT_EQ(eval({0x00, 0x05}), 5);
    EXPECT_EQ(pc_after, 2);
    EXPECT_EQ(eval({0x00, 0x05, 0x02, 0x34}), 5);  // the word operand is cut off
    EXPECT_EQ(pc_after, 4);
    EXPECT_EQ(eval({}), 0);
    EXPECT_EQ(pc_after, 0);

    const uint8_t code[] = {0x00, 0x07};
    uint16_t pc = 9;  // already past the end
    EXPECT_EQ(expr_eval(engine, code, 2, pc), 0);
    EXPECT_EQ(pc, 9);
    pc = 0;
    EXPECT_EQ(expr_eval(engine, nullptr, 0, pc), 0);
}

TEST_F(Expr, ThePcNeverWrapsPastTheLastAddressableByte) {
    std::vector<uint8_t> code(0x10010, 0x00);
    code[0xFFFC] = 0x00;
    code[0xFFFD] = 0x06;
    code[0xFFFE] = 0x03;  // its operand would run past 0xFFFF
    code[0xFFFF] = 0x01;
    code[0x10000] = 0x7F;
    uint16_t pc = 0xFFFC;
    EXPECT_EQ(expr_eval(engine, code.data(), uint32_t(code.size()), pc), 6);
    EXPECT_EQ(pc, 0xFFFF);
    // A closing byte at 0xFFFF is read; the pc after it wraps as all pc arithmetic does.
    code[0xFFFE] = 0x0F;
    code[0xFFFF] = 0x7F;
    pc = 0xFFFC;
    EXPECT_EQ(expr_eval(engine, code.data(), uint32_t(code.size()), pc), 6);
    EXPECT_EQ(pc, 0);
}

}  // namespace
}  // namespace qln
