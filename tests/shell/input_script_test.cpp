#include <gtest/gtest.h>

#include "platform/headless/input_script.h"

namespace qln {
namespace {

std::vector<ScriptEvent> parse_ok(const char* text) {
    std::vector<ScriptEvent> events;
    ScriptError error;
    EXPECT_TRUE(input_script_parse(text, events, error)) << error.line << ": " << error.reason;
    return events;
}

ScriptError parse_fail(const char* text) {
    std::vector<ScriptEvent> events;
    ScriptError error;
    EXPECT_FALSE(input_script_parse(text, events, error)) << text;
    return error;
}

using K = ScriptEventKind;
using B = MouseButton;

// The fields an event of its kind carries.
struct Expected {
    uint32_t time;
    K kind;
    int32_t x = 0, y = 0;
    B button = B::Left;
    uint8_t code = 0;
};

void expect_events(const char* text, const std::vector<Expected>& expected) {
    SCOPED_TRACE(text);
    const auto e = parse_ok(text);
    ASSERT_EQ(e.size(), expected.size());
    for (size_t i = 0; i < e.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(e[i].time, expected[i].time);
        EXPECT_EQ(e[i].kind, expected[i].kind);
        EXPECT_EQ(e[i].x, expected[i].x);
        EXPECT_EQ(e[i].y, expected[i].y);
        EXPECT_EQ(e[i].button, expected[i].button);
        EXPECT_EQ(e[i].code, expected[i].code);
    }
}

TEST(InputScript, ReadsEveryEventWithCommentsBlanksAndCrLf) {
    expect_events(
        "# a whole-line comment\r\n"
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
        "4294967295 close",
        {{0, K::Move, 10, -20},
         {5, K::ButtonDown, 0, 0, B::Right},
         {6, K::ButtonUp, 0, 0, B::Middle},
         {7, K::Char, 0, 0, B::Left, 0x41},
         {8, K::KeyDown, 0, 0, B::Left, 16},
         {9, K::KeyUp, 0, 0, B::Left, 16},
         {10, K::FocusLost},
         {11, K::FocusGained},
         {12, K::Minimize},
         {13, K::Restore},
         {4294967295u, K::Close}});
    EXPECT_EQ(parse_ok("\n\n0 close\n")[0].line, 3u);
}

TEST(InputScript, ShorthandsExpandAndReleasesComeFiftyLater) {
    expect_events("100 click left 30 40\n200 key 0x25\n", {{100, K::Move, 30, 40},
                                                           {100, K::ButtonDown},
                                                           {150, K::ButtonUp},
                                                           {200, K::KeyDown, 0, 0, B::Left, 0x25},
                                                           {250, K::KeyUp, 0, 0, B::Left, 0x25}});
    expect_events(
        "1 click right 0 0\n",
        {{1, K::Move}, {1, K::ButtonDown, 0, 0, B::Right}, {51, K::ButtonUp, 0, 0, B::Right}});
    // A double-byte character is two character messages.
    expect_events("1 char 0x82A0\n",
                  {{1, K::Char, 0, 0, B::Left, 0x82}, {1, K::Char, 0, 0, B::Left, 0xA0}});
    // A release past the last tick wraps.
    expect_events("4294967290 key 65\n", {{4294967290u, K::KeyDown, 0, 0, B::Left, 65},
                                          {44, K::KeyUp, 0, 0, B::Left, 65}});
}

TEST(InputScript, ErrorsNameTheLineAndTheReason) {
    struct Case {
        const char* text;
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
    };
    for (const Case& c : cases) {
        const ScriptError error = parse_fail(c.text);
        EXPECT_EQ(error.line, c.line) << c.text;
        EXPECT_EQ(error.reason, c.reason) << c.text;
    }
}

TEST(InputScript, ANulByteIsAnError) {
    const std::string text("0 close\n1 cl\0se\n", 16);
    std::vector<ScriptEvent> events;
    ScriptError error;
    EXPECT_FALSE(input_script_parse(text, events, error));
    EXPECT_EQ(error.line, 2u);
}

}  // namespace
}  // namespace qln
