// Control-flow and scenario commands: jumps, computed jumps, scenarios run
// from data buffers and files with their release rules, restart, and the
// error report's lookups in the command-names and error-messages files.

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

TEST(JumpTable, JumpsByIndexContinuesOrReports) {
    Machine m;
    m.platform.stop_on_error = false;
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
    end
)"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(3, 0), 1);
    EXPECT_EQ(m.var(3, 1), 1);  // out of range, not strict: on after the list
    EXPECT_EQ(m.var(3, 2), 1);  // strict: reported, then continued after the list
    ASSERT_EQ(m.platform.errors.size(), 1u);
    EXPECT_EQ(m.platform.errors[0].error_number, 117u);
    EXPECT_STREQ(m.platform.errors[0].detail, "index = -1");
}

TEST(ScenarioBuffer, RunsWithArgumentsAndComesBack) {
    Machine m;
    Scenario* sub = put_in_buffer(m, 5, R"(
    eval v3[0] = r[1] + r[4]
    eval l[0] += 1
    eval v3[1] = l[0]
    end
)");
    ASSERT_NE(sub, nullptr);
    ASSERT_TRUE(m.start(R"(
    scn_call_buf 5, 1, 2, 3, 4
    eval v3[2] = 7
    scn_call_buf 5, 0, 0, 0, 0
    end
)"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(3, 0), 0);
    EXPECT_EQ(m.var(3, 1), 2);  // locals keep their values between runs
    EXPECT_EQ(m.var(3, 2), 7);
    EXPECT_FALSE(sub->in_use);
    EXPECT_EQ(buf_get_scenario(m.engine, 5), sub);  // still owned by its buffer
}

TEST(ScenarioBuffer, ReportsAWrongTypeAndAnActiveScenario) {
    Machine m;
    m.platform.stop_on_error = false;
    ASSERT_NE(put_in_buffer(m, 6, "    scn_call_buf 6, 0, 0, 0, 0\n    end\n"), nullptr);
    ASSERT_TRUE(m.start(R"(
    scn_call_buf 7, 0, 0, 0, 0
    scn_call_buf 6, 0, 0, 0, 0
    end
)"));
    EXPECT_EQ(m.run(), kResultEndAll);
    ASSERT_EQ(m.platform.errors.size(), 2u);
    EXPECT_EQ(m.platform.errors[0].error_number, 102u);
    EXPECT_STREQ(m.platform.errors[0].detail, "buf_no = 7");
    EXPECT_EQ(m.platform.errors[1].error_number, 103u);
    EXPECT_STREQ(m.platform.errors[1].detail, "buf_no = 6");
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

TEST(ScenarioFile, CallRunsTheFileAndReturnsAfterIt) {
    TempDir dir;
    dir.write("SUB.QLN", packed("    eval v3[0] = 4\n    scn_return 9\n"));
    Machine m;
    sysstr_set(m.engine, 1, (dir.str() + "/").c_str());
    ASSERT_TRUE(m.start(R"(
    scn_call_file "sub.qln", 0, 1
    eval v3[1] = r[1]
    end
)"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_EQ(m.var(3, 0), 4);
    EXPECT_EQ(m.var(3, 1), 9);
}

TEST(ScenarioFile, ReportsUnreadableFilesAndNonScenarios) {
    TempDir dir;
    dir.write("junk.bin", {0, 0, 0, 0});  // a valid packed layout of zero bytes
    Machine m;
    m.platform.stop_on_error = false;
    sysstr_set(m.engine, 0, (dir.str() + "/").c_str());
    // "画像" in Shift-JIS: the detail keeps the double-byte name as it was given.
    ASSERT_TRUE(m.start(R"(
    scn_call_file "画像.qln", 2, -1
    scn_jump_file "junk.bin", 0, 0
    end
)"));
    EXPECT_EQ(m.run(), kResultEndAll);
    ASSERT_EQ(m.platform.errors.size(), 2u);
    EXPECT_EQ(m.platform.errors[0].error_number, 105u);
    EXPECT_STREQ(m.platform.errors[0].detail, "File:\x89\xe6\x91\x9c.qln(2) Dir:-1");
    EXPECT_EQ(m.platform.errors[1].error_number, 102u);  // readable, but no scenario
    EXPECT_STREQ(m.platform.errors[1].detail, ("File:junk.bin(0) Dir:0"));
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

TEST(Restart, SetsTheFlagAndEndsTheScenario) {
    Machine m;
    ASSERT_TRUE(m.start("    sys_restart\n    eval v3[0] = 1\n"));
    EXPECT_EQ(m.run(), kResultEndAll);
    EXPECT_TRUE(m.engine.shell.restart);
    EXPECT_EQ(m.reg(1), 0);
    EXPECT_EQ(m.var(3, 0), 0);
}

TEST(ErrorReport, LooksUpNameAndTextInTheirFiles) {
    TempDir dir;
    const std::string names = dir.write(
        "names.txt", std::vector<uint8_t>{'0', 'A', ' ', 'W', 'R', 'O', 'N', 'G', '\r', '\n',
                                          '0', '7', ',', '\t', 'r', 'e', 't', '\r', '\n',
                                          '0', 'f', ' ', 'c', 'o', 'n', 'f', '\r', '\n'});
    const std::string messages = dir.write(
        "errors.txt",
        std::vector<uint8_t>{'1', '0', '0', ' ', 'n', 'o', 'p', 'e', '\r', '\n', '1', '0', '4',
                             ' ', 'n', 'o', ' ', 'c', 'a', 'l', 'l'});  // last line without CRLF
    Machine m;
    settings_copy_text(m.engine.settings.command_names_file.name, kPathMax, names.c_str());
    settings_copy_text(m.engine.settings.error_messages_file.name, kPathMax, messages.c_str());
    m.platform.stop_on_error = false;
    ASSERT_TRUE(m.start("    return 0\n    .bytes 0x0F\n    end\n"));
    m.run();
    ASSERT_EQ(m.platform.errors.size(), 2u);
    EXPECT_STREQ(m.platform.errors[0].command_name, "ret");
    EXPECT_STREQ(m.platform.errors[0].error_text, "no call");
    // 0x0f matches the lower-case line; 0x0F has no command, so error 100.
    EXPECT_STREQ(m.platform.errors[1].command_name, "conf");
    EXPECT_STREQ(m.platform.errors[1].error_text, "nope");
}

TEST(ErrorReport, MissingFilesLeaveTheFieldsAsTheyWere) {
    Machine m;
    settings_copy_text(m.engine.settings.command_names_file.name, kPathMax, "/nonexistent/n");
    settings_copy_text(m.engine.settings.error_messages_file.name, kPathMax, "/nonexistent/e");
    settings_copy_text(m.engine.interp.error.command_name, 256, "before");
    EXPECT_EQ(err_report(m.engine, -117, "index = %d", 3), -117);
    EXPECT_STREQ(m.engine.interp.error.command_name, "before");
    EXPECT_STREQ(m.engine.interp.error.error_text, "");
    EXPECT_STREQ(m.engine.interp.error.detail, "index = 3");
    EXPECT_EQ(m.engine.interp.error.error_number, 117u);
}

}  // namespace
}  // namespace qln::test
