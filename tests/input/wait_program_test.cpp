// The program's stopwatch starts with its start-up scenario.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asm/assembler.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

TEST(WaitProgram, TheStopwatchCountsFromTheStartOfTheStartUpScenario) {
    test::TempDir dir;
    std::vector<uint8_t> file;
    AsmError error;
    ASSERT_TRUE(
        assemble_packed(".code\n  clock_get\n  eval v3[0] = r[1]\n  clock_wait 50, 0\n"
                        "  clock_get\n  str_expand \"@%`%d`,L0@ @%`%d`,V1@\", 0\n"
                        "  sys_message s[0]\n  end\n",
                        file, error))
        << error.message;
    dir.write("start_up.qln", file);
    // The counter wraps 200 ms into the run.
    const test::RunResult r = test::run_program(
        "quillon", {"--headless", "--game", dir.str(), "--clock-start", "4294967096"}, dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE((r.out + r.err).find("message box: 0 500"), std::string::npos) << r.out << r.err;
}

}  // namespace
}  // namespace qln
