#include "asm/disassembler.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "asm/asm_test_util.h"

namespace qln {
namespace {

using test::assemble_ok;
using test::Bytes;
using test::round_trips;

std::string dis(const Bytes& image) {
    return disassemble(image.data(), image.size());
}

// The text after the first line (which counts the bytes).
std::string body(const std::string& text) {
    return text.substr(text.find('\n') + 1);
}

Bytes scenario(const Bytes& code, const Bytes& table) {
    Bytes image = {'Q', 'L', 'N', 5, 0};
    const size_t t = 7 + code.size();
    image.push_back(static_cast<uint8_t>(t));
    image.push_back(static_cast<uint8_t>(t >> 8));
    image.insert(image.end(), code.begin(), code.end());
    image.insert(image.end(), table.begin(), table.end());
    return image;
}

TEST(Disassemble, PrintsSettingsCommandsLabelsAndStrings) {
    const Bytes image = assemble_ok(R"(.settings
    strings 1000
    title "テスト"
.code
top:
    eval v3[5] = 1
    jump_if v3[5] > 10, top
    str_let 1, "こんにちは"
    win_open 1, 0, px: 10, 23: 5
    end
)");
    EXPECT_EQ(dis(image), "; " + std::to_string(image.size()) + R"( bytes
.settings
    strings 1000
    title "テスト"
.code
L_0016:
    eval v3[5] = 1
    jump_if v3[5] > 10, L_0016
    str_let 1, "こんにちは"
    win_open 1, 0, px: 10, 23: 5
    end
)");
    EXPECT_TRUE(round_trips(image));
}

TEST(Disassemble, EveryListKindPrintsAsItAssembles) {
    const std::string code = R"(L_0007:
    jump_table v0[0], 1, L_0007, L_0081
    win_select 1, 0xFFFF, 0, 0xFFFF, 0xFFFF, -1, 0, ["x", L_0007, 1], [0x05: "y", L_0081, v0[1]]
    win_set 2, tx_ssy: 5, 200: 1
    btn_wait -1, 3, 0, [1, 2], [0x09: 3, 4], [end: 0x02, 0x07]
    plugin_call 1, 2, 5, s[3], [1: 7, 9], [1: 8], [9:], "x"
L_0081:
    end
)";
    const Bytes image = assemble_ok(code);
    EXPECT_EQ(body(dis(image)), ".code\n" + code);
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
    EXPECT_EQ(body(dis(image)), settings + ".code\n");
    EXPECT_TRUE(round_trips(image));

    // A record whose next offset is off ends the walk; the rest stays raw.
    const Bytes broken = assemble_ok(".settings\n    strings 5\n    record \"S\", 99, 1, 2, 3\n");
    EXPECT_EQ(body(dis(broken)),
              ".settings\n    strings 5\n    record \"S\", 99, 0x01, 0x02, 0x03\n.code\n");
    EXPECT_TRUE(round_trips(broken));
    // Stored file-setting texts that the short form would write differently.
    for (const std::string text : {"\"A\",01", "A,+1", "A,1,2,3", "\"A\"", "A,-0", "A,"}) {
        std::string escaped;
        for (char c : text) {
            if (c == '"') escaped += '\\';
            escaped += c;
        }
        const std::string line = "    cmdnames \"" + escaped + "\"\n";
        const Bytes odd = assemble_ok(".settings\n" + line);
        EXPECT_EQ(body(dis(odd)), ".settings\n" + line + ".code\n");
        EXPECT_TRUE(round_trips(odd)) << text;
    }
}

TEST(Disassemble, OperandsCutOffByTheEndOfTheCodeAreRawBytes) {
    // jump with one byte of its word before the string table.
    const Bytes image = scenario({0xFF, 0x01, 0x34}, {});
    EXPECT_EQ(body(dis(image)), ".code\n    end\n    .bytes 0x01 0x34\n");
    EXPECT_TRUE(round_trips(image));
    // An expression whose end lies inside the string table.
    const Bytes overlap = scenario({0x00, 0x00, 0x05}, {0x7F, 'a', 0});
    EXPECT_EQ(body(dis(overlap)),
              ".code\n    .bytes 0x00 0x00 0x05\n.strtab\n    \"\\x7Fa\"  ; #0\n");
    EXPECT_TRUE(round_trips(overlap));
    // Unassigned command bytes are raw bytes; decoding goes on after them.
    const Bytes unassigned = scenario({0x0F, 0x42, 0xFF}, {});
    EXPECT_EQ(body(dis(unassigned)), ".code\n    .bytes 0x0F 0x42\n    end\n");
}

TEST(Disassemble, JumpsIntoRawBytesOrMidCommandKeepNumbers) {
    // Targets: 8 (the second raw byte), 13 (inside a jump) and 18 (the end).
    const Bytes image =
        scenario({0x0F, 0x0F, 0x01, 0x08, 0x00, 0x01, 0x0D, 0x00, 0x04, 0x12, 0x00}, {});
    EXPECT_EQ(body(dis(image)), R"(.code
    .bytes 0x0F
L_0008:
    .bytes 0x0F
    jump L_0008
    jump 0x000D
    call L_0012
L_0012:
)");
    EXPECT_TRUE(round_trips(image));
}

TEST(Disassemble, StringTablesTheAssemblerWouldNotBuildAreKeptVerbatim) {
    // An operand into the middle of a string, and bytes nobody names.
    const Bytes mid = scenario({0x26, 0x02, 0x00}, {'a', 'b', 'c', 0, 'z', 0});
    EXPECT_EQ(body(dis(mid)), R"(.code
    sys_message #2  ; "c"
.strtab
    "abc"  ; #0
    "z"  ; #4
)");
    EXPECT_TRUE(round_trips(mid));
    // The same strings, in an order the assembler would not choose.
    const Bytes order = scenario({0x26, 0x02, 0x00, 0x26, 0x00, 0x00}, {'a', 0, 'b', 0});
    EXPECT_NE(dis(order).find(".strtab"), std::string::npos);
    EXPECT_TRUE(round_trips(order));
    // Repeated strings stored twice: the separate-strings form.
    const Bytes twice = scenario({0x26, 0x00, 0x00, 0x26, 0x02, 0x00}, {'a', 0, 'a', 0});
    EXPECT_EQ(body(dis(twice)),
              ".strings separate\n.code\n    sys_message \"a\"\n    sys_message \"a\"\n");
    EXPECT_TRUE(round_trips(twice));
    // A table that ends without its NUL, and bytes that are not CP932.
    const Bytes tail = scenario({0x26, 0x00, 0x00}, {0x80, 0xFD, 'q', 0, 'r'});
    EXPECT_EQ(body(dis(tail)), R"(.code
    sys_message #0  ; "\x80\xFDq"
.strtab
    "\x80\xFDq"  ; #0
    .bytes 0x72
)");
    EXPECT_TRUE(round_trips(tail));
}

TEST(Disassemble, TextThatDoesNotSurviveConversionIsEscaped) {
    // 0x8790 converts to a character that converts back as 0x81E0.
    const Bytes image = scenario({0x26, 0x00, 0x00}, {0x87, 0x90, 0x83, 0x65, '"', '\\', 0x0A, 0});
    EXPECT_EQ(body(dis(image)), ".code\n    sys_message \"\\x87\\x90テ\\\"\\\\\\x0A\"\n");
    EXPECT_TRUE(round_trips(image));
}

TEST(Disassemble, AStringTableBeforeTheCodeIsGivenByOffset) {
    Bytes image = scenario({0x26, 0x01, 0x00, 0xFF}, {});
    image[5] = 1;  // T = 1: strings start at "LN..."
    EXPECT_EQ(body(dis(image)),
              ".strtab_offset 1\n.code\n    sys_message #1  ; \"N\\x05\"\n    end\n");
    EXPECT_TRUE(round_trips(image));
}

TEST(Disassemble, ImagesThatAreNoScenarioAreRawBytes) {
    for (const Bytes& image :
         {Bytes{}, Bytes{'Q', 'L', 'N', 5, 0, 7}, Bytes{'X', 'L', 'N', 5, 0, 7, 0},
          Bytes{'Q', 'L', 'N', 4, 0, 7, 0}, Bytes{'Q', 'L', 'N', 6, 0, 7, 0},
          Bytes{'Q', 'L', 'N', 5, 0, 8, 0}}) {
        const std::string text = dis(image);
        EXPECT_NE(text.find(".raw\n"), std::string::npos);
        EXPECT_TRUE(round_trips(image));
    }
}

// Random bytes after a valid header, with the string table anywhere.
TEST(Disassemble, RandomImagesRoundTripByteForByte) {
    std::mt19937 rng(20240601);
    for (int n = 0; n < 2000; ++n) {
        const size_t len = 7 + rng() % 400;
        Bytes image(len);
        for (uint8_t& b : image) b = static_cast<uint8_t>(rng());
        image[0] = 'Q';
        image[1] = 'L';
        image[2] = 'N';
        const size_t h = (rng() % 4 == 0) ? 5 + rng() % (len - 6) : 5;
        image[3] = static_cast<uint8_t>(h);
        image[4] = static_cast<uint8_t>(h >> 8);
        const size_t t = (rng() % 3 == 0) ? rng() % (len + 1) : h + 2 + rng() % (len - h - 1);
        image[h] = static_cast<uint8_t>(t);
        image[h + 1] = static_cast<uint8_t>(t >> 8);
        ASSERT_TRUE(round_trips(image)) << "image " << n;
    }
}

TEST(Disassemble, EveryCommandRoundTrips) {
    const Bytes image = assemble_ok(test::every_command_source());
    EXPECT_EQ(dis(image).find(".bytes"), std::string::npos);
    EXPECT_TRUE(round_trips(image));
}

}  // namespace
}  // namespace qln
