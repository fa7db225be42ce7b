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

    std::string expand(const char* source, size_t size = kExpandBufferSize) {
        std::string out(size + 8, '#');
        const size_t n = text_expand(engine, source, out.data(), size);
        EXPECT_EQ(n, std::strlen(out.data()));
        EXPECT_EQ(out[size + 1], '#');  // nothing written past the destination
        return out.substr(0, n);
    }

    Engine engine;
};

TEST_F(TextExpand, CopiesPlainTextAndAtSigns) {
    EXPECT_EQ(expand(""), "");
    EXPECT_EQ(expand("a@@b"), "a@b");
    EXPECT_EQ(expand("@@@@"), "@@");
    EXPECT_EQ(expand("@N@C3x"), "@N@C3x");  // drawing sequences pass through
    EXPECT_EQ(expand("end@"), "end@");
    EXPECT_EQ(expand("@"), "@");
}

TEST_F(TextExpand, EveryLetterNamesItsSpace) {
    // Distinct indexes, since several spaces share one array.
    const struct {
        char letter;
        int32_t space, value;
        const char* shown;
    } cases[] = {
        {'F', 0, 200, "200"},     {'I', 1, -300, "-300"},
        {'W', 2, 60000, "60000"}, {'L', 3, -100000, "-100000"},
        {'T', 4, 40000, "40000"}, {'B', 5, 7, "7"},
        {'C', 6, -2, "-2"},       {'D', 7, 65535, "65535"},
        {'N', 8, 1234, "1234"},   {'P', 9, 123456789, "123456789"},
    };
    int32_t index = 1;
    for (const auto& c : cases) {
        var_set(engine, c.space, index, c.value);
        const std::string upper =
            std::string("<@%\"%d\",") + c.letter + std::to_string(index) + "@>";
        std::string lower = upper;
        lower[8] = char(c.letter | 0x20);
        EXPECT_EQ(expand(upper.c_str()), std::string("<") + c.shown + ">") << upper;
        EXPECT_EQ(expand(lower.c_str()), std::string("<") + c.shown + ">") << lower;
        ++index;
    }
}

TEST_F(TextExpand, ResultRegistersLocalsAndStrings) {
    result_set(engine, 5, 77);
    EXPECT_EQ(expand("@%\"%d\",V5@"), "77");
    EXPECT_EQ(expand("@%\"%d\",q3@"), "0");  // no scenario runs: no locals
    str_set(engine, 4, "abc");
    EXPECT_EQ(expand("[@%\"%s\",S4@]"), "[abc]");
    EXPECT_EQ(expand("[@%\"%s\",S9999@]"), "[]");  // no such register
    EXPECT_EQ(expand("[@%\"%d\",s4@]"), "[abc]");  // a string stays a string
}

TEST_F(TextExpand, FormatsAndItsDelimiters) {
    var_set(engine, 3, 1, 42);
    EXPECT_EQ(expand("@%\"%3d\",L1@"), " 42");
    EXPECT_EQ(expand("@%\"%s\",L1@"), "42");
    EXPECT_EQ(expand("@%`(%d)`,L1@"), "(42)");
    EXPECT_EQ(expand("@%\"%d`,L1@"), "42");  // the two quotes may differ
    EXPECT_EQ(expand("@%\"%d\";L1@"), "42");
    EXPECT_EQ(expand("@% junk \"%d\" more,L1@"), "42");
    EXPECT_EQ(expand("@%\"\",L1@"), "");
    EXPECT_EQ(expand("@%\"%d\",L@"), "0");  // no digits: index 0
    EXPECT_EQ(expand("@%\"%d\",L99999999999@"), "0");
    EXPECT_EQ(expand("@%\"%d\",L01@!"), "42!");
}

TEST_F(TextExpand, FullWidthSubstitution) {
    var_set(engine, 0, 3, 123);
    EXPECT_EQ(expand("@#\"%d\",F3@"), "\x82\x50\x82\x51\x82\x52");
    var_set(engine, 3, 0, -5);
    EXPECT_EQ(expand("@#\"%d\",L0@"), "\x81\x7c\x82\x54");
    // Double-byte characters stay, half-width katakana and ASCII widen,
    // other bytes stay.
    str_set(engine, 1,
            "\x82\xa0"
            "a\xb1\x80");
    EXPECT_EQ(expand("@#\"%s\",S1@"), "\x82\xa0\x82\x81\x83\x41\x80");
    // A lead byte at the very end of the formatted text stands alone.
    str_set(engine, 2, "\x82");
    EXPECT_EQ(expand("@#\"%s\",S2@"), "\x82");
}

TEST_F(TextExpand, DoubleByteCharactersNeverStartASequence) {
    // 0x81 0x40 is one character whose trail byte is '@'.
    EXPECT_EQ(expand("\x81@@X"), "\x81@@X");
    EXPECT_EQ(expand("\x81@%\"%d\",F1@"), "\x81@%\"%d\",F1@");
    EXPECT_EQ(expand("@\x81@@"), "@\x81@@");
    // A lead byte just before the end is copied alone.
    EXPECT_EQ(expand("ab\x81"), "ab\x81");
    // The quote search skips whole characters: 0x60 here is a trail byte.
    var_set(engine, 0, 1, 9);
    EXPECT_EQ(expand("@%\x81`\"%d\",F1@"), "9");
}

TEST_F(TextExpand, MalformedSubstitutionsAreCopiedAsText) {
    EXPECT_EQ(expand("@%"), "@%");
    EXPECT_EQ(expand("@#"), "@#");
    EXPECT_EQ(expand("@%no quote"), "@%no quote");
    EXPECT_EQ(expand("@%\"%d"), "@%\"%d");
    EXPECT_EQ(expand("@%\"%d\"F1@"), "@%\"%d\"F1@");      // no comma
    EXPECT_EQ(expand("@%\"%d\",Z1@"), "@%\"%d\",Z1@");    // no such letter
    EXPECT_EQ(expand("@%\"%d\","), "@%\"%d\",");          // no letter
    EXPECT_EQ(expand("@%\"%d\",F1"), "@%\"%d\",F1");      // no closing '@'
    EXPECT_EQ(expand("@%\"%d\",F1x@"), "@%\"%d\",F1x@");  // not right after the index
    // What follows is read as ordinary text, so its "@@" still becomes "@"
    // and a later good substitution still works.
    var_set(engine, 0, 1, 5);
    EXPECT_EQ(expand("@%\"a@@\",F1"), "@%\"a@\",F1");
    EXPECT_EQ(expand("@%\"%d\",Z @%\"%d\",F1@"), "@%\"%d\",Z 5");
    // Several starts share one quote, comma and tail: each still reads them.
    EXPECT_EQ(expand("@%@#@%\"%d\",Z1@"), "@%@#@%\"%d\",Z1@");
    EXPECT_EQ(expand("@#@%\"%d\",F1@"), "\x82\x54");
    EXPECT_EQ(expand("@%\"%d\"@%\"%d\",Z1@"), "@%\"%d\"@%\"%d\",Z1@");
    // Before the opening quote anything may stand, another "@%" too.
    EXPECT_EQ(expand("@%x @%\"%d\",F1@"), "5");
}

TEST_F(TextExpand, CutsAtTheDestinationAndTerminates) {
    EXPECT_EQ(expand("abcdef", 4), "abc");
    EXPECT_EQ(expand("ab\x82\xa0", 4), "ab");  // no half character
    EXPECT_EQ(expand("ab\x82\xa0", 5), "ab\x82\xa0");
    EXPECT_EQ(expand("abc", 1), "");
    var_set(engine, 0, 1, 123);
    EXPECT_EQ(expand("@#\"%d\",F1@", 4), "\x82\x50");
    EXPECT_EQ(expand("x@%\"%d\",F1@y", 3), "x1");
    // Nothing more is written after a cut, even what would still fit.
    EXPECT_EQ(expand("a\x82\xa0"
                     "b",
                     3),
              "a");
}

TEST_F(TextExpand, FillsTheWholeBufferExactly) {
    const std::string long_text(9000, 'a');
    EXPECT_EQ(expand(long_text.c_str()), std::string(8191, 'a'));
    std::string fields;
    for (int i = 0; i < 9; ++i) fields += "@%\"%1023d\",F1@";
    var_set(engine, 0, 1, 7);
    const std::string out = expand(fields.c_str());
    ASSERT_EQ(out.size(), 8191u);
    EXPECT_EQ(out.substr(0, 1023), std::string(1022, ' ') + "7");
    // One substitution never yields more than 1,023 bytes.
    EXPECT_EQ(expand("@%\"%2000d\",F1@").size(), 1023u);
}

}  // namespace
}  // namespace qln
