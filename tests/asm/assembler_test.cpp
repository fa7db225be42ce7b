#include "asm/assembler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "asm/asm_test_util.h"
#include "files/unpack.h"

namespace qln {
namespace {

using test::assemble_error;
using test::assemble_ok;
using test::Bytes;
using test::code_of;
using test::hex;
using test::table_of;

// The bytes of a literal, NULs included, without the final one.
template <size_t N>
Bytes lit(const char (&s)[N]) {
    return Bytes(s, s + N - 1);
}

TEST(Assemble, AnEmptySourceIsTheSmallestScenario) {
    EXPECT_EQ(assemble_ok(""), hex("'QLN' 05 00 07 00"));
    EXPECT_EQ(assemble_ok("; only a comment\n\n"), hex("'QLN' 05 00 07 00"));
    EXPECT_EQ(assemble_ok("    end\n"), hex("'QLN' 05 00 08 00 FF"));
}

TEST(Assemble, SettingsRecordsChainTheirNextOffsets) {
    const Bytes image = assemble_ok(R"(.settings
    strings 1000
    screen 800, 600
    end
.code
    end
)");
    // H = 18, each record: its letter, the offset of the next one, its values.
    EXPECT_EQ(image, hex("'QLN' 12 00  'S' 0A 00 E8 03  'N' 11 00 20 03 58 02  'X'  15 00  FF"));
}

TEST(Assemble, TextAndFileSettings) {
    const Bytes image = assemble_ok(R"(.settings
    title "Quillon テスト"
    cmdnames "FILE", 0, 1
    errmsgs "A,B", -3
    cursor "RAW TEXT"
    record "G", auto
    record 0x4B, 0x1234, 1, "ab"
)");
    // Each record: its letter, the offset of the next one, then its text or bytes.
    EXPECT_EQ(image, lit("QLN\x44\x00"
                         "T\x17\x00Quillon \x83\x65\x83\x58\x83\x67\x00"
                         "C\x23\x00"
                         "FILE,0,1\x00"
                         "E\x2F\x00\"A,B\",-3\x00"
                         "M\x3B\x00RAW TEXT\x00"
                         "G\x3E\x00"
                         "K\x34\x12\x01"
                         "ab"
                         "\x46\x00"));
}

TEST(Assemble, StringLiteralsGoToThePoolInCodePage932) {
    const std::string body = R"(    str_let 1, "テスト"
    str_let 2, "a\"b\\c\x81\xFF\n"
    str_let 3, "テスト"
)";
    const Bytes shared = assemble_ok(body);
    EXPECT_EQ(code_of(shared), hex("60 00 01 7F 00 00  60 00 02 7F 07 00  60 00 03 7F 00 00"));
    EXPECT_EQ(table_of(shared), lit("\x83\x65\x83\x58\x83\x67\0a\"b\\c\x81\xFF\n\0"));

    // Separate strings: every literal gets its own copy.
    const Bytes separate = assemble_ok(".strings separate\n" + body);
    EXPECT_EQ(code_of(separate)[16], 16);
    EXPECT_EQ(table_of(separate),
              lit("\x83\x65\x83\x58\x83\x67\0a\"b\\c\x81\xFF\n\0\x83\x65\x83\x58\x83\x67\0"));
}

TEST(Assemble, LabelsAreCodeOffsetsForwardAndBack) {
    const Bytes image = assemble_ok(R"(start:
    jump done
    call_if v0[1], start, 1, 2, 3, 4
    eval start + 1
done: end
)");
    EXPECT_EQ(code_of(image), hex("01 25 00"  // jump done
                                  "03 00 01 10 7F 07 00  00 01 7F 00 02 7F 00 03 7F 00 04 7F"
                                  "00 02 07 00 00 01 53 7F"  // eval start + 1
                                  "FF"));
    EXPECT_EQ(code_of(assemble_ok("    jump 0x1234\n    jump -1\n    str_cmp #4, s[v0[1] + 2]")),
              hex("01 34 12  01 FF FF  62 04 00 FF FF 00 01 10 00 02 53 7F"));
}

TEST(Assemble, ALabelPastTheFirst256BytesKeepsItsHighByte) {
    std::string source = ".raw\n    jump far\n    .bytes";
    for (int i = 0; i < 0x120; ++i) source += " 0";
    const Bytes image = assemble_ok(source + "\nfar:\n");
    ASSERT_EQ(image.size(), 0x123u);
    EXPECT_EQ(image[1] | image[2] << 8, 0x123);
}

TEST(Assemble, ClosingListsOfEveryKind) {
    const struct {
        const char* source;
        const char* code;
    } cases[] = {
        {"a: jump_table v0[0], 1, a, b\nb:", "0D 00 00 10 7F 00 01 7F  07 00 15 00 FF FF"},
        {R"(    win_select 1, 0xFFFF, 0, 0xFFFF, 0xFFFF, -1, 0, ["x", 0x10, 1], [5: #3, 0x20, 0])",
         "0B 00 01 7F FF FF 00 00 7F FF FF FF FF 01 FF FF 7F 00 00 7F"  // fixed operands
         "00 00 00 10 00 00 01 7F  05 03 00 20 00 00 00 7F  80"},
        {"    win_open 2, 1, px: 10, tx_ssy: 5, 200: 1",
         "94 00 02 7F 00 01 7F  01 00 0A 7F  1A 00 05 7F  C8 00 01 7F  7F"},
        {"    win_set 2", "9C 00 02 7F 7F"},
        {"    btn_wait -1, 3, 0, [1, 2], [9: 3, 4]",
         "51 01 FF FF 7F 00 03 7F 00 00 7F  00 00 00 01 7F 00 02 7F  00 09 00 03 7F 00 04 7F  01 "
         "00"},
        {"    btn_wait -1, -1, 0, [end: 2, 7]", "51 01 FF FF 7F 01 FF FF 7F 00 00 7F  02 07"},
        {"    plugin_call 1, 2, 5, s[3], [1: 7, 9], [1: 8], [9:], [0: 4], #2",
         "C6 00 01 7F 00 02 7F  00 00 05 7F  02 FF FF 00 03 7F  01 07 09  01 08 00  09"
         "00 00 04 7F  02 02 00  7F"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(code_of(assemble_ok(c.source)), hex(c.code));
    }
}

TEST(Assemble, RawBytesExplicitTablesAndRawImages) {
    EXPECT_EQ(assemble_ok(".raw\n    .bytes 0x51 \"LN\", -1\n    jump here\nhere:\n"),
              hex("'QLN' FF 01 07 00"));

    // An explicit table is placed as written; literals follow it.
    const Bytes image = assemble_ok(R"(    str_let 0, #4
    str_let 1, "new"
.strtab
    "abc"
    .bytes 0x41
)");
    EXPECT_EQ(code_of(image), hex("60 00 00 7F 04 00  60 00 01 7F 05 00"));
    EXPECT_EQ(table_of(image), hex("'abc' 00 'Anew' 00"));

    // A string table offset given outright.
    const Bytes early = assemble_ok(".strtab_offset 2\n    str_let 0, \"x\"\n");
    EXPECT_EQ(early, hex("'QLN' 05 00 02 00  60 00 00 7F 0B 00  'x' 00"));
}

TEST(Assemble, PackedOutputUnpacksToTheImage) {
    const std::string source = "    str_let 1, \"hello hello hello\"\n    end\n";
    const Bytes image = assemble_ok(source);
    Bytes file;
    AsmError error;
    ASSERT_TRUE(assemble_packed(source, file, error)) << error.message;
    ASSERT_GE(file.size(), 4u);
    EXPECT_EQ(size_t(file[0] | file[1] << 8), image.size());
    EXPECT_EQ(size_t(file[2] | file[3] << 8), file.size() - 4);
    Bytes unpacked(image.size());
    ASSERT_TRUE(unpack_a(file.data() + 4, file.size() - 4, unpacked.data(), unpacked.size()));
    EXPECT_EQ(unpacked, image);

    // Too large for the packed layout's 16-bit length.
    std::string big = ".raw\n";
    for (int i = 0; i < 4200; ++i) big += "    .bytes 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15\n";
    EXPECT_FALSE(assemble_packed(big, file, error));
    EXPECT_EQ(error.line, 0);
}

TEST(Assemble, ErrorsNameTheLineAndColumn) {
    const struct {
        const char* source;
        const char* error;
    } cases[] = {
        {"\n    bogus 1\n", "f:2:5: unknown command 'bogus'"},
        {"    jump nowhere", "f:1:10: undefined label 'nowhere'"},
        {"    eval 1 + nowhere", "f:1:14: undefined label 'nowhere'"},
        {"a:\na:", "f:2:1: label 'a' is already defined"},
        {"    jump_if 1",
         "f:1:14: expected ',', found end of line (operand 2 of jump_if: target, code offset)"},
        {"    eval 1, 2", "f:1:11: too many operands for 'eval'"},
        {"    str_let 0, \"a\xF0\x9F\x98\x80\"", "f:1:18: "},  // an emoji: not in CP932
        {"    str_let 0, \"a\\x00\"", "f:1:16: "},
        {"    str_let 0, \"open", "f:1:16: string without its closing quote"},
        {"    end\n.raw", "f:2:"},
        {".settings\nhere:", "f:2:1: labels belong in the code"},
        {".raw\n    str_let 0, \"x\"", "f:2:16: "},
        {".strtab_offset 0xFFFF\n    str_let 0, \"x\"",
         "f:2:16: string lies outside the reach of the string table"},
        {"    jump_table 0, 0, 0xFFFF", "f:1:22: "},
        {"    win_open 1, 0, colour: 3",
         "f:1:20: unknown window key 'colour' (operand 3 of win_open: fields, (key, value) pairs "
         "of window fields, closed by 0x7F)"},
        {"    btn_wait 0, 0, 0, [end: 1, 0], [1, 2]",
         "f:1:36: nothing may follow the [end: ...] item (operand 4 of btn_wait: windows, "
         "(win_no, buf_no) pairs of mask maps)"},
        {".settings\n    colours 3", "f:2:5: unknown settings record 'colours'"},
        {".settings\n    strings 70000", "f:2:13: "},
        {"    end @", "f:1:9: unexpected character"},
        {"    eval 12ab", "f:1:10: malformed number"},
        {"    .bogus", "f:1:5: unknown directive '.bogus'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        const std::string got = assemble_error(c.source).format("f");
        EXPECT_EQ(got.substr(0, std::strlen(c.error)), c.error);  // the whole message where known
    }
}

}  // namespace
}  // namespace qln
