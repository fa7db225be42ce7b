// The stopwatch of the program itself: it starts with the start-up scenario.

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
    // A click during the first wait ends it early; the second wait ignores clicks.
    ASSERT_TRUE(assemble_packed(R"(.code
  clock_get
  eval v3[0] = r[1]
  wait 100, 1
  eval v3[1] = r[1]
  clock_get
  eval v3[2] = r[1]
  clock_wait 50, 0
  clock_get
  str_expand "@%`%d`,L0@ @%`%d`,L1@ @%`%d`,L2@ @%`%d`,V1@", 0
  sys_message s[0]
  end
)",
                                file, error))
        << error.message;
    dir.write("start_up.qln", file);
    const std::string script = "100 down right\n";  // a tick count: 300 ms into the run
    dir.write("input.txt", std::vector<uint8_t>(script.begin(), script.end()));
    // The counter wraps 200 ms into the run; script times are tick counts.
    const test::RunResult r = test::run_program("quillon",
                                                {"--headless", "--game", dir.str(), "--clock-start",
                                                 "4294967096", "--input", dir.str() + "/input.txt"},
                                                dir);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE((r.out + r.err).find("message box: 0 255 300 500"), std::string::npos)
        << r.out << r.err;
}

}  // namespace
}  // namespace qln
