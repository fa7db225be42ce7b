// A batch run ends after N commands or N errors answered with Continue,
// however little the clock moves; a run that ends by itself is not cut short.

#include <gtest/gtest.h>

#include "support/machine.h"

namespace qln {
namespace {

TEST(RunLimits, EndTheRunAfterTheCommandsOrContinuedErrors) {
    // 0x2A is no command: every pass of the error loop fails once.
    constexpr const char *kBusy = ".code\nloop:\n  jump loop\n",
                         *kErrors = ".code\nloop:\n  .bytes 0x2A\n  jump loop\n",
                         *kShort = ".code\n  .bytes 0x2A\n  end\n";
    struct Case {
        const char* source;
        uint64_t max_commands, max_errors;
        bool stop;
        int went_on;  // steps before the one that stopped
        int32_t last;
        RunLimitHit hit;
    };
    const Case cases[] = {
        {kBusy, 5, 0, true, 4, -1, RunLimitHit::Commands},
        {kErrors, 0, 3, false, 4, -1, RunLimitHit::Errors},
        {kErrors, 4, 3, false, 3, -1, RunLimitHit::Commands},
        {kErrors, 0, 1, true, 0, kResultErrorBase, RunLimitHit::None},  // Stop is not counted
        {kShort, 3, 2, false, 1, kResultEndAll, RunLimitHit::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source << c.max_commands << " " << c.max_errors);
        test::Machine m;
        m.platform.stop_on_error = c.stop;
        m.engine.shell.limits.max_commands = c.max_commands;
        m.engine.shell.limits.max_errors = c.max_errors;
        ASSERT_TRUE(m.start(c.source));
        int went_on = 0;
        int32_t result = 0;
        while ((result = scn_step(m.engine)) >= 0 && went_on < 1000) ++went_on;
        EXPECT_EQ(went_on, c.went_on);
        EXPECT_EQ(result, c.last);
        EXPECT_EQ(m.engine.shell.limits.hit, c.hit);
    }
}

}  // namespace
}  // namespace qln
