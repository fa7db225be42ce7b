#include "platform/headless/input_script.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace qln {
namespace {

std::vector<ScriptEvent> parse_ok(const char* text) {
    std::vector<ScriptEvent> events;
    ScriptError error;
    EXPECT_TRUE(input_script_parse(text, events, error)) << error.line << ": " << error.reason;
    return events;
}

ScriptError parse_fail(std::string_view text) {
    std::vector<ScriptEvent> events;
    ScriptError error;
    EXPECT_FALSE(input_script_parse(text, events, error)) << text;
    return error;
}

// Every field of every event: "TIME KIND X Y BUTTON CODE", kinds as letters
// in their enumeration's order, one event a line.
std::string describe(const char* text) {
    std::string out;
    for (const ScriptEvent& e : parse_ok(text)) {
        out += std::to_string(e.time) + " " + "MDUCKkFGNRX"[int(e.kind)] + " " +
               std::to_string(e.x) + " " + std::to_string(e.y) + " " +
               std::to_string(int(e.button)) + " " + std::to_string(e.code) + "\n";
    }
    return out;
}

TEST(InputScript, ReadsEveryEventWithCommentsBlanksAndCrLf) {
    EXPECT_EQ(describe("# a whole-line comment\r\n"
                       "\r\n"
                       "0 move 10 -20   # trailing comment\r\n"
                       "5\tdown right\n"
                       "6 up middle\n"
                       "7 char 0x41\n"
                       "8 keydown 16\n"
                       "9 keyup 0x10\n"
                       "10 focus lost\n"
                       "11 focus gained\n"
                       "12 minimize\n"
                       "13 restore\n"
                       "4294967295 close"),
              "0 M 10 -20 0 0\n5 D 0 0 1 0\n6 U 0 0 2 0\n7 C 0 0 0 65\n8 K 0 0 0 16\n"
              "9 k 0 0 0 16\n10 F 0 0 0 0\n11 G 0 0 0 0\n12 N 0 0 0 0\n13 R 0 0 0 0\n"
              "4294967295 X 0 0 0 0\n");
    EXPECT_EQ(parse_ok("\n\n0 close\n")[0].line, 3u);
}

TEST(InputScript, ShorthandsExpandAndReleasesComeFiftyLater) {
    EXPECT_EQ(describe("100 click left 30 40\n200 key 0x25\n1 click right 0 0\n"),
              "100 M 30 40 0 0\n100 D 0 0 0 0\n150 U 0 0 0 0\n"
              "200 K 0 0 0 37\n250 k 0 0 0 37\n"
              "1 M 0 0 0 0\n1 D 0 0 1 0\n51 U 0 0 1 0\n");
    // A double-byte character is two character messages; a release past the
    // last tick wraps.
    EXPECT_EQ(describe("1 char 0x82A0\n4294967290 key 65\n"),
              "1 C 0 0 0 130\n1 C 0 0 0 160\n4294967290 K 0 0 0 65\n44 k 0 0 0 65\n");
}

TEST(InputScript, ErrorsNameTheLineAndTheReason) {
    struct Case {
        std::string_view text;
        uint32_t line;
        const char* reason;
    };
    const Case cases[] = {
        {"0 jump 1 2\n", 1, "unknown event \"jump\""},
        {"# ok\n-5 close\n", 2, "bad time \"-5\" (milliseconds, 0 to 4294967295)"},
        {"4294967296 close\n", 1, "bad time \"4294967296\" (milliseconds, 0 to 4294967295)"},
        {"1x close\n", 1, "bad time \"1x\" (milliseconds, 0 to 4294967295)"},
        {"10\n", 1, "missing event after the time"},
        {"0 move 1\n", 1, "expected \"TIME move X Y\""},
        {"0 move 1 40000\n", 1, "bad position (X and Y are -32768 to 32767)"},
        {"0 down both\n", 1, "unknown button \"both\" (left, right, middle)"},
        {"0 click left 1\n", 1, "expected \"TIME click left|right|middle X Y\""},
        {"0 char 0x10000\n", 1, "bad character code \"0x10000\" (0 to 0xFFFF)"},
        {"0 key 0\n", 1, "bad virtual key \"0\" (1 to 255)"},
        {"0 keydown 256\n", 1, "bad virtual key \"256\" (1 to 255)"},
        {"0 keyup\n", 1, "expected \"TIME keyup VK\""},
        {"0 focus away\n", 1, "unknown focus change \"away\" (lost, gained)"},
        {"0 close now\n", 1, "\"close\" takes no arguments"},
        {"0 Close\n", 1, "unknown event \"Close\""},
        {"0 move 1 +2\n", 1, "bad position (X and Y are -32768 to 32767)"},
        {std::string_view("0 close\n1 cl\0se\n", 16), 2, nullptr},  // a NUL byte
    };
    for (const Case& c : cases) {
        const ScriptError error = parse_fail(c.text);
        EXPECT_EQ(error.line, c.line) << c.text;
        if (c.reason) {
            EXPECT_EQ(error.reason, c.reason) << c.text;
        }
    }
}

}  // namespace
}  // namespace qln
