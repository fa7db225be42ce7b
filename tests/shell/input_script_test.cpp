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

TEST(InputScript, ReadsEveryEventWithCommentsBlanksAndCrLf) {
    const auto e = parse_ok(
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
        "4294967295 close");
    ASSERT_EQ(e.size(), 11u);
    EXPECT_EQ(e[0].kind, ScriptEventKind::Move);
    EXPECT_EQ(e[0].x, 10);
    EXPECT_EQ(e[0].y, -20);
    EXPECT_EQ(e[0].line, 3u);
    EXPECT_EQ(e[1].kind, ScriptEventKind::ButtonDown);
    EXPECT_EQ(e[1].button, MouseButton::Right);
    EXPECT_EQ(e[1].time, 5u);
    EXPECT_EQ(e[2].kind, ScriptEventKind::ButtonUp);
    EXPECT_EQ(e[2].button, MouseButton::Middle);
    EXPECT_EQ(e[3].kind, ScriptEventKind::Char);
    EXPECT_EQ(e[3].code, 0x41);
    EXPECT_EQ(e[4].kind, ScriptEventKind::KeyDown);
    EXPECT_EQ(e[4].code, 16);
    EXPECT_EQ(e[5].kind, ScriptEventKind::KeyUp);
    EXPECT_EQ(e[5].code, 16);
    EXPECT_EQ(e[6].kind, ScriptEventKind::FocusLost);
    EXPECT_EQ(e[7].kind, ScriptEventKind::FocusGained);
    EXPECT_EQ(e[8].kind, ScriptEventKind::Minimize);
    EXPECT_EQ(e[9].kind, ScriptEventKind::Restore);
    EXPECT_EQ(e[10].kind, ScriptEventKind::Close);
    EXPECT_EQ(e[10].time, 4294967295u);
}

TEST(InputScript, ClickAndKeyPressAtTheirTimeAndReleaseFiftyLater) {
    const auto e = parse_ok("100 click left 30 40\n200 key 0x25\n");
    ASSERT_EQ(e.size(), 5u);
    EXPECT_EQ(e[0].kind, ScriptEventKind::Move);
    EXPECT_EQ(e[0].time, 100u);
    EXPECT_EQ(e[0].x, 30);
    EXPECT_EQ(e[0].y, 40);
    EXPECT_EQ(e[1].kind, ScriptEventKind::ButtonDown);
    EXPECT_EQ(e[1].time, 100u);
    EXPECT_EQ(e[2].kind, ScriptEventKind::ButtonUp);
    EXPECT_EQ(e[2].time, 150u);
    EXPECT_EQ(e[2].button, MouseButton::Left);
    EXPECT_EQ(e[3].kind, ScriptEventKind::KeyDown);
    EXPECT_EQ(e[3].time, 200u);
    EXPECT_EQ(e[4].kind, ScriptEventKind::KeyUp);
    EXPECT_EQ(e[4].time, 250u);
    EXPECT_EQ(e[4].code, 0x25);
}

TEST(InputScript, ADoubleByteCharacterIsTwoCharacterMessages) {
    const auto e = parse_ok("1 char 0x82A0\n");
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].code, 0x82);
    EXPECT_EQ(e[1].code, 0xA0);
}

TEST(InputScript, AReleasePastTheLastTickWraps) {
    const auto e = parse_ok("4294967290 key 65\n");
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[1].time, 44u);
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
