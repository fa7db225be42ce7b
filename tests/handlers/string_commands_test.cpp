#include "handlers/string_commands.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "engine/engine.h"
#include "tables/tables.h"
#include "windows/command_args.h"

namespace qln {
namespace {

using test::args_of;

class StringCommands : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(tables_init(engine)); }

    std::string reg(int32_t n) {
        const char* s = str_get(engine, n);
        return s ? s : "<none>";
    }
    int32_t r(uint32_t n) { return result_get(engine, n); }

    Engine engine;
};

TEST_F(StringCommands, LetAndCatKeep1023BytesAndIgnoreMissingRegisters) {
    EXPECT_EQ(cmd_str_let(engine, args_of(3, "abc")), 0);
    EXPECT_EQ(cmd_str_cat(engine, args_of(3, "def")), 0);
    EXPECT_EQ(cmd_str_cat(engine, args_of(3, nullptr)), 0);  // a string operand that is none
    EXPECT_EQ(reg(3), "abcdef");
    EXPECT_EQ(cmd_str_let(engine, args_of(512, "zz")), 0);
    EXPECT_EQ(cmd_str_cat(engine, args_of(-1, "zz")), 0);
    EXPECT_EQ(reg(512), "<none>");

    str_set(engine, 1, std::string(1000, 'a').c_str());
    EXPECT_EQ(cmd_str_cat(engine, args_of(1, std::string(23, 'b').c_str())), 0);
    EXPECT_EQ(reg(1), std::string(1000, 'a') + std::string(23, 'b'));
    EXPECT_EQ(cmd_str_cat(engine, args_of(1, "c")), 0);
    EXPECT_EQ(reg(1).size(), 1023u);
    // A register already longer than the buffer is cut too.
    str_set(engine, 2, std::string(3000, 'q').c_str());
    EXPECT_EQ(cmd_str_cat(engine, args_of(2, "r")), 0);
    EXPECT_EQ(reg(2), std::string(1023, 'q'));
    // A register onto itself: the operand points into the pool the store may move.
    str_set(engine, 5, "ab");
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(cmd_str_cat(engine, args_of(5, str_get(engine, 5))), 0);
        if (reg(5).size() >= 512) str_set(engine, 5, "ab");
    }
    EXPECT_EQ(reg(5).find_first_not_of("ab"), std::string::npos);
}

TEST_F(StringCommands, CompareFindAndLength) {
    // clang-format off
    const struct {
        const char *a, *b;
        int32_t order, at;
    } cases[] = {
        // Case matters, bytes are unsigned; the search is bytewise.
        {"same", "same", 0, 0}, {"abc", "abd", -1, -1}, {"", "a", -1, -1}, {"a", "A", 1, -1},
        {"\x82\xa0", "z", 1, -1}, {"abcabc", "ca", -1, 2}, {"abc", "", 1, 0}, {"", "", 0, 0},
        {"abc", "abcd", -1, -1}, {"aab", "ab", -1, 1}, {"\x82\x61\x61", "\x61\x61", 1, 1},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(cmd_str_cmp(engine, args_of(c.a, c.b)), 0);
        EXPECT_EQ(r(1), c.order);
        EXPECT_EQ(cmd_str_find(engine, args_of(c.a, c.b)), 0);
        EXPECT_EQ(r(1), c.at);
    }

    EXPECT_EQ(cmd_str_len(engine, args_of(7)), 0);
    EXPECT_EQ(r(1), 0);  // empty, not an error
    str_set(engine, 511, "\x82\xa0xy");
    EXPECT_EQ(cmd_str_len(engine, args_of(511)), 0);
    EXPECT_EQ(r(1), 4);
    EXPECT_EQ(cmd_str_len(engine, args_of(512)), -114);
    EXPECT_STREQ(engine.interp.error.detail, "str_no = 512");
    EXPECT_EQ(cmd_str_len(engine, args_of(-3)), -114);
}

TEST_F(StringCommands, ExpandAndToNumber) {
    var_set(engine, 3, 2, 1500);
    EXPECT_EQ(cmd_str_expand(engine, args_of("x=@%\"%d\",L2@ @@", 9)), 0);
    EXPECT_EQ(reg(9), "x=1500 @");
    // The source may be the register it is stored into.
    EXPECT_EQ(cmd_str_expand(engine, args_of(str_get(engine, 9), 9)), 0);
    EXPECT_EQ(reg(9), "x=1500 @");

    // clang-format off
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"123", 123}, {"-45", -45}, {"1-2", -12}, {"--7", 7}, {"12ab", 12}, {" 5", 0}, {"", 0},
        {"-", 0}, {"007", 7}, {"2147483647", INT_MAX}, {"2147483648", INT_MIN}, {"4294967297", 1},
        {"-2147483648", INT_MIN},
    };
    // clang-format on
    for (const auto& c : cases) {
        result_set(engine, 1, 999);
        EXPECT_EQ(cmd_str_to_num(engine, args_of(c.text)), 0);
        EXPECT_EQ(r(1), c.value) << c.text;
    }
}

TEST_F(StringCommands, MidPutsThePartIntoRegisterZeroAndRefusesAStartOutside) {
    const struct {
        const char* text;
        int32_t start, count;
        const char* part;  // nullptr: refused, register 0 kept
    } cases[] = {
        {"abcdef", 2, 3, "cde"},    {"abcdef", 2, 10, "cdef"},       {"abcdef", 5, 1, "f"},
        {"abcdef", 0, 0, ""},       {"abcdef", 1, -4, ""},           {"abcdef", 6, 1, nullptr},
        {"abcdef", -1, 3, nullptr}, {"abcdef", INT_MIN, 3, nullptr}, {"", 0, 3, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + " " + std::to_string(c.count));
        str_set(engine, 0, "old");
        EXPECT_EQ(cmd_str_mid(engine, args_of(c.text, c.start, c.count)), c.part ? 0 : -107);
        EXPECT_EQ(reg(0), c.part ? c.part : "old");
        if (!c.part) {
            EXPECT_STREQ(engine.interp.error.detail, "");
        }
    }
    str_set(engine, 0, "abcdef");
    EXPECT_EQ(cmd_str_mid(engine, args_of(str_get(engine, 0), 1, 2)), 0);
    EXPECT_EQ(reg(0), "bc");
    const std::string long_text(9000, 'm');
    EXPECT_EQ(cmd_str_mid(engine, args_of(long_text.c_str(), 0, 9000)), 0);
    EXPECT_EQ(reg(0), std::string(8191, 'm'));
}

TEST_F(StringCommands, SpliceIsBoundedAndIgnoresMissingRegisters) {
    const struct {
        int32_t position, remove;
        const char* text;
        const char* result;
    } cases[] = {
        {2, 2, "XY", "abXYef"},    {10, 0, "XY", "abcdefXY"}, {0, 0, "XY", "XYabcdef"},
        {2, 10, "XY", "abXY"},     {2, 4, "", "ab"},          {6, 0, "!", "abcdef!"},
        {3, 1, "", "abcef"},       {-5, 0, "XY", "XYabcdef"}, {-5, 2, "", "cdef"},
        {4, -2, "-", "abcd-cdef"}, {1, -9, "", "aabcdef"},
    };
    for (const auto& c : cases) {
        str_set(engine, 6, "abcdef");
        EXPECT_EQ(cmd_str_splice(engine, args_of(6, c.position, c.remove, c.text)), 0);
        EXPECT_EQ(reg(6), c.result) << c.position << " " << c.remove;
    }
    str_set(engine, 6, std::string(1000, 'a').c_str());
    EXPECT_EQ(cmd_str_splice(engine, args_of(6, 500, 0, std::string(100, 'b').c_str())), 0);
    EXPECT_EQ(reg(6), std::string(500, 'a') + std::string(100, 'b') + std::string(423, 'a'));
    EXPECT_EQ(cmd_str_splice(engine, args_of(512, 0, 0, "x")), 0);
    EXPECT_EQ(cmd_str_splice(engine, args_of(-1, 0, 0, "x")), 0);
    // Splicing a register into itself reads the text before it is replaced.
    str_set(engine, 7, "abc");
    EXPECT_EQ(cmd_str_splice(engine, args_of(7, 1, 1, str_get(engine, 7))), 0);
    EXPECT_EQ(reg(7), "aabcc");
}

TEST_F(StringCommands, ToBufferCopiesWithTheTerminatorOrRefusesWhatDoesNotFit) {
    ASSERT_TRUE(buf_new_raw(engine, 8, 12));
    uint8_t* raw = buf_get_raw(engine, 8);
    std::memset(raw, '.', 12);
    const auto bytes = [raw] { return std::string(reinterpret_cast<char*>(raw), 12); };
    result_set(engine, 1, 55);
    EXPECT_EQ(cmd_str_to_buf(engine, args_of("hi", 8, 10)), -109);  // the NUL would not fit
    EXPECT_STREQ(engine.interp.error.detail, "buf_no = 8");
    EXPECT_EQ(cmd_str_to_buf(engine, args_of("", 8, 12)), -109);
    EXPECT_EQ(cmd_str_to_buf(engine, args_of("a", 8, -1)), -109);
    EXPECT_EQ(cmd_str_to_buf(engine, args_of("a", 8, INT_MAX)), -109);
    EXPECT_EQ(cmd_str_to_buf(engine, args_of(std::string(12, 'x').c_str(), 8, 0)), -109);
    EXPECT_EQ(bytes(), std::string(12, '.'));
    EXPECT_EQ(r(1), 55);
    EXPECT_EQ(cmd_str_to_buf(engine, args_of("a", 3, 0)), -109);  // empty slot
    EXPECT_STREQ(engine.interp.error.detail, "buf_no = 3");
    EXPECT_EQ(cmd_str_to_buf(engine, args_of("a", 256, 0)), -109);
    ASSERT_TRUE(buf_new_regions(engine, 4, 2));
    EXPECT_EQ(cmd_str_to_buf(engine, args_of("a", 4, 0)), -109);

    EXPECT_EQ(cmd_str_to_buf(engine, args_of("hi", 8, 9)), 0);
    EXPECT_EQ(r(1), 2);
    EXPECT_EQ(r(2), 11);
    EXPECT_EQ(bytes(), std::string(".........hi\0", 12));
    EXPECT_EQ(cmd_str_to_buf(engine, args_of("", 8, 11)), 0);  // the last byte
    EXPECT_EQ(r(1), 0);
    EXPECT_EQ(r(2), 11);
}

}  // namespace
}  // namespace qln
