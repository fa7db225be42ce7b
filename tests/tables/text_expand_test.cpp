#include "tables/text_expand.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/engine.h"
#include "tables/tables.h"

namespace qln {
namespace {

class TextExpand : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(tables_init(engine)); }

    std::string expand(const std::string& source, size_t size = kExpandBufferSize) {
        std::string out(size + 8, '#');
        const size_t n = text_expand(engine, source.c_str(), out.data(), size);
        EXPECT_EQ(n, std::strlen(out.data()));
        EXPECT_EQ(out[size + 1], '#');  // nothing written past the destination
        return out.substr(0, n);
    }

    Engine engine;
};

TEST_F(TextExpand, SubstitutionsAndWhatIsCopiedAsText) {
    var_set(engine, 0, 1, 5);
    var_set(engine, 0, 3, 123);
    var_set(engine, 3, 0, -5);
    var_set(engine, 3, 1, 42);
    result_set(engine, 5, 77);
    str_set(engine, 4, "abc");
    str_set(engine, 1,
            "\x82\xa0"
            "a\xb1\x80");
    str_set(engine, 2, "\x82");
    const struct {
        const char *source, *out;
    } cases[] = {
        // clang-format off
        {"", ""}, {"a@@b", "a@b"}, {"@@@@", "@@"}, {"end@", "end@"}, {"@", "@"},
        {"@N@C3x", "@N@C3x"},  // drawing sequences pass through
        // Result registers, locals (no scenario runs: none), string registers.
        {"@%\"%d\",V5@", "77"}, {"@%\"%d\",q3@", "0"}, {"[@%\"%s\",S4@]", "[abc]"},
        {"[@%\"%s\",S9999@]", "[]"}, {"[@%\"%d\",s4@]", "[abc]"},
        // Formats and their delimiters; the two quotes may differ.
        {"@%\"%3d\",L1@", " 42"}, {"@%\"%s\",L1@", "42"}, {"@%`(%d)`,L1@", "(42)"},
        {"@%\"%d`,L1@", "42"}, {"@%\"%d\";L1@", "42"}, {"@% junk \"%d\" more,L1@", "42"},
        {"@%\"\",L1@", ""}, {"@%\"%d\",L@", "-5"}, {"@%\"%d\",L99999999999@", "0"},
        {"@%\"%d\",L01@!", "42!"},
        // Full width: ASCII and half-width katakana widen, other bytes stay,
        // a lead byte at the very end stands alone.
        {"@#\"%d\",F3@", "\x82\x50\x82\x51\x82\x52"}, {"@#\"%d\",L0@", "\x81\x7c\x82\x54"},
        {"@#\"%s\",S1@", "\x82\xa0\x82\x81\x83\x41\x80"}, {"@#\"%s\",S2@", "\x82"},
        // A double-byte character never starts a sequence (0x81 0x40: trail '@');
        // the quote search skips whole characters (0x60 here is a trail byte).
        {"\x81@@X", "\x81@@X"}, {"\x81@%\"%d\",F1@", "\x81@%\"%d\",F1@"}, {"@\x81@@", "@\x81@@"},
        {"ab\x81", "ab\x81"}, {"@%\x81`\"%d\",F1@", "5"},
        // Malformed substitutions are copied as text.
        {"@%", "@%"}, {"@#", "@#"}, {"@%no quote", "@%no quote"}, {"@%\"%d", "@%\"%d"},
        {"@%\"%d\"F1@", "@%\"%d\"F1@"}, {"@%\"%d\",Z1@", "@%\"%d\",Z1@"},
        {"@%\"%d\",", "@%\"%d\","}, {"@%\"%d\",F1", "@%\"%d\",F1"},
        {"@%\"%d\",F1x@", "@%\"%d\",F1x@"},
        // What follows is ordinary text: "@@" still becomes "@", a later
        // substitution still works, several starts share one quote and tail.
        {"@%\"a@@\",F1", "@%\"a@\",F1"}, {"@%\"%d\",Z @%\"%d\",F1@", "@%\"%d\",Z 5"},
        {"@%@#@%\"%d\",Z1@", "@%@#@%\"%d\",Z1@"}, {"@#@%\"%d\",F1@", "\x82\x54"},
        {"@%\"%d\"@%\"%d\",Z1@", "@%\"%d\"@%\"%d\",Z1@"}, {"@%x @%\"%d\",F1@", "5"},
        // clang-format on
    };
    for (const auto& c : cases) EXPECT_EQ(expand(c.source), c.out) << c.source;
}

TEST_F(TextExpand, CutsAtTheDestinationAndFillsTheWholeBufferExactly) {
    EXPECT_EQ(expand("abcdef", 4), "abc");
    EXPECT_EQ(expand("ab\x82\xa0", 4), "ab");  // no half character
    EXPECT_EQ(expand("ab\x82\xa0", 5), "ab\x82\xa0");
    EXPECT_EQ(expand("abc", 1), "");
    var_set(engine, 0, 1, 123);
    EXPECT_EQ(expand("@#\"%d\",F1@", 4), "\x82\x50");
    EXPECT_EQ(expand("x@%\"%d\",F1@y", 3), "x1");
    // Nothing more is written after a cut, even what would still fit.
    EXPECT_EQ(expand(std::string("a\x82\xa0") + "b", 3), "a");

    EXPECT_EQ(expand(std::string(9000, 'a')), std::string(8191, 'a'));
    std::string fields;
    for (int i = 0; i < 9; ++i) fields += "@%\"%1023d\",F1@";
    const std::string out = expand(fields);
    ASSERT_EQ(out.size(), 8191u);
    EXPECT_EQ(out.substr(0, 1023), std::string(1020, ' ') + "123");
    // One substitution never yields more than 1,023 bytes.
    EXPECT_EQ(expand("@%\"%2000d\",F1@").size(), 1023u);
}

}  // namespace
}  // namespace qln
