// The dialog commands as scenarios: scripted clicks, texts in a one-colour-per-glyph picture font.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/machine.h"
#include "support/pixels.h"
#include "windows/window.h"

namespace qln {
namespace {

using test::pixel;
using test::ScriptedMachine;

// Glyph k (code 'A' + k) of picture font 1 is a 4 x 4 block of one colour.
uint32_t glyph_rgb(int k) {
    return uint32_t(0xC0 + k) << 16 | uint32_t(0x80 + k) << 8 | uint32_t(0x40 + k);
}

// Glyph k fills exactly the block at (x, y), and the pixels left of and above it do not.
void expect_glyph(const Picture& p, int32_t x, int32_t y, int k) {
    SCOPED_TRACE("glyph " + std::to_string(k) + " at " + std::to_string(x) + "," +
                 std::to_string(y));
    for (int32_t j = 0; j < 16; ++j) {
        ASSERT_EQ(pixel(p, x + j % 4, y + j / 4), glyph_rgb(k));
    }
    EXPECT_TRUE(x == 0 || pixel(p, x - 1, y) != glyph_rgb(k));
    EXPECT_TRUE(y == 0 || pixel(p, x, y - 1) != glyph_rgb(k));
}

struct DialogMachine : ScriptedMachine {
    explicit DialogMachine(const std::string& script = "") : ScriptedMachine(script) {
        Picture* sheet = buf_new_picture(engine, 20, 28, 4);
        EXPECT_NE(sheet, nullptr);
        for (int32_t y = 0; sheet && y < 4; ++y) {
            for (int32_t x = 0; x < 28; ++x) test::set_pixel(*sheet, x, y, glyph_rgb(x / 4));
        }
        platform.on_idle = [this] { owners.insert(engine.tracking.input_owner); };
    }
    // The input-owning windows seen while the commands waited.
    std::set<uint16_t> owners;

    Window& win(int32_t n) { return engine.windows.records[size_t(n)]; }
    // The run's result registers 1 to 6 as the scenario copied them.
    std::vector<int32_t> results() { return vars(1, 6); }
    std::vector<int32_t> vars(int32_t first, int32_t last) {
        std::vector<int32_t> v;
        for (int32_t i = first; i <= last; ++i) v.push_back(var(3, i));
        return v;
    }
};

// --- win_select ------------------------------------------------------------

// Window 3 at (100, 50) with seven buttons (ids 1 to 7) in columns of three
// rows, 30 x 10 each; a list layout of rows 10 high, columns 30 wide, margins
// 6 and 8 and a gap of 5. Each choice target k stores k in v3[0]; cancel
// stores 100; the outside subroutine counts in v3[7], the pre subroutine in
// v3[8]; R1 to R6 go to v3[1..6].
std::string select_scenario(const std::string& select, int32_t sel_top = 0,
                            const std::string& before = "") {
    std::string s = ".code\n  font_pic 1, 20, 4, 4, 7, 4, 65, 71, 0\n  buf_regions 10, 7\n";
    for (int k = 0; k < 7; ++k) {
        s += "  btn_def 10, " + std::to_string(k) + ", " + std::to_string(k + 1) + ", " +
             std::to_string(30 * (k / 3)) + ", " + std::to_string(10 * (k % 3)) +
             ", 30, 10, 65535, 0\n";
    }
    s += "  win_open 3, 0, px: 100, py: 50, fwidth: 0, bt_buff: 10, tx_px: 1, tx_py: 2\n";
    s += "  win_list_layout 3, 10, 30, 6, 8, " + std::to_string(sel_top) + ", 3, 5\n";
    s += before + "  " + select + "\n  eval v3[0] = 99\n  jump done\n";
    for (int k = 0; k < 7; ++k) {
        s += "c" + std::to_string(k) + ":\n  eval v3[0] = " + std::to_string(k) + "\n  jump done\n";
    }
    s += "cancel:\n  eval v3[0] = 100\ndone:\n";
    for (int i = 1; i <= 6; ++i) {
        s += "  eval v3[" + std::to_string(i) + "] = r[" + std::to_string(i) + "]\n";
    }
    s += "  end\noutside:\n  eval v3[7] += 1\n  return 0\npre:\n  eval v3[8] += 1\n  return 0\n";
    return s;
}

// Seven choices A to G (a dropped one between B and C) after the operands.
std::string select_line(const std::string& operands) {
    return "win_select 3, " + operands +
           R"(, ["@X1A", c0, 1], ["@X1B", c1, 1], ["@X1G", c6, 0], ["@X1C", c2, 1], )"
           R"(["@X1D", c3, 1], ["@X1E", c4, 1], ["@X1F", c5, 1], ["@X1G", c6, 1])";
}

// Screen position of the button of choice k (window at 100, 50).
std::string at_choice(int k) {
    return std::to_string(100 + 30 * (k / 3) + 15) + " " + std::to_string(50 + 10 * (k % 3) + 5);
}

TEST(WinSelect, LaysTheShownChoicesOutInColumnsAndSurvivesHostileLayouts) {
    struct Case {
        int32_t sel_top;
        const char* layout;  // win_list_layout operands after the window, replacing the usual
        int32_t width, height;
        int first;  // the first choice shown; -1: the glyphs are not looked at
    };
    // Seven choices: three columns, two gaps. From choice 2: five, two columns.
    // Then the first shown choice far before the list with huge columns and
    // gaps, and negative rows: no size to take, the window keeps its own.
    const Case cases[] = {{0, "", 108, 36, 0},
                          {2, "", 73, 36, 2},
                          {5, "", 38, 26, 5},
                          {0, "10, 2147483647, 5, 5, -2147483648, 1, 2147483647", 65535, 15, -1},
                          {0, "10, 30, 6, 8, 0, -1, 5", 24, 24, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sel_top) + c.layout);
        DialogMachine m("5 click right 0 0\n");
        const std::string layout =
            *c.layout ? std::string("  win_list_layout 3, ") + c.layout + "\n" : "";
        ASSERT_TRUE(
            m.start(select_scenario(select_line("cancel, 0, -1, -1, -1, 0"), c.sel_top, layout)));
        EXPECT_EQ(m.run(), kResultEndAll);
        EXPECT_EQ(m.var(3, 0), 100);
        const Window& w = m.win(3);
        ASSERT_NE(w.picture, nullptr);
        EXPECT_EQ((std::vector<int32_t>{w.sx(), w.sy()}),
                  (std::vector<int32_t>{c.width, c.height}));
        EXPECT_EQ(w.Visible, 0);
        if (c.first < 0) continue;
        EXPECT_EQ((std::vector<int32_t>{w.tx_ex, w.tx_ey, w.bt_num}),
                  (std::vector<int32_t>{c.width, c.height, 7}));
        // Column 2 after one gap; text origin (1, 2) plus half the margins (4, 3) first.
        const int32_t column_x[3] = {5, 35, 70};
        for (int i = 0; c.first + i < 7; ++i) {
            expect_glyph(*w.picture, column_x[i / 3], 5 + 10 * (i % 3), c.first + i);
        }
    }
}

TEST(WinSelect, OutcomesOfClicks) {
    struct Case {
        const char* name;
        const char* operands;  // cancel, flags, pre, outside, sub_buff, entry
        std::string script;
        int32_t chosen;  // v3[0]
        int32_t outside_runs, pre_runs;
        std::vector<int32_t> results;  // R1 to R6
        uint8_t visible;
        uint16_t owner = 0;  // the window owning the input while it waits
    };
    const std::string c1 = "10 click left " + at_choice(1) + "\n";
    const std::string c3 = "100 click left " + at_choice(3) + "\n";
    const std::string right = "10 click right 5 6\n", left = "10 click left 5 6\n";
    // clang-format off
    const Case cases[] = {
        {"a left click on a choice", "cancel, 0, -1, -1, -1, 0", c1,
         1, 0, 0, {3, 2, 1, 115, 65, 0}, 0},
        {"a right click cancels", "cancel, 0, -1, -1, -1, 0", right,
         100, 0, 0, {0, 0, 255, 5, 6, 0}, 0},
        {"a left click outside runs the outside subroutine, then the command again",
         "cancel, 0, -1, outside, -1, 0", left + c3,
         3, 1, 0, {3, 4, 1, 145, 55, 0}, 0},
        {"without an outside target a click outside waits on", "cancel, 0, -1, -1, -1, 0", left + c3,
         3, 0, 0, {3, 4, 1, 145, 55, 0}, 0},
        {"without a cancel target a right click on a choice waits on", "-1, 0, -1, outside, -1, 0",
         "10 click right " + at_choice(1) + "\n" + c3,
         3, 0, 0, {3, 4, 1, 145, 55, 0}, 0},
        // R1 is what the pre subroutine returned.
        {"the pre subroutine runs before the choice's target", "cancel, 0x100, pre, -1, -1, 0", c1,
         1, 0, 1, {0, 2, 1, 115, 65, 0}, 1},
        {"the pre subroutine runs before cancel too", "cancel, 0, pre, -1, -1, 0", right,
         100, 0, 1, {0, 0, 255, 5, 6, 0}, 0},
        {"flag 0x80 owns the input", "cancel, 0x80, -1, -1, -1, 0", c1,
         1, 0, 0, {3, 2, 1, 115, 65, 0}, 0, 3},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DialogMachine m(c.script);
        ASSERT_TRUE(m.start(select_scenario(select_line(c.operands))));
        EXPECT_EQ(m.run(), kResultEndAll);
        EXPECT_TRUE(m.errors().empty());
        EXPECT_EQ(m.var(3, 0), c.chosen);
        EXPECT_EQ(m.var(3, 7), c.outside_runs);
        EXPECT_EQ(m.var(3, 8), c.pre_runs);
        EXPECT_EQ(m.results(), c.results);
        EXPECT_EQ(m.win(3).Visible, c.visible);
        EXPECT_EQ(m.owners, std::set<uint16_t>{c.owner});
        EXPECT_EQ(m.engine.tracking.input_owner, 0);
        EXPECT_EQ(m.engine.interp.current, nullptr);
    }
}

// Callback buffer 6 counts its calls by phase (R1) in v3[10..12], keeps R7,
// R12 and R14 of its calls in v3[13..15], and answers with v3[16] in phase 1.
constexpr const char* kSelectCallback = R"(.code
  eval v3[10 + r[1]] += 1
  eval v3[13] = r[7]
  jump_if r[1] != 2, not_last
  eval v3[14] = r[12]
not_last:
  jump_if r[1] != 0, not_first
  eval v3[15] = r[14]
not_first:
  jump_if r[1] != 1, quiet
  scn_return v3[16]
quiet:
  scn_return 0
)";

TEST(WinSelect, ACallbackSeesEveryPhaseAndMayDecide) {
    struct Case {
        const char* name;
        int32_t answer;  // v3[16]
        std::string script;
        int32_t chosen;
        std::vector<int32_t> results;
        int32_t last_r12;
    };
    // clang-format off
    const Case cases[] = {
        // 10,020,031: window 3, button id 2, left button.
        {"decides for button 2 with the left button", 10020031, "", 1, {3, 2, 1, 0, 0, 0}, 1},
        // Button id 9 is none of the window's: id -1; the right button cancels.
        {"an unknown button with the right button cancels", 10090030, "",
         100, {3, -1, 255, 0, 0, 0}, 255},
        {"without an answer the click decides", 0, "10 click left " + at_choice(4) + "\n",
         4, {3, 5, 1, 145, 65, 0}, 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DialogMachine m(c.script);
        ASSERT_TRUE(m.load_buffer(6, kSelectCallback));
        const std::string setup = "  eval v3[16] = " + std::to_string(c.answer) + "\n";
        ASSERT_TRUE(m.start(select_scenario(select_line("cancel, 0, -1, -1, 6, 0"), 0, setup)));
        EXPECT_EQ(m.run(), kResultEndAll);
        EXPECT_TRUE(m.errors().empty());
        EXPECT_EQ(m.var(3, 0), c.chosen);
        EXPECT_EQ(m.results(), c.results);
        EXPECT_GE(m.var(3, 11), 1);
        // One first and one last call; bt_num; the longest text, "@X1A", is 4.
        EXPECT_EQ(m.vars(12, 15), (std::vector<int32_t>{1, 7, c.last_r12, 4}));
        EXPECT_EQ(m.var(3, 10), 1);
    }
}

TEST(WinSelect, ChoiceTextsFromStringRegistersSurviveACallbackThatMovesThePool) {
    DialogMachine m("10 click right 0 0\n");
    // The callback stores a text far longer than the pool holds.
    ASSERT_TRUE(
        m.load_buffer(6, ".code\n  str_let 2, \"" + std::string(6000, 'x') + "\"\n  end\n"));
    ASSERT_TRUE(m.start(
        select_scenario(R"(win_select 3, cancel, 0, -1, -1, 6, 0, [s[1], c0, 1], [s[4], c1, 1])", 0,
                        "  str_let 1, \"@X1C\"\n  str_let 4, \"@X1E\"\n")));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(3, 0), 100);
    expect_glyph(*m.win(3).picture, 5, 5, 2);
    expect_glyph(*m.win(3).picture, 5, 15, 4);
}

// --- win_confirm and win_notice ---------------------------------------------

// Window 2, 100 x 60, with the buttons 1 (left half of the bottom) and 2
// (right half); its text origin is (3, 4). Centred, it stands at (270, 210).
constexpr const char* kQuestionSetup = R"(.code
  font_pic 1, 20, 4, 4, 7, 4, 65, 71, 0
  buf_regions 11, 2
  btn_def 11, 0, 1, 0, 30, 50, 30, 65535, 0
  btn_def 11, 1, 2, 50, 30, 50, 30, 65535, 0
  win_open 2, 0, px: 5, py: 5, width: 100, height: 60, fwidth: 0, bt_buff: 11, bt_num: 2, tx_px: 3, tx_py: 4
)";

TEST(WinConfirmAndNotice, CentreAskAndWaitForALeftClickOnAButton) {
    struct Case {
        const char* name;
        const char* command;
        const char* script;
        std::vector<int32_t> seen;  // branch (1 yes, 2 no, 3 on), R1, clock after
        int glyph;
    };
    const char* confirm = "win_confirm \"@X1B\", yes, no, 2";
    // clang-format off
    const Case cases[] = {
        {"yes", confirm, "10 click left 295 255\n", {1, 1, 60}, 1},
        {"no", confirm, "10 click left 345 255\n", {2, 0, 60}, 1},
        {"a right click", confirm, "10 click right 295 255\n", {2, 0, 60}, 1},
        {"clicks outside the buttons wait on", confirm,
         "10 click left 5 5\n100 click left 300 215\n200 click left 296 256\n", {1, 1, 250}, 1},
        // The right click and the click outside are not the answer.
        {"notice", "win_notice \"@X1C\", 2",
         "10 click right 295 255\n100 click left 5 5\n200 click left 345 255\n", {3, 0, 250}, 2},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DialogMachine m(c.script);
        ASSERT_TRUE(m.start(std::string(kQuestionSetup) + "  " + c.command + R"(
  eval v3[1] = 3
  jump out
yes:
  eval v3[1] = 1
  jump out
no:
  eval v3[1] = 2
out:
  eval v3[2] = r[1]
  clock_get
  eval v3[3] = r[1]
  end
)"));
        EXPECT_EQ(m.run(), kResultEndAll);
        EXPECT_EQ(m.vars(1, 3), c.seen);
        const Window& w = m.win(2);
        EXPECT_EQ((std::vector<int32_t>{w.px, w.py, w.Visible}),
                  (std::vector<int32_t>{270, 210, 0}));
        expect_glyph(*w.picture, 3, 4, c.glyph);
        EXPECT_EQ(m.owners, std::set<uint16_t>{2});
        EXPECT_EQ(m.engine.tracking.input_owner, 0);
    }
}

// --- win_message ------------------------------------------------------------

// before keeps R1-R4 in v3[10]; after keeps R1-R4 in v3[11], R5-R7 in v3[12..14], returns 77.
std::string message_scenario(const std::string& message) {
    return std::string(kQuestionSetup) + "  " + message + R"(
  eval v3[1] = r[1]
  eval v3[2] = r[2]
  eval v3[3] = r[3]
  end
before:
  eval v3[10] = r[1] * 1000 + r[2] * 100 + r[3] * 10 + r[4]
  return 0
after:
  eval v3[11] = r[1] * 1000 + r[2] * 100 + r[3] * 10 + r[4]
  eval v3[12] = r[5]
  eval v3[13] = r[6]
  eval v3[14] = r[7]
  return 77
)";
}

TEST(WinMessage, ShowsTheTextAndPassesTheClickToItsSubroutines) {
    struct Case {
        const char* name;
        const char* message;
        const char* script;
        std::vector<int32_t> after;   // v3[10..14]
        std::vector<int32_t> result;  // R1-R3 at the end
    };
    // clang-format off
    const Case cases[] = {
        // R1 from after's return, R2 and R3 as set for after.
        {"without waiting", "win_message 2, 0, \"@X1D\", before, after, 1, 2, 3, 4", "",
         {1234, 1234, 0, 0, 255}, {77, 2, 3}},
        {"without waiting, the left button down", "win_message 2, 0, \"@X1D\", -1, after, 5, 6, 7, 8",
         "0 down left\n", {0, 5678, 0, 0, 1}, {77, 6, 7}},
        {"a left click on a button", "win_message 2, 1, \"@X1D\", before, after, 1, 2, 3, 4",
         "10 click left 20 40\n", {1234, 1234, 2, 1, 1}, {2, 1, 1}},
        {"a right click", "win_message 2, 1, \"@X1D\", -1, -1, 1, 2, 3, 4",
         "10 click right 600 400\n", {0, 0, 0, 0, 0}, {0, 0, 255}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DialogMachine m(c.script);
        ASSERT_TRUE(m.start(message_scenario(c.message)));
        EXPECT_EQ(m.run(), kResultEndAll);
        EXPECT_TRUE(m.errors().empty());
        EXPECT_EQ(m.vars(10, 14), c.after);
        EXPECT_EQ(m.vars(1, 3), c.result);
        const Window& w = m.win(2);
        EXPECT_EQ(w.Visible, 1);
        EXPECT_EQ(w.px, 5);  // not moved
        expect_glyph(*w.picture, 3, 4, 3);
    }
}

TEST(DialogCommands, Errors) {
    struct Case {
        const char* name;
        std::string scenario;
        int32_t code;
        const char* detail;
        const char* script = "";
        int32_t before_runs = 0;  // v3[10]: the before subroutine ran first
    };
    const std::string question(kQuestionSetup);
    const Case cases[] = {
        {"select: a closed window", select_scenario("win_select 4, cancel, 0x80, -1, -1, -1, 0"),
         -106, "win_no = 4"},
        {"select: no rows",
         select_scenario(select_line("cancel, 0x80, -1, -1, -1, 0"), 0,
                         "  win_list_layout 3, 10, 30, 6, 8, 0, 0, 5\n"),
         -116, ""},
        {"select: a callback buffer without a scenario",
         select_scenario(select_line("cancel, 0x80, -1, -1, 7, 0")), -108,
         "sub_buff = 7, entry = 0"},
        // No longer waiting for a click that cannot come.
        {"notice: the window closed", question + "  win_notice \"x\", 2\n  end\n", -107, "",
         "50 close\n"},
        {"notice: a closed window", question + "  win_notice \"x\", 9\n  end\n", -106,
         "win_no = 9"},
        {"confirm: a closed window", question + "  win_confirm \"x\", 0, 0, 9\n  end\n", -106,
         "win_no = 9"},
        {"message: a closed window, after the before subroutine",
         message_scenario("win_message 9, 0, \"x\", before, -1, 1, 0, 0, 0"), -106, "win_no = 9",
         "", 1000},
        // A subroutine that stops with an error is reported as -101.
        {"message: a failing subroutine",
         question + "  win_message 2, 0, \"x\", bad, -1, 0, 0, 0, 0\n  end\nbad:\n"
                    "  .bytes 0x2A\n  return 0\n",
         -101, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DialogMachine m(c.script);
        ASSERT_TRUE(m.start(c.scenario));
        EXPECT_EQ(m.run(), c.code);
        EXPECT_STREQ(m.engine.interp.error.detail, c.detail);
        EXPECT_EQ(m.engine.tracking.input_owner, 0);
        EXPECT_EQ(m.var(3, 10), c.before_runs);
        if (c.code == -101) {
            EXPECT_EQ(m.errors(), (std::vector<std::string>{"100", "101"}));
        }
    }
}

}  // namespace
}  // namespace qln
