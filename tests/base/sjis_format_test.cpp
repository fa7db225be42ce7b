#include "base/sjis_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

namespace qln {
namespace {

std::string fmt(const char* format, FormatArg arg) {
    char out[kFormatLimit + 16];
    const size_t n = sjis_format(out, sizeof out, format, std::strlen(format), arg);
    EXPECT_EQ(n, std::strlen(out));
    return std::string(out, n);
}
std::string fmt(const char* format, int32_t value) {
    return fmt(format, FormatArg::of_number(value));
}
std::string fmt(const char* format, const char* text) {
    return fmt(format, FormatArg::of_text(text));
}

TEST(SjisFormat, SignedAndUnsignedDecimals) {
    EXPECT_EQ(fmt("%d", 42), "42");
    EXPECT_EQ(fmt("%i", -42), "-42");
    EXPECT_EQ(fmt("%d", 0), "0");
    EXPECT_EQ(fmt("%d", INT_MIN), "-2147483648");
    EXPECT_EQ(fmt("%u", -1), "4294967295");
    EXPECT_EQ(fmt("%ld", -5), "-5");
    EXPECT_EQ(fmt("%hd", 70000), "70000");  // every number is 32-bit here
    EXPECT_EQ(fmt("%I64d", 5), "5");
}

TEST(SjisFormat, WidthPrecisionAndFlagsOnNumbers) {
    EXPECT_EQ(fmt("%3d", 5), "  5");
    EXPECT_EQ(fmt("%-3d|", 5), "5  |");
    EXPECT_EQ(fmt("%05d", 42), "00042");
    EXPECT_EQ(fmt("%05d", -42), "-0042");
    EXPECT_EQ(fmt("%-05d|", 7), "7    |");
    EXPECT_EQ(fmt("%.3d", 7), "007");
    EXPECT_EQ(fmt("%5.3d", -7), " -007");
    EXPECT_EQ(fmt("%.0d", 0), "0");  // precision is a minimum digit count
    EXPECT_EQ(fmt("%2d", 12345), "12345");
}

TEST(SjisFormat, Hexadecimal) {
    EXPECT_EQ(fmt("%x", 255), "ff");
    EXPECT_EQ(fmt("%X", 48879), "BEEF");
    EXPECT_EQ(fmt("%x", -1), "ffffffff");
    EXPECT_EQ(fmt("%#x", 255), "0xff");
    EXPECT_EQ(fmt("%#X", 0), "0X0");
    EXPECT_EQ(fmt("%#06x", 255), "0x00ff");
    EXPECT_EQ(fmt("%#6x", 255), "  0xff");
    EXPECT_EQ(fmt("%04X", 10), "000A");
}

TEST(SjisFormat, CharactersAndStrings) {
    EXPECT_EQ(fmt("%c", 65), "A");
    EXPECT_EQ(fmt("%c", 0x141), "A");  // the low byte
    EXPECT_EQ(fmt("%3c", 66), "  B");
    EXPECT_EQ(fmt("[%c]", 0), "[]");
    EXPECT_EQ(fmt("%s", "abc"), "abc");
    EXPECT_EQ(fmt("%5s|", "abc"), "  abc|");
    EXPECT_EQ(fmt("%-5s|", "abc"), "abc  |");
    EXPECT_EQ(fmt("%.2s", "abc"), "ab");
    EXPECT_EQ(fmt("%hs%ls", "x"), "x");  // the second field has no argument
    EXPECT_EQ(fmt("%s", "\x82\xa0\x82\xa2"), "\x82\xa0\x82\xa2");
}

TEST(SjisFormat, AMismatchedTypeShowsTheGivenValue) {
    EXPECT_EQ(fmt("%d", "abc"), "abc");
    EXPECT_EQ(fmt("%4x", "ab"), "  ab");
    EXPECT_EQ(fmt("%s", -7), "-7");
    EXPECT_EQ(fmt("%03s", 7), "007");
    EXPECT_EQ(fmt("%c", "xyz"), "x");
    EXPECT_EQ(fmt("[%c]", ""), "[]");
}

TEST(SjisFormat, OnlyTheFirstFieldGetsTheArgument) {
    EXPECT_EQ(fmt("%d/%d", 3), "3/0");
    EXPECT_EQ(fmt("%s-%s|%c", "a"), "a-|");
    EXPECT_EQ(fmt("%x %s", 26), "1a ");
}

TEST(SjisFormat, PercentSignsAndUnknownFields) {
    EXPECT_EQ(fmt("100%%", 1), "100%");
    EXPECT_EQ(fmt("%%d", 1), "%d");
    EXPECT_EQ(fmt("%y", 1), "y");
    EXPECT_EQ(fmt("%5y|%d", 1), "y|1");  // the argument is still there
    EXPECT_EQ(fmt("%+d", 5), "+d");      // no '+' flag
    EXPECT_EQ(fmt("% d", 5), " d");      // nor ' '
    EXPECT_EQ(fmt("%*d", 5), "*d");      // nor '*' widths
    EXPECT_EQ(fmt("%f", 5), "f");        // nor floating point
    EXPECT_EQ(fmt("ab%", 5), "ab");
    EXPECT_EQ(fmt("ab%-0", 5), "ab");
    EXPECT_EQ(fmt("\x82%d", 5),
              "\x82"
              "5");  // 0x25 is never a trail byte
    EXPECT_EQ(fmt("", 5), "");
}

TEST(SjisFormat, StopsAtTheFormatLengthOrItsTerminator) {
    char out[32];
    EXPECT_EQ(sjis_format(out, sizeof out, "%dXYZ", 2, FormatArg::of_number(5)), 1u);
    EXPECT_STREQ(out, "5");
    EXPECT_EQ(sjis_format(out, sizeof out, "a\0%d", 4, FormatArg::of_number(5)), 1u);
    EXPECT_STREQ(out, "a");
    // A field cut by the length is no field.
    EXPECT_EQ(sjis_format(out, sizeof out, "%5d", 2, FormatArg::of_number(5)), 0u);
    EXPECT_STREQ(out, "");
}

TEST(SjisFormat, WritesAtMost1023CharactersLikeItsModel) {
    EXPECT_EQ(fmt("%1023d", 1), std::string(1022, ' ') + "1");
    EXPECT_EQ(fmt("%1024d", 1), std::string(1023, ' '));
    EXPECT_EQ(fmt("%-99999999999d", 1), "1" + std::string(1022, ' '));
    EXPECT_EQ(fmt("%.2000d", 1), std::string(1023, '0'));
    const std::string long_text(5000, 'q');
    EXPECT_EQ(fmt("%s", long_text.c_str()), std::string(1023, 'q'));
    EXPECT_EQ(fmt(long_text.c_str(), 0), std::string(1023, 'q'));
}

TEST(SjisFormat, RespectsASmallerOutputBuffer) {
    char out[8];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(sjis_format(out, 4, "%d", 2, FormatArg::of_number(12345)), 3u);
    EXPECT_STREQ(out, "123");
    EXPECT_EQ(out[4], '#');
    EXPECT_EQ(sjis_format(out, 1, "%d", 2, FormatArg::of_number(7)), 0u);
    EXPECT_EQ(out[0], 0);
    out[0] = '#';
    EXPECT_EQ(sjis_format(out, 0, "%d", 2, FormatArg::of_number(7)), 0u);
    EXPECT_EQ(out[0], '#');
}

}  // namespace
}  // namespace qln
