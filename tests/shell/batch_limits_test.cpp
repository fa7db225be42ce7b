// The runner's batch-run limits as a program: status 3 and a line naming the
// limit, also where the virtual clock never moves.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asm/assembler.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

TEST(RunnerBatchLimits, EndARunThatNeverMovesTheClock) {
    struct Case {
        const char* source;
        std::vector<std::string> args;
        int status;
        const char* line;
    };
    const Case cases[] = {
        {".code\nloop:\n  jump loop\n",
         {"--max-commands", "1000"},
         3,
         "quillon: --max-commands 1000 reached"},
        // Fails at every command: with Continue it would spin for ever.
        {".code\nloop:\n  .bytes 0x2A\n  jump loop\n",
         {"--on-error", "continue", "--max-errors=20"},
         3,
         "quillon: --max-errors 20 reached"},
        {".code\n  end\n", {"--max-commands", "5", "--max-errors", "1"}, 0, ""},
        {".code\n  end\n", {"--max-commands", "0"}, 2, "--max-commands: \"0\" is not a count"},
        {".code\n  end\n", {"--max-errors", "x"}, 2, "--max-errors: \"x\" is not a count"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        test::TempDir dir;
        std::vector<uint8_t> file;
        AsmError error;
        ASSERT_TRUE(assemble_packed(c.source, file, error)) << error.message;
        dir.write("start_up.qln", file);
        std::vector<std::string> args = {"--headless", "--game", dir.str()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const test::RunResult r = test::run_program("quillon", args, dir);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.line), std::string::npos) << r.err;
    }
    const test::TempDir dir;
    const test::RunResult help = test::run_program("quillon", {"--help"}, dir);
    EXPECT_NE(help.out.find("--max-commands N"), std::string::npos);
    EXPECT_NE(help.out.find("--max-errors N"), std::string::npos);
}

}  // namespace
}  // namespace qln
