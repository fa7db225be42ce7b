// The interpreter core: dispatch, errors and Continue, the call stack, the
// result-code convention and the poll step after each command.

#include <gtest/gtest.h>

#include "input/timers.h"
#include "support/machine.h"

namespace qln::test {
namespace {

TEST(Dispatch, UnassignedBytesReportAndContinueWithTheNextByte) {
    Machine m;
    m.platform.stop_on_error = false;
    ASSERT_TRUE(m.start(R"(
    .bytes 0x0F
    .bytes 0x42
    .bytes 0xFE
    eval v3[0] = 5
    end
)"));
    EXPECT_EQ(m.run(), kResultEndAll);
    ASSERT_EQ(m.platform.errors.size(), 3u);
    EXPECT_EQ(m.platform.errors[0].command, 0x0Fu);
    EXPECT_EQ(m.platform.errors[1].command, 0x42u);
    EXPECT_EQ(m.platform.errors[2].command, 0xFEu);
    EXPECT_EQ(m.platform.errors[0].error_number, 100u);
    EXPECT_STREQ(m.platform.errors[0].detail, "");
    EXPECT_EQ(m.var(3, 0), 5);
}

TEST(Dispatch, StopEndsTheRunWithTheErrorCode) {
    Machine m;
    ASSERT_TRUE(m.start(R"(
    return 1
    eval v3[0] = 5
    end
)"));
    EXPECT_EQ(m.run(), -104);
    EXPECT_EQ(m.platform.errors.size(), 1u);
    EXPECT_EQ(m.var(3, 0), 0);
}

TEST(Dispatch, ContinueAfterAFailedCommandLandsAfterItsOperands) {
    Machine m;
    m.platform.stop_on_error = false;
    // return reads its operand (with its assignment) before it fails.
    ASSERT_TRUE(m.start(R"(
    return v3[1] = 7
    eval v3[0] = 5
    end
)"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.platform.errors.size(), 1u);
    EXPECT_EQ(m.platform.errors[0].error_number, 104u);
    EXPECT_EQ(m.var(3, 1), 7);
    EXPECT_EQ(m.var(3, 0), 5);
    EXPECT_EQ(m.reg(1), 7);  // R1 is set before the pop fails
}

TEST(Dispatch, RunningOffTheImageMeetsTheEndCommand) {
    Machine m;
    ASSERT_TRUE(m.start("    eval v3[0] = 1\n.strtab_offset 13\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(3, 0), 1);
    EXPECT_TRUE(m.platform.errors.empty());
}

TEST(Dispatch, QuitRequestFailsThePollStep) {
    Machine m;
    ASSERT_TRUE(m.start("loop: jump loop\n"));
    m.platform.quit = true;
    EXPECT_EQ(m.run(), -1);
}

TEST(CallStack, FifteenNestedCallsSucceedAndTheSixteenthFails) {
    Machine m;
    ASSERT_TRUE(m.start(R"(
deeper:
    eval v3[0] += 1
    call deeper
    end
)"));
    EXPECT_EQ(m.run(), -101);
    EXPECT_EQ(m.var(3, 0), 16);
    EXPECT_EQ(m.engine.interp.current->call_depth, 15);
}

TEST(CallStack, CallDepthFollowsTheSetting) {
    Machine m([](Settings& s) { s.max_call_depth = 3; });
    ASSERT_TRUE(m.start(R"(
deeper:
    eval v3[0] += 1
    call deeper
)"));
    EXPECT_EQ(m.run(), -101);
    EXPECT_EQ(m.var(3, 0), 3);
}

TEST(CallStack, ArgumentsAndReturnValueTravelInResultRegisters) {
    Machine m;
    ASSERT_TRUE(m.start(R"(
    call_args 1, 2, 3, 4, sum
    eval v3[0] = r[1]
    call_if 0, sum, v3[1] = 11, 12, 13, 14
    eval v3[2] = r[2]
    call_if 1, sum, 10, 20, 30, 40
    eval v3[3] = r[1]
    end
sum:
    return r[1] + r[2] + r[3] + r[4]
)"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(3, 0), 10);
    EXPECT_EQ(m.var(3, 1), 11);  // the skipped call still evaluated its operands
    EXPECT_EQ(m.var(3, 2), 2);   // but left R2 as it was
    EXPECT_EQ(m.var(3, 3), 100);
}

TEST(CallStack, CallWaitRunsASubroutineToItsReturn) {
    Machine m;
    ASSERT_TRUE(m.start(R"(
    end
sub:
    eval v3[0] = 9
    return 0
)"));
    Scenario* s = m.engine.interp.current;
    const uint16_t sub = static_cast<uint16_t>(s->entry_offset + 1);
    EXPECT_EQ(call_wait(m.engine, sub), 0);
    EXPECT_EQ(m.var(3, 0), 9);
    EXPECT_EQ(s->call_depth, 0);
    EXPECT_EQ(s->pc, s->entry_offset);
}

TEST(CallStack, AFailedCallWaitReturnsToItsCallerAfterTheCommand) {
    Machine m;
    ASSERT_TRUE(m.start(R"(
    end
sub:
    return 1
    .bytes 0x0F
)"));
    Scenario* s = m.engine.interp.current;
    const uint16_t sub = static_cast<uint16_t>(s->entry_offset + 1);
    // The unassigned byte after the first return fails: Stop.
    EXPECT_EQ(call_wait(m.engine, sub), 0);
    EXPECT_EQ(call_wait(m.engine, static_cast<uint16_t>(sub + 4)), -1);
    EXPECT_EQ(m.engine.interp.current, s);
    EXPECT_EQ(s->call_depth, 0);
    EXPECT_EQ(s->pc, s->entry_offset);
}

TEST(Invoke, AFailedCallbackLeavesTheChainAsItWas) {
    Machine m;
    Scenario* callback = m.load("    eval v3[0] = 1\n    return 0\n    end\n", "cb");
    ASSERT_NE(callback, nullptr);
    DataBuffer* slot = buf_entry(m.engine, 2);
    slot->type = BufType::Scenario;
    slot->size = 1;
    slot->scenario = callback;
    ASSERT_TRUE(m.start("    end\n"));
    Scenario* caller = m.engine.interp.current;
    EXPECT_FALSE(scn_invoke(m.engine, 2, 0));
    EXPECT_EQ(m.var(3, 0), 1);
    EXPECT_EQ(m.engine.interp.current, caller);
    EXPECT_FALSE(callback->in_use);
    EXPECT_FALSE(scn_invoke(m.engine, 3, 0));  // no scenario in that buffer
    EXPECT_FALSE(scn_invoke(m.engine, 2, 5));  // no plug-in library there
}

TEST(Results, ControlResultsStopWithoutADialog) {
    Machine m;
    ASSERT_TRUE(m.start("    scn_return 3\n    eval v3[0] = 1\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.reg(1), 3);
    EXPECT_TRUE(m.platform.errors.empty());
    EXPECT_EQ(m.var(3, 0), 0);
    EXPECT_EQ(m.engine.interp.current, nullptr);
}

TEST(Operands, StringRegisterOperandsReadTheRegisterOrNothing) {
    Machine m;
    ASSERT_TRUE(m.start(R"(
    str_let 3, "three"
    str_let 4, s[3]
    str_let 5, s[100000]
    str_cat 5, "x"
    end
)"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.str(4), "three");
    EXPECT_EQ(m.str(5), "x");  // a register out of range reads as ""
}

TEST(Operands, EveryNestedLevelKeepsItsOwnList) {
    // A jump table whose index expression is fine, run from a callback level
    // and from the top level, must each jump by its own list.
    Machine m;
    ASSERT_TRUE(m.start(R"(
    jump_table 1, 1, a, b
a:  end
b:  eval v3[0] = 2
    jump_table 0, 1, c
    end
c:  eval v3[1] = 3
    end
)"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(3, 0), 2);
    EXPECT_EQ(m.var(3, 1), 3);
}

TEST(PollStep, IntervalCallbackRunsBetweenTwoCommands) {
    Machine m;
    Scenario* callback = m.load("    eval v3[9] += 1\n    end\n", "tick");
    ASSERT_NE(callback, nullptr);
    DataBuffer* slot = buf_entry(m.engine, 4);
    ASSERT_NE(slot, nullptr);
    slot->type = BufType::Scenario;
    slot->size = 1;
    slot->scenario = callback;
    callback_add(m.engine, 1, 4, callback, 0);
    m.engine.timers.callbacks_enabled = true;
    ASSERT_TRUE(m.start(R"(
    eval v3[0] = 1
    eval v3[0] = 2
    end
)"));
    ASSERT_EQ(scn_step(m.engine), 0);
    EXPECT_GE(m.var(3, 9), 1);
    const int32_t after_first = m.var(3, 9);
    ASSERT_EQ(scn_step(m.engine), 0);
    EXPECT_EQ(m.var(3, 9), after_first + 1);
    EXPECT_EQ(m.var(3, 0), 2);
    EXPECT_FALSE(callback->in_use);
}

}  // namespace
}  // namespace qln::test
