// Control-flow and scenario commands: jumps, computed jumps, scenarios run
// from data buffers and files with their release rules.

#include <gtest/gtest.h>

#include <string>

#include "asm/assembler.h"
#include "support/machine.h"
#include "support/temp_dir.h"

namespace qln::test {
namespace {

std::vector<uint8_t> packed(std::string_view source) {
    std::vector<uint8_t> file;
    AsmError error;
    EXPECT_TRUE(assemble_packed(source, file, error)) << error.format("packed");
    return file;
}

// Puts a scenario object into data buffer n, owned by the buffer.
Scenario* put_in_buffer(Machine& m, int32_t n, std::string_view source) {
    Scenario* s = m.load(source, "buffer");
    DataBuffer* slot = buf_entry(m.engine, n);
    if (!s || !slot) return nullptr;
    buf_free(m.engine, n);
    slot->type = BufType::Scenario;
    slot->size = 1;
    slot->scenario = s;
    return s;
}

// The error numbers and details the run reported, in order.
std::vector<std::pair<uint32_t, std::string>> errors(const Machine& m) {
    std::vector<std::pair<uint32_t, std::string>> found;
    for (const auto& e : m.platform.errors) found.emplace_back(e.error_number, e.detail);
    return found;
}
using Errors = std::vector<std::pair<uint32_t, std::string>>;

TEST(JumpTable, JumpsByIndexContinuesOrReports) {
    Machine m;
    m.platform.stop_on_error = false;
    // Each nested jump jumps by its own list.
    ASSERT_TRUE(m.start(R"(
    jump_table 2, 0, t0, t1, t2
    end
t0: end
t1: end
t2: eval v3[0] = 1
    jump_table 3, 0, t0, t1, t2
    eval v3[1] = 1
    jump_table -1, 1, t0
    eval v3[2] = 1
    jump_table 0, 1, t3
    end
t3: eval v3[3] = 1
    end
)"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(3, 0), 1);
    EXPECT_EQ(m.var(3, 1), 1);  // out of range, not strict: on after the list
    EXPECT_EQ(m.var(3, 2), 1);  // strict: reported, then continued after the list
    EXPECT_EQ(m.var(3, 3), 1);
    EXPECT_EQ(errors(m), (Errors{{117, "index = -1"}}));
}

TEST(ScenarioBuffer, RunsWithArgumentsComesBackAndReportsWrongBuffers) {
    Machine m;
    m.platform.stop_on_error = false;
    Scenario* sub = put_in_buffer(m, 5, R"(
    eval v3[0] = r[1] + r[4]
    eval l[0] += 1
    eval v3[1] = l[0]
    end
)");
    ASSERT_NE(sub, nullptr);
    ASSERT_NE(put_in_buffer(m, 6, "    scn_call_buf 6, 0, 0, 0, 0\n    end\n"), nullptr);
    ASSERT_TRUE(m.start(R"(
    scn_call_buf 5, 1, 2, 3, 4
    eval v3[2] = 7
    scn_call_buf 5, 0, 0, 0, 0
    scn_call_buf 7, 0, 0, 0, 0
    scn_call_buf 6, 0, 0, 0, 0
    end
)"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(3, 0), 0);
    EXPECT_EQ(m.var(3, 1), 2);  // locals keep their values between runs
    EXPECT_EQ(m.var(3, 2), 7);
    EXPECT_FALSE(sub->in_use);
    EXPECT_EQ(buf_get_scenario(m.engine, 5), sub);  // still owned by its buffer
    // No scenario in 7; 6 is already active.
    EXPECT_EQ(errors(m), (Errors{{102, "buf_no = 7"}, {103, "buf_no = 6"}}));
}

TEST(ScenarioBuffer, ReleasingItsOwnBufferWhileRunningKeepsItAliveToItsEnd) {
    // The slot empties at once; the running object is released when it ends
    // (the sanitizer build reports it if it leaks or is freed twice).
    Machine m;
    ASSERT_NE(put_in_buffer(m, 5, "    buf_release 5\n    eval v3[0] = 1\n    end\n"), nullptr);
    ASSERT_TRUE(m.start("    scn_call_buf 5, 0, 0, 0, 0\n    eval v3[1] = 1\n    end\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(3, 0), 1);
    EXPECT_EQ(m.var(3, 1), 1);
    EXPECT_EQ(buf_get_scenario(m.engine, 5), nullptr);
}

TEST(ScenarioFile, CallRunsTheFileAndReturnsAfterItOrReports) {
    TempDir dir;
    dir.write("SUB.QLN", packed("    eval v3[0] = 4\n    scn_return 9\n"));
    dir.write("junk.bin", {0, 0, 0, 0});  // a valid packed layout of zero bytes
    Machine m;
    m.platform.stop_on_error = false;
    sysstr_set(m.engine, 0, "nowhere/");
    sysstr_set(m.engine, 1, (dir.str() + "/").c_str());
    // "画像" in Shift-JIS: the detail keeps the double-byte name as it was given.
    ASSERT_TRUE(m.start(R"(
    scn_call_file "sub.qln", 0, 1
    eval v3[1] = r[1]
    scn_call_file "画像.qln", 2, -1
    scn_jump_file "junk.bin", 0, 1
    end
)"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(3, 0), 4);
    EXPECT_EQ(m.var(3, 1), 9);
    // Readable, but no scenario: 102.
    EXPECT_EQ(errors(m), (Errors{{105, "File:\x89\xe6\x91\x9c.qln(2) Dir:-1"},
                                 {102, "File:junk.bin(0) Dir:1"}}));
}

TEST(ScenarioFile, JumpEndsEveryActiveScenarioKeepingBufferOwnedOnes) {
    TempDir dir;
    dir.write("last.qln", packed("    eval v3[5] = 1\n    end\n"));
    dir.write("middle.qln", packed("    scn_call_buf 3, 0, 0, 0, 0\n    end\n"));
    Machine m;
    sysstr_set(m.engine, 0, (dir.str() + "/").c_str());
    Scenario* owned = put_in_buffer(m, 3, R"(
    scn_jump_file "last.qln", 0, 0
    eval v3[6] = 1
)");
    ASSERT_NE(owned, nullptr);
    ASSERT_TRUE(m.start(R"(
    scn_call_file "middle.qln", 0, 0
    eval v3[7] = 1
    end
)"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(3, 5), 1);
    EXPECT_EQ(m.var(3, 6), 0);
    EXPECT_EQ(m.var(3, 7), 0);  // the first scenario ended too
    EXPECT_FALSE(owned->in_use);
    EXPECT_EQ(buf_get_scenario(m.engine, 3), owned);
}

}  // namespace
}  // namespace qln::test
