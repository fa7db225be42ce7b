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
using test::table_of;

// The bytes of a literal, NULs included, without the final one.
template <size_t N>
Bytes lit(const char (&s)[N]) {
    return Bytes(s, s + N - 1);
}

TEST(Assemble, AnEmptySourceIsTheSmallestScenario) {
    EXPECT_EQ(assemble_ok(""), (Bytes{'Q', 'L', 'N', 5, 0, 7, 0}));
    EXPECT_EQ(assemble_ok("; only a comment\n\n"), (Bytes{'Q', 'L', 'N', 5, 0, 7, 0}));
    EXPECT_EQ(assemble_ok("    end\n"), (Bytes{'Q', 'L', 'N', 5, 0, 8, 0, 0xFF}));
}

TEST(Assemble, SettingsRecordsChainTheirNextOffsets) {
    const Bytes image = assemble_ok(R"(.settings
    strings 1000
    screen 800, 600
    end
.code
    end
)");
    const Bytes expected = {'Q', 'L', 'N', 18,   0,                 // H = 18
                            'S', 10,  0,   0xE8, 0x03,              // 1000
                            'N', 17,  0,   0x20, 0x03, 0x58, 0x02,  // 800, 600
                            'X',                                    // end
                            21,  0,                                 // T
                            0xFF};
    EXPECT_EQ(image, expected);
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
    EXPECT_EQ(code_of(shared), (Bytes{0x60, 0x00, 1, 0x7F, 0, 0,  //
                                      0x60, 0x00, 2, 0x7F, 7, 0,  //
                                      0x60, 0x00, 3, 0x7F, 0, 0}));
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
    EXPECT_EQ(code_of(image),
              (Bytes{0x01, 37,   0,                                               // jump done
                     0x03, 0x00, 1, 0x10, 0x7F, 7, 0,    0x00, 1, 0x7F, 0x00, 2,  // call_if
                     0x7F, 0x00, 3, 0x7F, 0x00, 4, 0x7F,                          //
                     0x00, 0x02, 7, 0,    0x00, 1, 0x53, 0x7F,                    // eval
                     0xFF}));                                                     // done: end
    EXPECT_EQ(code_of(assemble_ok("    jump 0x1234\n    jump -1\n    str_cmp #4, s[v0[1] + 2]")),
              (Bytes{0x01, 0x34, 0x12, 0x01, 0xFF, 0xFF,  //
                     0x62, 4, 0, 0xFF, 0xFF, 0x00, 1, 0x10, 0x00, 2, 0x53, 0x7F}));
}

TEST(Assemble, ALabelPastTheFirst256BytesKeepsItsHighByte) {
    std::string source = ".raw\n    jump far\n    .bytes";
    for (int i = 0; i < 0x120; ++i) source += " 0";
    const Bytes image = assemble_ok(source + "\nfar:\n");
    ASSERT_EQ(image.size(), 0x123u);
    EXPECT_EQ(image[1] | image[2] << 8, 0x123);
}

TEST(Assemble, ClosingListsOfEveryKind) {
    EXPECT_EQ(code_of(assemble_ok("a: jump_table v0[0], 1, a, b\nb:")),
              (Bytes{0x0D, 0x00, 0, 0x10, 0x7F, 0x00, 1, 0x7F, 7, 0, 21, 0, 0xFF, 0xFF}));
    EXPECT_EQ(
        code_of(assemble_ok(
            R"(    win_select 1, 0xFFFF, 0, 0xFFFF, 0xFFFF, -1, 0, ["x", 0x10, 1], [5: #3, 0x20, 0])")),
        (Bytes{0x0B, 0x00, 1,    0x7F, 0xFF, 0xFF, 0x00, 0,    0x7F, 0xFF,
               0xFF, 0xFF, 0xFF, 0x01, 0xFF, 0xFF, 0x7F, 0x00, 0,    0x7F,  // fixed operands
               0x00, 0,    0,    0x10, 0,    0x00, 1,    0x7F,              // ["x", 0x10, 1]
               0x05, 3,    0,    0x20, 0,    0x00, 0,    0x7F,              // [5: #3, 0x20, 0]
               0x80}));
    EXPECT_EQ(code_of(assemble_ok("    win_open 2, 1, px: 10, tx_ssy: 5, 200: 1")),
              (Bytes{0x94, 0x00, 2,    0x7F, 0x00, 1,   0x7F, 1, 0x00, 10,
                     0x7F, 26,   0x00, 5,    0x7F, 200, 0x00, 1, 0x7F, 0x7F}));
    EXPECT_EQ(code_of(assemble_ok("    win_set 2")), (Bytes{0x9C, 0x00, 2, 0x7F, 0x7F}));
    EXPECT_EQ(code_of(assemble_ok("    btn_wait -1, 3, 0, [1, 2], [9: 3, 4]")),
              (Bytes{0x51, 0x01, 0xFF, 0xFF, 0x7F, 0x00, 3, 0x7F, 0x00, 0, 0x7F,  //
                     0x00, 0x00, 0x00, 1,    0x7F, 0x00, 2, 0x7F,                 //
                     0x00, 0x09, 0x00, 3,    0x7F, 0x00, 4, 0x7F,                 //
                     0x01, 0x00}));
    EXPECT_EQ(code_of(assemble_ok("    btn_wait -1, -1, 0, [end: 2, 7]")),
              (Bytes{0x51, 0x01, 0xFF, 0xFF, 0x7F, 0x01, 0xFF, 0xFF, 0x7F, 0x00, 0, 0x7F, 2, 7}));
    EXPECT_EQ(
        code_of(assemble_ok("    plugin_call 1, 2, 5, s[3], [1: 7, 9], [1: 8], [9:], [0: 4], #2")),
        (Bytes{0xC6, 0x00, 1,    0x7F, 0x00, 2,    0x7F,  //
               0,    0x00, 5,    0x7F,                    // 5
               2,    0xFF, 0xFF, 0x00, 3,    0x7F,        // s[3]
               1,    7,    9,                             // [1: 7, 9]
               1,    8,    0,                             // [1: 8]
               9,                                         // [9:]
               0,    0x00, 4,    0x7F,                    // [0: 4]
               2,    2,    0,                             // #2
               0x7F}));
}

TEST(Assemble, RawBytesExplicitTablesAndRawImages) {
    EXPECT_EQ(assemble_ok(".raw\n    .bytes 0x51 \"LN\", -1\n    jump here\nhere:\n"),
              (Bytes{0x51, 'L', 'N', 0xFF, 0x01, 7, 0}));

    // An explicit table is placed as written; literals follow it.
    const Bytes image = assemble_ok(R"(    str_let 0, #4
    str_let 1, "new"
.strtab
    "abc"
    .bytes 0x41
)");
    EXPECT_EQ(code_of(image), (Bytes{0x60, 0x00, 0, 0x7F, 4, 0, 0x60, 0x00, 1, 0x7F, 5, 0}));
    EXPECT_EQ(table_of(image), (Bytes{'a', 'b', 'c', 0, 'A', 'n', 'e', 'w', 0}));

    // A string table offset given outright.
    const Bytes early = assemble_ok(".strtab_offset 2\n    str_let 0, \"x\"\n");
    EXPECT_EQ(early, (Bytes{'Q', 'L', 'N', 5, 0, 2, 0, 0x60, 0x00, 0, 0x7F, 11, 0, 'x', 0}));
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
