// wait, clock_wait, the stopwatch and the interval-callback commands, run as
// scenarios on a virtual clock with scripted mouse input.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/machine.h"

namespace qln {
namespace {

using test::ScriptedMachine;

// Starts source and runs it to its end.
void run_to_end(ScriptedMachine& m, const std::string& source) {
    ASSERT_TRUE(m.start(source));
    EXPECT_EQ(m.run(), kResultEndAll);
}

TEST(WaitCommand, EndsOnTimeOrOnAButtonThatIsDown) {
    const struct {
        const char* name;
        const char* command;
        const char* script;
        int32_t r1, end_ms;
        uint32_t clock_start = 0;
    } cases[] = {
        {"right press ends early", "wait 100, 1", "300 down right\n", 255, 300},
        {"left press ends early", "wait 100, 1", "42 down left\n", 1, 45},
        {"no press", "wait 100, 1", "", 0, 1000},
        {"held at the start", "wait 100, 1", "0 down left\n", 1, 5},
        {"presses ignored without click", "wait 100, 0", "300 down right\n", 0, 1000},
        {"time reached before the press counts", "wait 100, 1", "996 down left\n", 0, 1000},
        {"time 0 makes one pass", "wait 0, 1", "", 0, 5},
        {"negative time makes one pass", "wait -3, 1", "", 0, 5},
        {"clock_wait counts from the start", "wait 10, 0\n  clock_wait 30, 0", "", 0, 300},
        {"clock_wait with a right press", "clock_wait 50, 1", "120 down right\n", 255, 120},
        {"the counter wraps 256 ms into the run", "wait 100, 1", "", 0, 1000, 0xFFFFFF00u},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedMachine m(c.script, c.clock_start);
        // v3[1] = the command's R1, v3[2] = ms from the start to its end.
        run_to_end(m, std::string(".code\n  ") + c.command +
                          "\n  eval v3[1] = r[1]\n  clock_get\n  eval v3[2] = r[1]\n  end\n");
        EXPECT_EQ(m.var(3, 1), c.r1);
        EXPECT_EQ(m.var(3, 2), c.end_ms);
        EXPECT_EQ(m.now(), c.clock_start + uint32_t(c.end_ms));
        EXPECT_TRUE(m.errors().empty());
    }
}

TEST(WaitCommand, AClosedWindowEndsTheWaitWithAnError) {
    ScriptedMachine m("50 close\n");
    ASSERT_TRUE(m.start(".code\n  wait 100, 0\n  end\n"));
    EXPECT_EQ(m.run(), -107);
    EXPECT_EQ(m.engine.interp.error.error_number, 107u);
    EXPECT_TRUE(m.errors().empty());  // no window left to ask: no dialog
    EXPECT_EQ(m.now(), 50u);
}

// Callback buffers: 5 counts in v3[0], 6 counts in v3[1].
void load_counters(ScriptedMachine& m) {
    ASSERT_TRUE(m.load_buffer(5, ".code\n  eval v3[0] += 1\n  end\n"));
    ASSERT_TRUE(m.load_buffer(6, ".code\n  eval v3[1] += 1\n  end\n"));
}

TEST(TickCommands, RecordsWithOneIdAllRunAndAreAllRemoved) {
    ScriptedMachine m;
    load_counters(m);
    run_to_end(m,
               ".code\n  tick_set 1, 5, 1\n  tick_set 1, 5, 1\n  tick_set 2, 6, 1\n  tick_on\n"
               "  wait 10, 0\n  eval v3[10] = v3[0]\n  eval v3[11] = v3[1]\n"
               "  tick_set 1, -1, 0\n  wait 10, 0\n  end\n");
    EXPECT_EQ(m.var(3, 10), 20);  // both records of id 1, every 10 ms
    EXPECT_EQ(m.var(3, 11), 10);
    EXPECT_EQ(m.var(3, 0), 20);
    EXPECT_EQ(m.var(3, 1), 20);  // id 2 kept running
    ASSERT_EQ(m.engine.timers.callbacks.size(), 1u);
    EXPECT_EQ(m.engine.timers.callbacks.front().id, 2);
}

TEST(TickCommands, DisabledCallbacksKeepTheirRecordsAndRunWhenOverdue) {
    ScriptedMachine m;
    load_counters(m);
    run_to_end(m,
               ".code\n  tick_set 1, 5, 10\n  tick_on\n  tick_off\n  wait 25, 0\n"
               "  eval v3[10] = v3[0]\n  tick_on\n  eval v3[11] = v3[0]\n  end\n");
    EXPECT_EQ(m.var(3, 10), 0);
    EXPECT_EQ(m.var(3, 11), 1);  // the poll after tick_on
    EXPECT_EQ(m.engine.timers.callbacks.front().last_run, 250u);
}

TEST(TickCommands, ACallbackThatWaitsStartsNoOtherCallbacks) {
    ScriptedMachine m;
    // Buffer 5 waits 50 ms with v3[9] set; buffer 6 counts, and counts in
    // v3[2] what it ran during that wait.
    ASSERT_TRUE(m.load_buffer(5,
                              ".code\n  eval v3[9] = 1\n  wait 5, 0\n  eval v3[9] = 0\n"
                              "  eval v3[0] += 1\n  end\n"));
    ASSERT_TRUE(m.load_buffer(6, ".code\n  eval v3[1] += 1\n  eval v3[2] += v3[9]\n  end\n"));
    run_to_end(m,
               ".code\n  tick_set 1, 5, 1\n  tick_set 2, 6, 1\n  tick_on\n  wait 20, 0\n  end\n");
    EXPECT_GT(m.var(3, 0), 0);
    EXPECT_GT(m.var(3, 1), 0);
    EXPECT_EQ(m.var(3, 2), 0);
}

TEST(TickCommands, AFreedOrReplacedCallbackBufferIsNeverRun) {
    ScriptedMachine m;
    load_counters(m);
    run_to_end(m,
               ".code\n  tick_set 1, 5, 1\n  tick_set 2, 6, 1\n  tick_on\n  buf_release 5\n"
               "  wait 5, 0\n  end\n");
    EXPECT_EQ(m.var(3, 0), 0);
    EXPECT_EQ(m.var(3, 1), 5);
    ASSERT_EQ(m.engine.timers.callbacks.size(), 1u);  // the freed one is dropped

    // A buffer loaded again holds another scenario object.
    ScriptedMachine again;
    load_counters(again);
    ASSERT_TRUE(again.start(".code\n  tick_set 3, 6, 1\n  tick_on\n  wait 2, 0\n  end\n"));
    EXPECT_EQ(again.run(2), 1);
    ASSERT_TRUE(again.load_buffer(6, ".code\n  eval v3[3] += 1\n  end\n"));
    EXPECT_EQ(again.run(), kResultEndAll);
    EXPECT_EQ(again.var(3, 1), 0);
    EXPECT_EQ(again.var(3, 3), 0);
    EXPECT_TRUE(again.engine.timers.callbacks.empty());
}

TEST(TickCommands, ACallbackMayRemoveRecordsWhileTheyAreWalked) {
    ScriptedMachine m;
    // The newest record of id 1 removes both; the older one must not run.
    ASSERT_TRUE(m.load_buffer(
        5, ".code\n  eval v3[0] += 1\n  tick_set 1, -1, -1\n  tick_set 4, 6, 1\n  end\n"));
    ASSERT_TRUE(m.load_buffer(6, ".code\n  eval v3[1] += 1\n  end\n"));
    run_to_end(m,
               ".code\n  tick_set 2, 6, 1\n  tick_set 1, 5, 1\n  tick_set 1, 5, 1\n  tick_on\n"
               "  wait 1, 0\n  eval v3[10] = v3[1]\n  wait 1, 0\n  end\n");
    EXPECT_EQ(m.var(3, 0), 1);
    EXPECT_EQ(m.var(3, 10), 1);  // id 2 still ran in the same walk
    EXPECT_EQ(m.var(3, 1), 3);   // then id 2 and the new id 4
    ASSERT_EQ(m.engine.timers.callbacks.size(), 2u);
    EXPECT_EQ(m.engine.timers.callbacks.front().id, 4);
}

TEST(TickCommands, ErrorsAndFailures) {
    ScriptedMachine raw;  // a buffer without a scenario
    ASSERT_TRUE(raw.start(".code\n  buf_alloc 5, 16\n  tick_set 1, 5, 1\n  end\n"));
    EXPECT_EQ(raw.run(), -107);
    EXPECT_EQ(raw.errors(), std::vector<std::string>{"107"});
    EXPECT_TRUE(raw.engine.timers.callbacks.empty());

    // A callback that stops with an error ends the waiting command with -107;
    // the results, string register 0 and the chain are as before.
    ScriptedMachine failing;
    ASSERT_TRUE(failing.load_buffer(5, ".code\n  str_let 0, \"callback\"\n  .bytes 0x2A\n  end\n"));
    ASSERT_TRUE(failing.start(
        ".code\n  str_let 0, \"main\"\n  tick_set 1, 5, 1\n  tick_on\n  wait 10, 0\n  end\n"));
    EXPECT_EQ(failing.run(), -107);
    EXPECT_EQ(failing.errors(), (std::vector<std::string>{"100", "107"}));
    EXPECT_EQ(failing.now(), 10u);
    EXPECT_EQ(failing.engine.tables.results, failing.engine.tables.results_normal.data());
    EXPECT_EQ(failing.str(0), "main");
    EXPECT_FALSE(failing.engine.timers.inside_callbacks);
}

}  // namespace
}  // namespace qln
