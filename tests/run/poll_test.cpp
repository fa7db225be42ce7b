// The poll step's interval callbacks and quiet time, and the click wait.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/cursor.h"
#include "input/timers.h"
#include "support/machine.h"
#include "windows/window.h"

namespace qln {
namespace {

// A running main scenario with results and string register 0 set, and
// interval callbacks held in data buffers 3, 4, ...
struct Callbacks : test::Machine {
    Callbacks() {
        EXPECT_TRUE(start(".code\n  end\n"));
        main_scenario = engine.interp.current;
        result_set(engine, 1, 7);
        str_set(engine, 0, "kept");
    }
    void add(const char* source, uint32_t interval_ms, uint32_t last_run = 0) {
        Scenario* s = load(source);
        const int32_t buf_no = 3 + int32_t(engine.timers.callbacks.size());
        DataBuffer* slot = buf_entry(engine, buf_no);
        ASSERT_TRUE(s && slot);
        slot->type = BufType::Scenario;
        slot->size = 1;
        slot->scenario = s;
        platform.now = last_run;
        callback_add(engine, 1, buf_no, s, interval_ms);
        platform.now = 0;
        engine.timers.callbacks_enabled = true;
    }
    bool poll_at(uint32_t now) {
        platform.now = now;
        return poll(engine, snap);
    }
    // The interrupted run's state is as before.
    void expect_restored() {
        EXPECT_EQ(reg(1), 7);
        EXPECT_EQ(str(0), "kept");
        EXPECT_EQ(engine.interp.current, main_scenario);
        EXPECT_FALSE(engine.timers.inside_callbacks);
    }
    Scenario* main_scenario = nullptr;
    InputState snap;
};

TEST(Callbacks, ADueCallbackRunsWithTheCallbackBankAndTheStateComesBack) {
    for (const uint32_t last_run : {0u, 0xFFFFFFF0u}) {  // elapsed time wraps
        SCOPED_TRACE(last_run);
        Callbacks m;
        m.add(".code\n  eval v3[0] += 1\n  eval v3[1] = r[1]\n  scn_return 5\n", 100, last_run);
        ASSERT_TRUE(m.poll_at(last_run + 99));
        EXPECT_EQ(m.var(3, 0), 0);
        ASSERT_TRUE(m.poll_at(last_run + 100));
        EXPECT_EQ(m.var(3, 0), 1);
        EXPECT_EQ(m.var(3, 1), 0);  // the callback saw its own bank
        EXPECT_EQ(m.engine.tables.results_callback[1], 5);
        m.expect_restored();
        EXPECT_EQ(m.engine.timers.callbacks.front().last_run, last_run + 100);
        ASSERT_TRUE(m.poll_at(last_run + 199));  // not due again yet
        EXPECT_EQ(m.var(3, 0), 1);
    }
}

TEST(Callbacks, StringRegisterZeroComesBackWhateverItsLength) {
    Callbacks m;
    m.add(".code\n  str_let 0, \"set by the callback\"\n  end\n", 0);
    for (const size_t length : {size_t(0), size_t(255), size_t(256), size_t(5000)}) {
        const std::string text(length, 'q');
        str_set(m.engine, 0, text.c_str());
        ASSERT_TRUE(m.poll_at(0));
        // An empty text is left as the callback left it.
        EXPECT_EQ(m.str(0), length ? text : "set by the callback");
    }
}

TEST(Callbacks, TheNewestRunsFirstEachOnceToItsEnd) {
    Callbacks m;
    m.add(".code\n  eval v3[0] = v3[0] * 10 + 1\n  end\n", 0);
    m.add(".code\n  eval v3[0] = v3[0] * 10 + 2\n  end\n", 0);
    ASSERT_TRUE(m.poll_at(0));
    EXPECT_EQ(m.var(3, 0), 21);
}

TEST(Callbacks, AFailedOrAlreadyActiveCallbackFailsThePollAndLeavesTheStateRestored) {
    Callbacks m;
    // 0x2A is no command: error -100, and the platform answers Stop.
    m.add(".code\n  eval v3[0] = 1\n  .bytes 0x2A\n  end\n", 0);
    EXPECT_FALSE(m.poll_at(0));
    ASSERT_EQ(m.platform.errors.size(), 1u);
    EXPECT_EQ(m.platform.errors[0].error_number, 100u);
    EXPECT_EQ(m.var(3, 0), 1);
    m.expect_restored();
    Scenario* callback = m.engine.timers.callbacks.front().scenario;
    EXPECT_FALSE(callback->in_use);
    EXPECT_FALSE(m.poll_at(0));  // it keeps running at later polls
    EXPECT_EQ(m.platform.errors.size(), 2u);

    callback->in_use = true;
    EXPECT_FALSE(m.poll_at(0));
    EXPECT_EQ(m.platform.errors.size(), 2u);
    m.expect_restored();
    callback->in_use = false;
}

TEST(Callbacks, QuietTimeLastsUntilTheNextCallbackOrCursorFrame) {
    Callbacks m;
    Engine& e = m.engine;
    EXPECT_EQ(poll_quiet_ms(e, 0, 100), 100u);
    m.add(".code\n  end\n", 50);
    EXPECT_EQ(poll_quiet_ms(e, 20, 100), 30u);
    EXPECT_EQ(poll_quiet_ms(e, 20, 10), 10u);
    EXPECT_EQ(poll_quiet_ms(e, 50, 100), 0u);
    EXPECT_EQ(poll_quiet_ms(e, 70, 100), 0u);  // overdue
    e.timers.callbacks.front().last_run = 0xFFFFFFF0u;
    EXPECT_EQ(poll_quiet_ms(e, 5, 100), 29u);
    e.timers.callbacks_enabled = false;
    EXPECT_EQ(poll_quiet_ms(e, 5, 100), 100u);
    // The animated cursor's next frame.
    CursorState& cursor = e.tracking.cursor;
    cursor.enabled = true;
    cursor_ticker_add(e);
    cursor.last_change = 10;
    cursor.delay_ms = 40;
    EXPECT_EQ(poll_quiet_ms(e, 30, 100), 20u);
    e.timers.callbacks_enabled = true;
    e.timers.callbacks.front().last_run = 0;
    EXPECT_EQ(poll_quiet_ms(e, 30, 100), 20u);
    EXPECT_EQ(poll_quiet_ms(e, 45, 100), 5u);
}

TEST(Callbacks, AClickWaitSleepsUntilInputOrTheNextCallback) {
    Callbacks m;
    const auto click_at_100 = [&m] {
        m.platform.now = 0;
        m.platform.idle_waits.clear();
        m.platform.at(100, [&m] { m.engine.shared.input.state.left = 1; });
        m.platform.at(101, [&m] { m.engine.shared.input.state.left = 0; });
        EXPECT_EQ(wait_click_for(m.engine, m.snap), Click::Left);
    };
    click_at_100();
    ASSERT_FALSE(m.platform.idle_waits.empty());
    for (uint32_t budget : m.platform.idle_waits) {
        EXPECT_EQ(budget, kIdleWaitMaxMs);
    }

    m.add(".code\n  end\n", 30);
    click_at_100();
    // The callback ran at 30, 60 and 90; every budget counts down to its next run.
    ASSERT_GE(m.platform.idle_waits.size(), 30u);
    EXPECT_EQ(m.platform.idle_waits[0], 30u);
    EXPECT_EQ(m.platform.idle_waits[1], 29u);
    EXPECT_EQ(m.engine.timers.callbacks.front().last_run, 90u);
    for (uint32_t budget : m.platform.idle_waits) {
        EXPECT_LE(budget, 30u);
    }
}

TEST(WaitClick, LeftRightHeldButtonsAndFailure) {
    const struct {
        const char* events;
        Click click;
        uint32_t ticks;
    } cases[] = {
        {"5 down left\n8 up left\n", Click::Left, 8},
        {"5 click right 1 1\n", Click::Right, 55},
        // The left button went down while the right one was held.
        {"2 down right\n4 down left\n6 up right\n", Click::Left, 6},
        // A button held as the wait starts counts as pressed.
        {"0 down left\n3 up left\n", Click::Left, 3},
        // A closed window ends the wait: no click at all.
        {"4 down left\n5 close\n", Click::Failed, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.events);
        test::ScriptedMachine m(c.events);
        m.platform.deliver_due();
        InputState snap;
        EXPECT_EQ(wait_click_for(m.engine, snap), c.click);
        EXPECT_EQ(m.now(), c.ticks);
    }
}

TEST(WaitClick, ADragOfAWindowIsNoClick) {
    test::ScriptedMachine m(
        "5 move 101 101\n10 down left\n20 move 150 150\n30 up left\n40 click right 300 300\n");
    Window templ;
    templ.px = templ.py = 100;
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
