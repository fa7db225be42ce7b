#include "base/sjis_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace qln {
namespace {

std::string fmt(const std::string& format, FormatArg arg) {
    char out[kFormatLimit + 16];
    const size_t n = sjis_format(out, sizeof out, format.c_str(), format.size(), arg);
    EXPECT_EQ(n, std::strlen(out));
    return std::string(out, n);
}

FormatArg num(int32_t value) {
    return FormatArg::of_number(value);
}
FormatArg text(const char* value) {
    return FormatArg::of_text(value);
}

TEST(SjisFormat, FieldsFlagsAndTheOneArgument) {
    // clang-format off
    const struct {
        const char* format;
        FormatArg arg;
        const char* out;
    } cases[] = {
        // Decimals: every number is 32-bit, size prefixes are read and ignored.
        {"%d", num(42), "42"}, {"%i", num(-42), "-42"}, {"%d", num(INT_MIN), "-2147483648"},
        {"%u", num(-1), "4294967295"}, {"%ld", num(-5), "-5"}, {"%hd", num(70000), "70000"},
        {"%I64d", num(5), "5"},
        // Width, precision (a minimum digit count) and flags.
        {"%3d", num(5), "  5"}, {"%-3d|", num(5), "5  |"}, {"%05d", num(-42), "-0042"},
        {"%-05d|", num(7), "7    |"}, {"%.3d", num(7), "007"}, {"%5.3d", num(-7), " -007"},
        {"%.0d", num(0), "0"}, {"%2d", num(12345), "12345"},
        // Hexadecimal.
        {"%x", num(-1), "ffffffff"}, {"%X", num(48879), "BEEF"}, {"%#x", num(255), "0xff"},
        {"%#X", num(0), "0X0"}, {"%#06x", num(255), "0x00ff"}, {"%#6x", num(255), "  0xff"},
        {"%04X", num(10), "000A"},
        // Characters (the low byte) and strings.
        {"%c", num(0x141), "A"}, {"%3c", num(66), "  B"}, {"[%c]", num(0), "[]"},
        {"%5s|", text("abc"), "  abc|"}, {"%-5s|", text("abc"), "abc  |"},
        {"%.2s", text("abc"), "ab"}, {"%s", text("\x82\xa0\x82\xa2"), "\x82\xa0\x82\xa2"},
        // A mismatched type shows the value given.
        {"%d", text("abc"), "abc"}, {"%4x", text("ab"), "  ab"}, {"%s", num(-7), "-7"},
        {"%03s", num(7), "007"}, {"%c", text("xyz"), "x"}, {"[%c]", text(""), "[]"},
        // Only the first field takes the argument.
        {"%d/%d", num(3), "3/0"}, {"%s-%s|%c", text("a"), "a-|"}, {"%hs%ls", text("x"), "x"},
        // Percent signs, unknown fields, no '+', ' ', '*' or floating point.
        {"100%%", num(1), "100%"}, {"%%d", num(1), "%d"}, {"%5y|%d", num(1), "y|1"},
        {"%+d", num(5), "+d"}, {"% d", num(5), " d"}, {"%*d", num(5), "*d"}, {"%f", num(5), "f"},
        {"ab%", num(5), "ab"}, {"ab%-0", num(5), "ab"}, {"", num(5), ""},
        {"\x82%d", num(5), "\x82" "5"},  // 0x25 is never a trail byte
    };
    // clang-format on
    for (const auto& c : cases) EXPECT_EQ(fmt(c.format, c.arg), c.out) << c.format;
}

TEST(SjisFormat, StopsAtTheFormatLengthOrItsTerminator) {
    char out[32];
    EXPECT_EQ(sjis_format(out, sizeof out, "%dXYZ", 2, num(5)), 1u);
    EXPECT_STREQ(out, "5");
    EXPECT_EQ(sjis_format(out, sizeof out, "a\0%d", 4, num(5)), 1u);
    EXPECT_STREQ(out, "a");
    // A field cut by the length is no field.
    EXPECT_EQ(sjis_format(out, sizeof out, "%5d", 2, num(5)), 0u);
    EXPECT_STREQ(out, "");
}

TEST(SjisFormat, WritesAtMost1023CharactersAndRespectsASmallerBuffer) {
    EXPECT_EQ(fmt("%1023d", num(1)), std::string(1022, ' ') + "1");
    EXPECT_EQ(fmt("%1024d", num(1)), std::string(1023, ' '));
    EXPECT_EQ(fmt("%-99999999999d", num(1)), "1" + std::string(1022, ' '));
    EXPECT_EQ(fmt("%.2000d", num(1)), std::string(1023, '0'));
    const std::string long_text(5000, 'q');
    EXPECT_EQ(fmt("%s", text(long_text.c_str())), std::string(1023, 'q'));
    EXPECT_EQ(fmt(long_text, num(0)), std::string(1023, 'q'));

    char out[8];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(sjis_format(out, 4, "%d", 2, num(12345)), 3u);
    EXPECT_STREQ(out, "123");
    EXPECT_EQ(out[4], '#');
    EXPECT_EQ(sjis_format(out, 1, "%d", 2, num(7)), 0u);
    EXPECT_EQ(out[0], 0);
    out[0] = '#';
    EXPECT_EQ(sjis_format(out, 0, "%d", 2, num(7)), 0u);
    EXPECT_EQ(out[0], '#');
}

}  // namespace
}  // namespace qln
