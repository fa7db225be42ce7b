#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asm/assembler.h"
#include "engine/engine.h"
#include "input/cursor.h"
#include "input/timers.h"
#include "support/machine.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/input_script.h"
#include "platform/null/null_platform.h"
#include "run/run_loop.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"
#include "windows/window.h"

namespace qln {
namespace {

Scenario* make_scenario(Engine& engine, const char* source) {
    std::vector<uint8_t> image;
    AsmError error;
    EXPECT_TRUE(assemble(source, image, error)) << error.message;
    Scenario* s = scn_create(engine, image.data(), static_cast<uint32_t>(image.size()), "test", 0);
    EXPECT_NE(s, nullptr);
    return s;
}

// An engine with its tables, a running main scenario and one interval
// callback held in data buffer 3.
class CallbackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        engine.platform = platform.services();
        ASSERT_TRUE(tables_init(engine));
        main_scenario = make_scenario(engine, ".code\n  end\n");
        ASSERT_TRUE(scn_start(engine, main_scenario, true, true));
        result_set(engine, 1, 7);
        str_set(engine, 0, "kept");
    }

    void add_callback(const char* source, uint32_t interval_ms, uint32_t last_run) {
        Scenario* s = make_scenario(engine, source);
        const int32_t buf_no = 3 + int32_t(engine.timers.callbacks.size());
        DataBuffer* slot = buf_entry(engine, buf_no);
        ASSERT_NE(slot, nullptr);
        slot->type = BufType::Scenario;
        slot->size = 1;
        slot->scenario = s;
        platform.now = last_run;
        callback_add(engine, 1, buf_no, s, interval_ms);
        platform.now = 0;
        engine.timers.callbacks_enabled = true;
    }

    NullPlatform platform;
    Engine engine;
    Scenario* main_scenario = nullptr;
};

TEST_F(CallbackTest, ADueCallbackRunsWithTheCallbackBankAndTheStateComesBack) {
    add_callback(".code\n  eval v3[0] = v3[0] + 1\n  eval v3[1] = r[1]\n  scn_return 5\n", 100, 0);
    InputState snap;
    platform.now = 99;
    ASSERT_TRUE(poll(engine, snap));
    EXPECT_EQ(var_get(engine, 3, 0), 0);
    platform.now = 100;
    ASSERT_TRUE(poll(engine, snap));
    EXPECT_EQ(var_get(engine, 3, 0), 1);
    EXPECT_EQ(var_get(engine, 3, 1), 0);  // the callback saw its own bank
    EXPECT_EQ(result_get(engine, 1), 7);  // the interrupted command's results stay
    EXPECT_EQ(engine.tables.results_callback[1], 5);
    EXPECT_STREQ(str_get(engine, 0), "kept");
    EXPECT_EQ(engine.interp.current, main_scenario);
    EXPECT_FALSE(engine.timers.inside_callbacks);
    EXPECT_EQ(engine.timers.callbacks.front().last_run, 100u);
    // Not due again until another interval has passed.
    platform.now = 199;
    ASSERT_TRUE(poll(engine, snap));
    EXPECT_EQ(var_get(engine, 3, 0), 1);
}

TEST_F(CallbackTest, StringRegisterZeroComesBackWhateverItsLength) {
    add_callback(".code\n  str_let 0, \"set by the callback\"\n  end\n", 0, 0);
    InputState snap;
    for (const size_t length : {size_t(0), size_t(255), size_t(256), size_t(5000)}) {
        const std::string text(length, 'q');
        str_set(engine, 0, text.c_str());
        ASSERT_TRUE(poll(engine, snap));
        // An empty text is left as the callback left it.
        EXPECT_EQ(std::string(str_get(engine, 0)), length ? text : "set by the callback");
    }
}

TEST_F(CallbackTest, ElapsedTimeWrapsAroundTheTickCounter) {
    add_callback(".code\n  eval v3[0] = v3[0] + 1\n  end\n", 100, 0xFFFFFFF0u);
    InputState snap;
    platform.now = 0x53;  // 99 ms after the last run
    ASSERT_TRUE(poll(engine, snap));
    EXPECT_EQ(var_get(engine, 3, 0), 0);
    platform.now = 0x54;
    ASSERT_TRUE(poll(engine, snap));
    EXPECT_EQ(var_get(engine, 3, 0), 1);
}

TEST_F(CallbackTest, DisabledOrNestedCallbacksDoNotRun) {
    add_callback(".code\n  eval v3[0] = v3[0] + 1\n  end\n", 0, 0);
    InputState snap;
    engine.timers.callbacks_enabled = false;
    ASSERT_TRUE(poll(engine, snap));
    engine.timers.callbacks_enabled = true;
    engine.timers.inside_callbacks = true;
    ASSERT_TRUE(poll(engine, snap));
    EXPECT_EQ(var_get(engine, 3, 0), 0);
    engine.timers.inside_callbacks = false;
    ASSERT_TRUE(poll(engine, snap));
    EXPECT_EQ(var_get(engine, 3, 0), 1);
}

TEST_F(CallbackTest, NewestFirstEachToItsEnd) {
    add_callback(".code\n  eval v3[0] = v3[0] * 10 + 1\n  end\n", 0, 0);
    add_callback(".code\n  eval v3[0] = v3[0] * 10 + 2\n  end\n", 0, 0);
    InputState snap;
    ASSERT_TRUE(poll(engine, snap));
    EXPECT_EQ(var_get(engine, 3, 0), 21);
}

TEST_F(CallbackTest, AFailedCallbackFailsThePollAndLeavesTheStateRestored) {
    // 0x2A is no command: error -100, and the platform answers Stop.
    add_callback(".code\n  eval v3[0] = 1\n  .bytes 0x2A\n  end\n", 0, 0);
    InputState snap;
    EXPECT_FALSE(poll(engine, snap));
    ASSERT_EQ(platform.errors.size(), 1u);
    EXPECT_EQ(platform.errors[0].error_number, 100u);
    EXPECT_EQ(var_get(engine, 3, 0), 1);
    EXPECT_EQ(result_get(engine, 1), 7);
    EXPECT_STREQ(str_get(engine, 0), "kept");
    EXPECT_EQ(engine.interp.current, main_scenario);
    EXPECT_FALSE(engine.timers.inside_callbacks);
    EXPECT_FALSE(engine.timers.callbacks.front().scenario->in_use);
    // Callbacks keep running at later polls.
    platform.errors.clear();
    EXPECT_FALSE(poll(engine, snap));
    EXPECT_EQ(platform.errors.size(), 1u);
}

TEST_F(CallbackTest, ACallbackAlreadyActiveCannotStart) {
    add_callback(".code\n  end\n", 0, 0);
    engine.timers.callbacks.front().scenario->in_use = true;
    InputState snap;
    EXPECT_FALSE(poll(engine, snap));
    EXPECT_EQ(result_get(engine, 1), 7);
    EXPECT_EQ(engine.interp.current, main_scenario);
    engine.timers.callbacks.front().scenario->in_use = false;
}

TEST_F(CallbackTest, QuietTimeLastsUntilTheNextCallbackOrCursorFrame) {
    EXPECT_EQ(poll_quiet_ms(engine, 0, 100), 100u);
    add_callback(".code\n  end\n", 50, 0);
    EXPECT_EQ(poll_quiet_ms(engine, 20, 100), 30u);
    EXPECT_EQ(poll_quiet_ms(engine, 20, 10), 10u);
    EXPECT_EQ(poll_quiet_ms(engine, 50, 100), 0u);
    EXPECT_EQ(poll_quiet_ms(engine, 70, 100), 0u);  // overdue
    // Tick counts wrap around.
    engine.timers.callbacks.front().last_run = 0xFFFFFFF0u;
    EXPECT_EQ(poll_quiet_ms(engine, 5, 100), 29u);
    engine.timers.callbacks_enabled = false;
    EXPECT_EQ(poll_quiet_ms(engine, 5, 100), 100u);
    // The animated cursor's next frame.
    CursorState& cursor = engine.tracking.cursor;
    cursor.enabled = true;
    cursor_ticker_add(engine);
    cursor.last_change = 10;
    cursor.delay_ms = 40;
    EXPECT_EQ(poll_quiet_ms(engine, 30, 100), 20u);
    engine.timers.callbacks_enabled = true;
    engine.timers.callbacks.front().last_run = 0;
    EXPECT_EQ(poll_quiet_ms(engine, 30, 100), 20u);
    EXPECT_EQ(poll_quiet_ms(engine, 45, 100), 5u);
}

TEST_F(CallbackTest, AClickWaitSleepsUntilInputOrTheNextCallback) {
    InputState snap;
    platform.at(100, [this] { engine.shared.input.state.left = 1; });
    platform.at(101, [this] { engine.shared.input.state.left = 0; });
    EXPECT_EQ(wait_click_for(engine, snap), Click::Left);
    ASSERT_FALSE(platform.idle_waits.empty());
    for (uint32_t budget : platform.idle_waits) EXPECT_EQ(budget, kIdleWaitMaxMs);

    add_callback(".code\n  end\n", 30, 0);
    platform.now = 0;
    platform.idle_waits.clear();
    platform.at(100, [this] { engine.shared.input.state.left = 1; });
    platform.at(101, [this] { engine.shared.input.state.left = 0; });
    EXPECT_EQ(wait_click_for(engine, snap), Click::Left);
    // Each wait lasts until the callback is due again: it ran at 30, 60
    // and 90, and every budget counts down towards the next run.
    ASSERT_GE(platform.idle_waits.size(), 30u);
    EXPECT_EQ(platform.idle_waits[0], 30u);
    EXPECT_EQ(platform.idle_waits[1], 29u);
    EXPECT_EQ(engine.timers.callbacks.front().last_run, 90u);
    for (uint32_t budget : platform.idle_waits) EXPECT_LE(budget, 30u);
}

TEST(Poll, FailsOnceTheProgramMustEnd) {
    NullPlatform platform;
    Engine engine;
    engine.platform = platform.services();
    InputState snap;
    engine.shared.input.state.x = 12;
    EXPECT_TRUE(poll(engine, snap));
    EXPECT_EQ(snap.x, 12);
    platform.quit = true;
    EXPECT_FALSE(poll(engine, snap));
}

// wait_click on a headless platform whose script presses the buttons.
Click click_result(const char* events, uint32_t& ticks) {
    std::vector<ScriptEvent> parsed;
    ScriptError error;
    EXPECT_TRUE(input_script_parse(events, parsed, error));
    HeadlessOptions o;
    o.events = parsed;
    HeadlessPlatform platform(o);
    Engine engine;
    platform.attach(engine.shared);
    engine.platform = platform.services();
    platform.deliver_due();
    InputState snap;
    const Click click = wait_click_for(engine, snap);
    ticks = platform.ticks();
    return click;
}

TEST(WaitClick, LeftRightHeldButtonsAndFailure) {
    struct Case {
        const char* events;
        Click click;
        uint32_t ticks;
    };
    const Case cases[] = {
        {"5 down left\n8 up left\n", Click::Left, 8},
        {"5 click right 1 1\n", Click::Right, 55},
        // The left button went down while the right one was held.
        {"2 down right\n4 down left\n6 up right\n", Click::Left, 6},
        // A button held as the wait starts counts as pressed.
        {"0 down left\n3 up left\n", Click::Left, 3},
        // A closed window ends the wait: no click at all.
        {"4 down left\n5 close\n", Click::Failed, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.events);
        uint32_t ticks = 0;
        EXPECT_EQ(click_result(c.events, ticks), c.click);
        EXPECT_EQ(ticks, c.ticks);
    }
}

TEST(WaitClick, ADragOfAWindowIsNoClick) {
    test::ScriptedMachine m(
        "5 move 101 101\n10 down left\n20 move 150 150\n30 up left\n40 click right 300 300\n");
    Window templ;
    templ.px = 100;
    templ.py = 100;
    templ.fwidth = 8;
    ASSERT_TRUE(win_open(m.engine, 1, 50, 50, templ));
    ASSERT_TRUE(win_show(m.engine, 1, true));
    InputState snap;
    EXPECT_EQ(wait_click_for(m.engine, snap), Click::Right);
    EXPECT_EQ(m.now(), 90u);  // the right button's release
    EXPECT_EQ(m.engine.windows.records[1].px, 149);
    EXPECT_EQ(m.engine.windows.records[1].py, 149);
}

}  // namespace
}  // namespace qln
