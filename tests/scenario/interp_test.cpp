// The interpreter core: dispatch, errors and Continue, the call stack, the
// result-code convention, the poll step after each command, and the error
// report's lookups in the command-names and error-messages files.

#include <gtest/gtest.h>

#include <string>

#include "input/timers.h"
#include "support/machine.h"
#include "support/temp_dir.h"

namespace qln::test {
namespace {

TEST(Dispatch, UnassignedBytesAndFailuresReportAndContinueAfterTheirOperands) {
    Machine m;
    m.platform.stop_on_error = false;
    // return reads its operand (with its assignment) before it fails.
    ASSERT_TRUE(m.start(R"(
    .bytes 0x0F
    .bytes 0x42
    .bytes 0xFE
    return v3[1] = 7
    eval v3[0] = 5
    end
)"));
    EXPECT_EQ(m.run(), kResultEndAll);
    const auto& e = m.platform.errors;
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].command, 0x0Fu);
    EXPECT_EQ(e[1].command, 0x42u);
    EXPECT_EQ(e[2].command, 0xFEu);
    EXPECT_EQ(e[0].error_number, 100u);
    EXPECT_STREQ(e[0].detail, "");
    EXPECT_EQ(e[3].error_number, 104u);
    EXPECT_EQ(m.var(3, 1), 7);
    EXPECT_EQ(m.reg(1), 7);  // R1 is set before the pop fails
    EXPECT_EQ(m.var(3, 0), 5);
}

TEST(Dispatch, StopEndsTheRunWithTheErrorCode) {
    Machine m;
    ASSERT_TRUE(m.start("    return 1\n    eval v3[0] = 5\n    end\n"));
    EXPECT_EQ(m.run(), -104);
    EXPECT_EQ(m.platform.errors.size(), 1u);
    EXPECT_EQ(m.var(3, 0), 0);
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

TEST(Results, ControlResultsStopWithoutADialog) {
    Machine m;
    ASSERT_TRUE(m.start("    scn_return 3\n    eval v3[0] = 1\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.reg(1), 3);
    EXPECT_TRUE(m.platform.errors.empty());
    EXPECT_EQ(m.var(3, 0), 0);
    EXPECT_EQ(m.engine.interp.current, nullptr);
}

TEST(CallStack, NestedCallsFailOneBelowTheDepthSetting) {
    // The default depth is 16: fifteen nested calls succeed, the sixteenth fails.
    for (int depth : {16, 3}) {
        SCOPED_TRACE(depth);
        void (*three)(Settings&) = [](Settings& s) { s.max_call_depth = 3; };
        Machine m(depth == 3 ? three : nullptr);
        ASSERT_TRUE(m.start("deeper:\n    eval v3[0] += 1\n    call deeper\n    end\n"));
        EXPECT_EQ(m.run(), -101);
        EXPECT_EQ(m.var(3, 0), depth);
        EXPECT_EQ(m.engine.interp.current->call_depth, depth - 1);
    }
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

TEST(CallStack, CallWaitRunsASubroutineToItsReturnOrFailure) {
    Machine m;
    ASSERT_TRUE(m.start(R"(
    end
sub:
    eval v3[0] = 9
    return 0
    .bytes 0x0F
)"));
    Scenario* s = m.engine.interp.current;
    const uint16_t sub = uint16_t(s->entry_offset + 1);
    EXPECT_EQ(call_wait(m.engine, sub), 0);
    EXPECT_EQ(m.var(3, 0), 9);
    EXPECT_EQ(s->call_depth, 0);
    EXPECT_EQ(s->pc, s->entry_offset);
    // From the return on: the unassigned byte after it fails, a Stop.
    const uint16_t ret = uint16_t(sub + 8);
    EXPECT_EQ(call_wait(m.engine, uint16_t(ret + 4)), -1);
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
    // An interval callback runs between two commands of the scenario.
    callback = m.load("    eval v3[9] += 1\n    end\n", "tick");
    ASSERT_NE(callback, nullptr);
    DataBuffer* tick_slot = buf_entry(m.engine, 4);
    tick_slot->type = BufType::Scenario;
    tick_slot->size = 1;
    tick_slot->scenario = callback;
    callback_add(m.engine, 1, 4, callback, 0);
    m.engine.timers.callbacks_enabled = true;
    ASSERT_TRUE(m.start("    eval v3[0] = 1\n    eval v3[0] = 2\n    end\n"));
    ASSERT_EQ(scn_step(m.engine), 0);
    const int32_t after_first = m.var(3, 9);
    EXPECT_GE(after_first, 1);
    ASSERT_EQ(scn_step(m.engine), 0);
    EXPECT_EQ(m.var(3, 9), after_first + 1);
    EXPECT_EQ(m.var(3, 0), 2);
    EXPECT_FALSE(callback->in_use);
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

std::vector<uint8_t> bytes(std::string_view s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}

TEST(ErrorReport, LooksUpNameAndTextInTheirFilesOrLeavesThemAsTheyWere) {
    TempDir dir;
    const std::string names = dir.write("names.txt", bytes("0A WRONG\r\n07,\tret\r\n0f conf\r\n"));
    // The last line without CRLF.
    const std::string messages = dir.write("errors.txt", bytes("100 nope\r\n104 no call"));
    Machine m;
    settings_copy_text(m.engine.settings.command_names_file.name, kPathMax, names.c_str());
    settings_copy_text(m.engine.settings.error_messages_file.name, kPathMax, messages.c_str());
    m.platform.stop_on_error = false;
    ASSERT_TRUE(m.start("    return 0\n    .bytes 0x0F\n    end\n"));
    m.run();
    const auto& e = m.platform.errors;
    ASSERT_EQ(e.size(), 2u);
    EXPECT_STREQ(e[0].command_name, "ret");
    EXPECT_STREQ(e[0].error_text, "no call");
    // 0x0f matches the lower-case line; 0x0F has no command, so error 100.
    EXPECT_STREQ(e[1].command_name, "conf");
    EXPECT_STREQ(e[1].error_text, "nope");

    Settings& s = m.engine.settings;
    settings_copy_text(s.command_names_file.name, kPathMax, "/nonexistent/n");
    settings_copy_text(s.error_messages_file.name, kPathMax, "/nonexistent/e");
    settings_copy_text(m.engine.interp.error.command_name, 256, "before");
    EXPECT_EQ(err_report(m.engine, -117, "index = %d", 3), -117);
    EXPECT_STREQ(m.engine.interp.error.command_name, "before");
    EXPECT_STREQ(m.engine.interp.error.error_text, "nope");
    EXPECT_STREQ(m.engine.interp.error.detail, "index = 3");
    EXPECT_EQ(m.engine.interp.error.error_number, 117u);
}

}  // namespace
}  // namespace qln::test
