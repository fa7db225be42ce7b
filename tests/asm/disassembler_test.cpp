#include "asm/disassembler.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

#include "asm/asm_test_util.h"
#include "asm/expr_compiler.h"
#include "engine/command_row.h"

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

// Random but well-formed commands, with a string table the assembler would
// build or a random one, and now and then a damaged byte.
class ScenarioGenerator {
  public:
    explicit ScenarioGenerator(uint32_t seed) : rng_(seed) {
        for (const CommandRow& s : command_table)
            if (s.name) assigned_.push_back(s.byte);
    }

    Bytes make(bool canonical_strings) {
        canonical_ = canonical_strings;
        code_.clear();
        starts_.clear();
        pool_.clear();
        pooled_.clear();
        const int count = 1 + static_cast<int>(rng_() % 30);
        for (int i = 0; i < count; ++i) command();
        Bytes table(pool_.begin(), pool_.end());
        if (!canonical_) {
            const size_t extra = rng_() % 40;
            for (size_t i = 0; i < extra; ++i)
                table.push_back(rng_() % 4 == 0 ? 0 : static_cast<uint8_t>(rng_()));
        }
        return scenario(code_, table);
    }

    uint32_t next() { return rng_(); }

  private:
    void word(uint16_t w) {
        code_.push_back(static_cast<uint8_t>(w));
        code_.push_back(static_cast<uint8_t>(w >> 8));
    }

    void target(bool may_be_none = true) {
        if (!starts_.empty() && rng_() % 3 != 0)
            word(static_cast<uint16_t>(7 + starts_[rng_() % starts_.size()]));
        else
            word(static_cast<uint16_t>(may_be_none && rng_() % 3 == 0 ? 0xFFFF : rng_() % 600));
    }

    void num() {
        const uint32_t kind = rng_() % 6;
        if (kind == 0) {
            // Token soup.
            const int n = static_cast<int>(rng_() % 5);
            for (int i = 0; i < n; ++i) {
                uint8_t t = static_cast<uint8_t>(rng_());
                if (t == 0x7F) t = 0x80;
                code_.push_back(t);
                if (t <= 3) {
                    const int extra = t == 0 ? 1 : t == 3 ? 4 : 2;
                    for (int k = 0; k < extra; ++k) code_.push_back(static_cast<uint8_t>(rng_()));
                }
            }
        } else {
            expr_emit_constant(static_cast<int32_t>(rng_()) >> (rng_() % 32), code_);
            if (kind == 1) {
                code_.push_back(0x13);
                expr_emit_constant(static_cast<int32_t>(rng_() % 100), code_);
                code_.push_back(static_cast<uint8_t>(0x50 + rng_() % 16));
            }
        }
        code_.push_back(0x7F);
    }

    void str() {
        if (rng_() % 5 == 0) {
            word(0xFFFF);
            num();
            return;
        }
        if (!canonical_) {
            word(static_cast<uint16_t>(rng_() % 50));
            return;
        }
        static const char* const kTexts[] = {"",           "a", "hello", "\x83\x65\x83\x58",
                                             "@n\x81\x40", "a"};
        const std::string s = kTexts[rng_() % std::size(kTexts)];
        const auto it = pooled_.find(s);
        if (it != pooled_.end()) {
            word(static_cast<uint16_t>(it->second));
            return;
        }
        pooled_.emplace(s, pool_.size());
        word(static_cast<uint16_t>(pool_.size()));
        pool_ += s;
        pool_ += '\0';
    }

    void list(char letter) {
        const int n = static_cast<int>(rng_() % 4);
        for (int i = 0; i < n; ++i) {
            switch (letter) {
                case 'J':
                    target(false);
                    break;
                case 'C':
                    code_.push_back(rng_() % 3 ? 0 : static_cast<uint8_t>(rng_() % 0x80));
                    str();
                    target();
                    num();
                    break;
                case 'K':
                    code_.push_back(static_cast<uint8_t>(rng_() % 0x7F));
                    num();
                    break;
                case 'P':
                    code_.push_back(0);
                    code_.push_back(rng_() % 3 ? 0 : static_cast<uint8_t>(rng_()));
                    num();
                    num();
                    break;
                case 'T': {
                    uint8_t type = static_cast<uint8_t>(rng_() % 4);
                    if (type == 3) type = static_cast<uint8_t>(3 + rng_() % 0x7C);
                    code_.push_back(type);
                    if (type == 0) num();
                    if (type == 2) str();
                    if (type == 1) {
                        code_.push_back(static_cast<uint8_t>(rng_()));
                        code_.push_back(rng_() % 2 ? 0 : static_cast<uint8_t>(rng_()));
                    }
                    break;
                }
            }
        }
        switch (letter) {
            case 'J':
                word(0xFFFF);
                break;
            case 'C':
                code_.push_back(0x80);
                break;
            case 'K':
            case 'T':
                code_.push_back(0x7F);
                break;
            case 'P':
                code_.push_back(rng_() % 3 ? 1 : static_cast<uint8_t>(1 + rng_() % 255));
                code_.push_back(rng_() % 3 ? 0 : static_cast<uint8_t>(rng_()));
                break;
        }
    }

    void command() {
        starts_.push_back(code_.size());
        const uint8_t byte = assigned_[rng_() % assigned_.size()];
        code_.push_back(byte);
        for (const char* p = command_table[byte].signature; *p; ++p) {
            switch (*p) {
                case 'w':
                    target();
                    break;
                case 'n':
                    num();
                    break;
                case 's':
                    str();
                    break;
                default:
                    list(*p);
                    break;
            }
        }
    }

    std::mt19937 rng_;
    std::vector<uint8_t> assigned_;
    bool canonical_ = false;
    Bytes code_;
    std::vector<size_t> starts_;
    std::string pool_;
    std::map<std::string, size_t> pooled_;
};

TEST(Disassemble, GeneratedScenariosRoundTrip) {
    ScenarioGenerator gen(99);
    int literal_tables = 0;
    for (int n = 0; n < 1500; ++n) {
        const bool canonical = n % 2 == 0;
        Bytes image = gen.make(canonical);
        const bool damage = n % 5 == 4;
        if (damage)
            image[7 + gen.next() % (image.size() - 7)] ^=
                static_cast<uint8_t>(1 + gen.next() % 255);
        const std::string text = dis(image);
        if (canonical && !damage) {
            EXPECT_EQ(text.find(".strtab"), std::string::npos) << text;
            ++literal_tables;
        }
        ASSERT_TRUE(round_trips(image)) << "scenario " << n;
    }
    EXPECT_EQ(literal_tables, 600);
}

}  // namespace
}  // namespace qln
