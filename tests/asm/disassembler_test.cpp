#include "asm/disassembler.h"

#include <gtest/gtest.h>

#include <string>

#include "asm/asm_test_util.h"

namespace qln {
namespace {

using test::assemble_ok;
using test::Bytes;
using test::round_trips;

// The text after the first line (which counts the bytes).
std::string body(const Bytes& image) {
    const std::string text = disassemble(image.data(), image.size());
    return text.substr(text.find('\n') + 1);
}

// A scenario without settings records: code, then the string table from t
// (by default right after the code).
Bytes scenario(const Bytes& code, const Bytes& table, int t = -1) {
    if (t < 0) t = int(7 + code.size());
    Bytes image = {'Q', 'L', 'N', 5, 0, uint8_t(t), uint8_t(t >> 8)};
    image.insert(image.end(), code.begin(), code.end());
    image.insert(image.end(), table.begin(), table.end());
    return image;
}

TEST(Disassemble, EveryListKindSettingsLabelsAndStringsPrintAsTheyAssemble) {
    const std::string code = R"(.settings
    strings 1000
    title "テスト"
.code
L_0016:
    eval v3[5] = 1
    jump_if v3[5] > 10, L_0016
    str_let 1, "こんにちは"
    jump_table v0[0], 1, L_0016, L_00B8
    win_select 1, 0xFFFF, 0, 0xFFFF, 0xFFFF, -1, 0, ["x", L_0016, 1], [0x05: "y", L_00B8, v0[1]]
    win_open 1, 0, px: 10, 23: 5
    win_set 2, tx_ssy: 5, 200: 1
    btn_wait -1, 3, 0, [1, 2], [0x09: 3, 4], [end: 0x02, 0x07]
    plugin_call 1, 2, 5, s[3], [1: 7, 9], [1: 8], [9:], "x"
L_00B8:
    end
)";
    const Bytes image = assemble_ok(code);
    EXPECT_EQ(disassemble(image.data(), image.size()),
              "; " + std::to_string(image.size()) + " bytes\n" + code);
    EXPECT_TRUE(round_trips(image));
}

TEST(Disassemble, StartUpRecordsOfEveryShapeAndBrokenOnes) {
    const std::string settings = R"(.settings
    buffers 300
    cmdnames "FILE", 0, 1
    errmsgs "A,B", -3
    cursor "C.AMP", 2
    cursor "no comma"
    screen 800, 600
    record "G", auto
    record 0x01, auto
    end
    .bytes 0x12 0x34
)";
    const Bytes image = assemble_ok(settings);
    EXPECT_EQ(body(image), settings + ".code\n");
    EXPECT_TRUE(round_trips(image));

    // A record whose next offset is off ends the walk; the rest stays raw.
    const Bytes broken = assemble_ok(".settings\n    strings 5\n    record \"S\", 99, 1, 2, 3\n");
    EXPECT_EQ(body(broken),
              ".settings\n    strings 5\n    record \"S\", 99, 0x01, 0x02, 0x03\n.code\n");
    EXPECT_TRUE(round_trips(broken));
    // Stored file-setting texts that the short form would write differently.
    for (const char* escaped : {R"(\"A\",01)", "A,+1", "A,1,2,3", R"(\"A\")", "A,-0", "A,"}) {
        const std::string line = std::string("    cmdnames \"") + escaped + "\"\n";
        const Bytes odd = assemble_ok(".settings\n" + line);
        EXPECT_EQ(body(odd), ".settings\n" + line + ".code\n");
        EXPECT_TRUE(round_trips(odd)) << escaped;
    }
}

// Images the assembler would not make: the text names what it can and keeps
// the rest as raw bytes, so that it assembles back to the same image.
TEST(Disassemble, ImagesTheAssemblerWouldNotMakeAreKeptVerbatim) {
    const struct {
        Bytes image;
        const char* text;  // nullptr: only the round trip
    } cases[] = {
        // jump with one byte of its word before the string table.
        {scenario({0xFF, 0x01, 0x34}, {}), ".code\n    end\n    .bytes 0x01 0x34\n"},
        // An expression whose end lies inside the string table.
        {scenario({0x00, 0x00, 0x05}, {0x7F, 'a', 0}),
         ".code\n    .bytes 0x00 0x00 0x05\n.strtab\n    \"\\x7Fa\"  ; #0\n"},
        // Unassigned command bytes; decoding goes on after them.
        {scenario({0x0F, 0x42, 0xFF}, {}), ".code\n    .bytes 0x0F 0x42\n    end\n"},
        // Targets 8 (the second raw byte), 13 (inside a jump) and 18 (the end).
        {scenario({0x0F, 0x0F, 0x01, 0x08, 0x00, 0x01, 0x0D, 0x00, 0x04, 0x12, 0x00}, {}),
         ".code\n    .bytes 0x0F\nL_0008:\n    .bytes 0x0F\n    jump L_0008\n    jump 0x000D\n"
         "    call L_0012\nL_0012:\n"},
        // An operand into the middle of a string, and bytes nobody names.
        {scenario({0x26, 0x02, 0x00}, {'a', 'b', 'c', 0, 'z', 0}),
         ".code\n    sys_message #2  ; \"c\"\n.strtab\n    \"abc\"  ; #0\n    \"z\"  ; #4\n"},
        // Strings in an order the assembler would not choose.
        {scenario({0x26, 0x02, 0x00, 0x26, 0x00, 0x00}, {'a', 0, 'b', 0}), nullptr},
        // Repeated strings stored twice: the separate-strings form.
        {scenario({0x26, 0x00, 0x00, 0x26, 0x02, 0x00}, {'a', 0, 'a', 0}),
         ".strings separate\n.code\n    sys_message \"a\"\n    sys_message \"a\"\n"},
        // A table that ends without its NUL, and bytes that are not CP932.
        {scenario({0x26, 0x00, 0x00}, {0x80, 0xFD, 'q', 0, 'r'}),
         ".code\n    sys_message #0  ; \"\\x80\\xFDq\"\n.strtab\n    \"\\x80\\xFDq\"  ; #0\n"
         "    .bytes 0x72\n"},
        // 0x8790 converts to a character that converts back as 0x81E0.
        {scenario({0x26, 0x00, 0x00}, {0x87, 0x90, 0x83, 0x65, '"', '\\', 0x0A, 0}),
         ".code\n    sys_message \"\\x87\\x90テ\\\"\\\\\\x0A\"\n"},
        // A string table before the code, starting at "LN...".
        {scenario({0x26, 0x01, 0x00, 0xFF}, {}, 1),
         ".strtab_offset 1\n.code\n    sys_message #1  ; \"N\\x05\"\n    end\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "");
        if (c.text) {
            EXPECT_EQ(body(c.image), c.text);
        }
        EXPECT_TRUE(round_trips(c.image));
    }
    // Images that are no scenario are raw bytes as a whole.
    for (const Bytes& image :
         {Bytes{}, Bytes{'Q', 'L', 'N', 5, 0, 7}, Bytes{'X', 'L', 'N', 5, 0, 7, 0},
          Bytes{'Q', 'L', 'N', 4, 0, 7, 0}, Bytes{'Q', 'L', 'N', 6, 0, 7, 0},
          Bytes{'Q', 'L', 'N', 5, 0, 8, 0}}) {
        EXPECT_NE(disassemble(image.data(), image.size()).find(".raw\n"), std::string::npos);
        EXPECT_TRUE(round_trips(image));
    }
}

TEST(Disassemble, EveryCommandRoundTrips) {
    const Bytes image = assemble_ok(test::every_command_source());
    EXPECT_EQ(body(image).find(".bytes"), std::string::npos);
    EXPECT_TRUE(round_trips(image));
}

}  // namespace
}  // namespace qln
