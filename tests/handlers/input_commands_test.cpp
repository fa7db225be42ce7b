// The mouse, cursor and keyboard commands as scenarios.

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "input/input_machine.h"

namespace qln::test {
namespace {

void centred_view(Settings& s) {  // content offset (20, 20)
    s.view_width = 600;
    s.view_height = 440;
}

void type(Engine& engine, std::initializer_list<uint8_t> codes) {
    LockHold hold(engine.shared.input.lock);
    for (uint8_t c : codes) input_char_push(engine.shared.input, c);
}

TEST(KeyRead, TakesCharactersWholeKeysInOrderAndWaitsForATrailByte) {
    InputMachine m;
    type(m.engine, {'a', 0x82});
    {
        LockHold hold(m.engine.shared.input.lock);
        input_key_push(m.engine.shared.input, 0x141);
    }
    const char* reads =
        "  key_read\n  eval v3[0] = r[1]\n  eval v3[1] = r[2]\n"
        "  key_read\n  eval v3[2] = r[1]\n  eval v3[3] = r[2]\n  end\n";
    ASSERT_TRUE(m.go(reads));
    // A lead byte alone stays queued.
    EXPECT_EQ(m.variables(0, 3), (std::vector<int32_t>{'a', 0x141, 0, 0}));
    EXPECT_EQ(m.platform.now, 20u);  // 10 ms per read
    type(m.engine, {0xA0, 'b'});
    ASSERT_TRUE(m.go(reads));
    EXPECT_EQ(m.variables(0, 2), (std::vector<int32_t>{0x82A0, 0, 'b'}));
    type(m.engine, {'c'});
    ASSERT_TRUE(m.go("    key_clear\n    key_read\n    end\n"));
    EXPECT_EQ(m.reg(1), 0);
    EXPECT_EQ(m.engine.shared.input.queues.char_write, 0);
    EXPECT_EQ(m.engine.shared.input.queues.char_queue[0], 0);
}

TEST(KeyWait, ReturnsTheFirstCharacterTypedAfterItStarts) {
    InputMachine m;
    type(m.engine, {'x'});
    m.platform.at(5, [&m] { type(m.engine, {'y', 'z'}); });
    ASSERT_TRUE(m.go("    key_wait\n    end\n"));
    EXPECT_EQ(m.reg(1), 'z');  // the last of the characters of one poll
    EXPECT_EQ(m.platform.now, 5u);
    m.platform.quit = true;
    ASSERT_TRUE(m.start("    key_wait\n    end\n"));
    EXPECT_EQ(m.run(), -1);
    EXPECT_EQ(m.error(0), "107 ");
}

TEST(KeyState, PacksSixteenKeysPerRegisterFirstKeyInBitFifteen) {
    InputMachine m;
    uint8_t* keys = m.engine.shared.input.queues.key_state;
    keys[0x00] = 0x80, keys[0x10] = 0x7F, keys[0x41] = 0x81, keys[0xFF] = 0xFF;
    ASSERT_TRUE(m.go("    key_state\n    end\n"));
    std::vector<int32_t> expected(16);
    expected[0] = 0x8000, expected[4] = 0x4000, expected[15] = 1;
    EXPECT_EQ(m.results(1, 16), expected);
}

TEST(MouseCommands, GetSetPosAndClipUseTheContentOffsetOnlyWhereTheyShould) {
    InputMachine m(centred_view);
    m.open(1, 0, 0, 100, 100);
    m.pointer(25, 47, 1);
    m.engine.shared.input.state.middle = 1;
    ASSERT_TRUE(
        m.go("  mouse_get\n  mouse_set_pos 300, 200\n  cursor_clip 10, 20, 110, 220\n"
             "  cursor_clip 0, 0, 0, 0\n  end\n"));
    // No hit test: R6 and R7 are 0.
    EXPECT_EQ(m.results(1, 8), (std::vector<int32_t>{5, 27, 0, 1, 0, 0, 0, 1}));
    ASSERT_EQ(m.platform.warps.size(), 1u);
    EXPECT_EQ(m.platform.warps[0], std::make_pair(300, 200));
    ASSERT_EQ(m.platform.confines.size(), 2u);
    ASSERT_TRUE(m.platform.confines[0].has_value());
    const Rect& clip = *m.platform.confines[0];
    EXPECT_EQ((std::vector<int32_t>{clip.left, clip.top, clip.right, clip.bottom}),
              (std::vector<int32_t>{30, 40, 130, 240}));
    EXPECT_FALSE(m.platform.confines[1].has_value());
    EXPECT_FALSE(m.engine.tracking.clip.set);
    m.platform.warp_ok = false;
    ASSERT_TRUE(m.go("    mouse_set_pos 1, 2\n    end\n"));
    EXPECT_EQ(m.error(0), "107 ");
}

// Window 1 at (100, 100), 40 x 30, button 5 at (10, 5) of 8 x 6, and a band
// of 4 pixels to drag it by.
struct ButtonWaitMachine : InputMachine {
    ButtonWaitMachine() {
        open(1, 100, 100, 40, 30).fwidth = 4;
        buttons(1, 7, 1)[0] = button(5, 0xFFFF, 10, 5, 8, 6);
    }
    void expect_results(int32_t window, int32_t id, int32_t left, int32_t x, int32_t y) {
        EXPECT_EQ(results(1, 6), (std::vector<int32_t>{window, id, left, x, y, 0}));
    }
};

TEST(BtnWait, ReportsTheClickedButtonAndADragIsNoClick) {
    ButtonWaitMachine m;
    m.at(3, 101, 101, 1);  // a drag by the band: window 1 moves to (110, 110)
    m.at(5, 111, 111, 1);
    m.at(7, 111, 111, 0);
    m.at(9, 125, 120, 1);
    m.at(11, 125, 120, 0);
    ASSERT_TRUE(m.go("    btn_wait -1, -1, 0\n    end\n"));
    EXPECT_EQ(m.win(1).px, 110);
    m.expect_results(1, 5, 1, 125, 120);

    m.at(20, 300, 300, 0, 1);
    m.at(22, 300, 300, 0, 0);
    ASSERT_TRUE(m.go("    btn_wait -1, -1, 0\n    end\n"));
    m.expect_results(0, 0, 255, 300, 300);
}

TEST(BtnWait, MaskMapsAnswerForTheirWindowsOnlyWhileItWaits) {
    ButtonWaitMachine m;
    ASSERT_TRUE(buf_new_raw(m.engine, 8, 160 * 120));
    buf_get_raw(m.engine, 8)[75 * 160 + 100] = 77;  // block (100, 75) of window 0
    ASSERT_TRUE(buf_new_raw(m.engine, 9, 10 * 8));
    buf_get_raw(m.engine, 9)[1 * 10 + 7] = 42;  // block (7, 1): pixels 28-31, 4-7
    m.at(3, 100 + 29, 100 + 6, 1);
    m.at(4, 100 + 29, 100 + 6, 0);
    ASSERT_TRUE(m.go("    btn_wait 8, -1, 0, [1, 9]\n    end\n"));
    m.expect_results(1, 42, 1, 129, 106);
    EXPECT_EQ(m.win(0).mask, -1);
    EXPECT_EQ(m.win(1).mask, -1);
    m.at(10, 400, 300, 1);
    m.at(11, 400, 300, 0);
    ASSERT_TRUE(m.go("    btn_wait 8, -1, 0, [1, 9]\n    end\n"));
    m.expect_results(0, 77, 1, 400, 300);
}

TEST(BtnWait, AMaskThatDoesNotFitIsAnErrorAndEarlierOnesStayAttached) {
    ButtonWaitMachine m;
    ASSERT_TRUE(buf_new_raw(m.engine, 9, 80));
    ASSERT_TRUE(buf_new_raw(m.engine, 10, 79));
    ASSERT_TRUE(
        m.go("  btn_wait -1, -1, 0, [1, 10]\n  btn_wait -1, -1, 0, [1, 9], [5, 9]\n"
             "  btn_wait 10, -1, 0\n  end\n"));
    EXPECT_EQ(m.all_errors(),
              (std::vector<std::string>{"119 win_no = 1, buf_no = 10", "119 win_no = 5, buf_no = 9",
                                        "119 win_no = 0, buf_no = 10"}));
    EXPECT_EQ(m.win(1).mask, -1);  // the last btn_wait detached it first
}

TEST(BtnWait, ACallbackSeesEachPollAndMayChooseTheAnswerAndRightReleasesAnswerRight) {
    ButtonWaitMachine m;
    m.scenario_buffer(12,
                      "    eval v3[0] += 1\n    jump_if v3[0] < 3, done\n"
                      "    str_to_num \"10030021\"\ndone:\n    end\n");
    m.pointer(115, 110);
    ASSERT_TRUE(m.go("    btn_wait -1, 12, 0\n    end\n"));
    EXPECT_EQ(m.var(3, 0), 3);
    // The callback's answer; R4 on as the callback saw them.
    EXPECT_EQ(m.results(1, 7), (std::vector<int32_t>{2, 3, 1, 115, 110, 0, 0}));

    // With a callback a right release answers right even after a left press.
    m.scenario_buffer(14, "    end\n");
    m.at(3, 300, 300, 0, 1);
    m.at(5, 300, 300, 1, 1);
    m.at(8, 300, 300, 1, 0);
    ASSERT_TRUE(m.go("    btn_wait -1, 14, 0\n    end\n"));
    m.expect_results(0, 0, 255, 300, 300);
    ASSERT_TRUE(m.go("    btn_wait -1, 13, 0\n    end\n"));
    EXPECT_EQ(m.error(0), "108 sub_buff = 13, entry = 0");
}

}  // namespace
}  // namespace qln::test
