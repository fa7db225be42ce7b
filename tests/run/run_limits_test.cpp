// The batch-run limits: a run ends after a number of commands or of errors
// answered with Continue, however little the clock moves.

#include <gtest/gtest.h>

#include "support/machine.h"

namespace qln {
namespace {

TEST(RunLimits, EndTheRunAfterTheCommandsOrContinuedErrors) {
    // 0x2A is no command: every pass of the error loop fails once.
    constexpr const char* kBusyLoop = ".code\nloop:\n  jump loop\n";
    constexpr const char* kErrorLoop = ".code\nloop:\n  .bytes 0x2A\n  jump loop\n";
    constexpr const char* kShort = ".code\n  .bytes 0x2A\n  end\n";
    struct Case {
        const char* source;
        uint64_t max_commands, max_errors;
        bool stop_on_error;
        int steps_to_end;  // steps that went on before the one that stopped
        int32_t last;
        RunLimitHit hit;
    };
    const Case cases[] = {
        {kBusyLoop, 5, 0, true, 4, -1, RunLimitHit::Commands},
        {kBusyLoop, 1, 0, true, 0, -1, RunLimitHit::Commands},
        {kErrorLoop, 0, 3, false, 4, -1, RunLimitHit::Errors},
        {kErrorLoop, 4, 3, false, 3, -1, RunLimitHit::Commands},
        // Stop ends the run at the error; it is not counted against the limit.
        {kErrorLoop, 0, 1, true, 0, kResultErrorBase, RunLimitHit::None},
        // A run that ends by itself is not cut short.
        {kShort, 2, 1, false, 0, -1, RunLimitHit::Errors},
        {kShort, 3, 2, false, 1, kResultEndAll, RunLimitHit::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.source << " " << c.max_commands << " " << c.max_errors);
        test::Machine m;
        m.platform.stop_on_error = c.stop_on_error;
        m.engine.shell.limits.max_commands = c.max_commands;
        m.engine.shell.limits.max_errors = c.max_errors;
        ASSERT_TRUE(m.start(c.source));
        int went_on = 0;
        int32_t result = 0;
        while ((result = scn_step(m.engine)) >= 0 && went_on < 1000) ++went_on;
        EXPECT_EQ(went_on, c.steps_to_end);
        EXPECT_EQ(result, c.last);
        EXPECT_EQ(m.engine.shell.limits.hit, c.hit);
    }
}

TEST(RunLimits, AReachedLimitFailsEveryLaterPollStep) {
    test::Machine m;
    m.engine.shell.limits.max_commands = 1;
    ASSERT_TRUE(m.start(".code\nloop:\n  jump loop\n"));
    EXPECT_EQ(scn_step(m.engine), -1);
    InputState snapshot;
    EXPECT_FALSE(poll(m.engine, snapshot));
}

}  // namespace
}  // namespace qln
