#include "handlers/system_commands.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "asm/assembler.h"
#include "engine/engine.h"
#include "platform/null/null_platform.h"
#include "platform/process.h"
#include "scenario/scenario.h"
#include "support/temp_dir.h"
#include "tables/tables.h"
#include "windows/command_args.h"

namespace qln {
namespace {

using test::args_of;

class DatedPlatform : public NullPlatform {
  public:
    LocalTime local_time() override { return date; }
    void display_query(int& w, int& h, int& bpp) override {
        if (eight_bit) {
            w = 1024, h = 768, bpp = 4;
        } else {
            NullPlatform::display_query(w, h, bpp);
        }
    }
    LocalTime date;
    bool eight_bit = false;
};

class SystemCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        engine.platform = platform.services();
        ASSERT_TRUE(tables_init(engine));
    }
    std::string str0() { return str_get(engine, 0); }
    std::vector<int32_t> results(int n) {
        std::vector<int32_t> r;
        for (int i = 1; i <= n; ++i) r.push_back(result_get(engine, i));
        return r;
    }

    DatedPlatform platform;
    Engine engine;
};

TEST_F(SystemCommandsTest, IniCommandsReadAndWriteTheChosenFile) {
    test::TempDir dir;
    const std::string first = dir.str() + "\\Quillon.ini";
    const std::string second = dir.str() + "\\other.ini";
    ASSERT_EQ(cmd_ini_file(engine, args_of(first.c_str())), 0);
    str_set(engine, 0, "stale");
    ASSERT_EQ(cmd_ini_read(engine, args_of("Game", "missing")), 0);
    EXPECT_EQ(str0(), "");
    ASSERT_EQ(cmd_ini_write(engine, args_of("Game", "Name", "one")), 0);
    ASSERT_EQ(cmd_ini_read(engine, args_of("GAME", "name")), 0);
    EXPECT_EQ(str0(), "one");

    // A new path is used from then on; the first file is not touched.
    ASSERT_EQ(cmd_ini_file(engine, args_of(second.c_str())), 0);
    ASSERT_EQ(cmd_ini_read(engine, args_of("Game", "Name")), 0);
    EXPECT_EQ(str0(), "");
    ASSERT_EQ(cmd_ini_write(engine, args_of("Game", "Name", "two")), 0);
    std::ifstream f(dir.str() + "/Quillon.ini", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), "[Game]\r\nName=one\r\n");

    // A sandboxed run writes nothing and says nothing.
    engine.shell.host_effects_allowed = false;
    ASSERT_EQ(cmd_ini_write(engine, args_of("Game", "Name", "three")), 0);
    ASSERT_EQ(cmd_ini_read(engine, args_of("Game", "Name")), 0);
    EXPECT_EQ(str0(), "two");

    const std::string long_path(300, 'a');
    ASSERT_EQ(cmd_ini_file(engine, args_of(long_path.c_str())), 0);
    EXPECT_EQ(std::string(engine.shell.ini_path), std::string(259, 'a'));
}

TEST_F(SystemCommandsTest, TimeMetricsAndMessage) {
    platform.date = LocalTime{2003, 3, 5, 3, 14, 25, 36};  // Wednesday, 5 March 2003
    ASSERT_EQ(cmd_sys_time(engine, args_of()), 0);
    EXPECT_EQ(results(7), (std::vector<int32_t>{5, 3, 2003, 3, 14, 25, 36}));

    // Screen, display depth, the view's size.
    engine.settings.screen_width = 800;
    engine.settings.screen_height = 600;
    engine.settings.view_width = 640;
    engine.settings.view_height = 400;
    std::strcpy(engine.shell.program_path, "C:\\games\\quillon");
    for (int i = 1; i <= 10; ++i) result_set(engine, i, 99);
    ASSERT_EQ(cmd_sys_metrics(engine, args_of()), 0);
    EXPECT_EQ(results(10), (std::vector<int32_t>{800, 600, 24, 0, 0, 0, 640, 480, 640, 400}));
    EXPECT_EQ(str0(), "C:\\games\\quillon");
    // An eight-bit display, and a screen sized by the display.
    platform.eight_bit = true;
    engine.settings.screen_width = 0;
    ASSERT_EQ(cmd_sys_metrics(engine, args_of()), 0);
    EXPECT_EQ(results(3), (std::vector<int32_t>{1024, 768, 8}));

    ASSERT_EQ(cmd_sys_message(engine, args_of("hello")), 0);
    EXPECT_EQ(platform.messages, std::vector<std::string>{"hello"});
}

TEST_F(SystemCommandsTest, SysExecGivesTheExitCodeZeroOrMinusOneOrAnError) {
    test::TempDir dir;
    const std::string script = dir.str() + "/RUN.SH";
    std::ofstream(script) << "#!/bin/sh\nexit $1\n";
    chmod(script.c_str(), 0755);
    const std::string found_by_case = dir.str() + "\\run.sh 42";
    const struct {
        const char* line;
        int32_t mode, result, r1;  // r1 is 5 before each
    } cases[] = {
        {"/bin/sh -c \"exit 3\"", 0, 0, 3},     {"sh -c \"kill -9 $$\"", 0, 0, 128 + 9},
        {"/bin/sh -c \"exit 7\"", 2, 0, 0},  // not waited for
        {found_by_case.c_str(), 0, 0, 42},      {"/no/such/program --x", 0, 0, -1},
        {"no_such_program_anywhere", 0, 0, -1}, {"", 0, 0, -1},
        {"/no/such/program --x", 1, -107, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        result_set(engine, 1, 5);
        EXPECT_EQ(cmd_sys_exec(engine, args_of(c.line, c.mode)), c.result);
        EXPECT_EQ(result_get(engine, 1), c.r1);
        if (c.mode == 2) {
            EXPECT_EQ(engine.shell.detached_children.size(), 1u);
        }
    }
    EXPECT_STREQ(engine.interp.error.detail, "command: /no/such/program --x");
    // Sandboxed runs start nothing.
    engine.shell.host_effects_allowed = false;
    ASSERT_EQ(cmd_sys_exec(engine, args_of("/bin/sh -c \"exit 3\"", 0)), 0);
    EXPECT_EQ(result_get(engine, 1), -1);
}

TEST_F(SystemCommandsTest, HookSlotsNeedAScenarioBuffer) {
    std::vector<uint8_t> image;
    AsmError error;
    ASSERT_TRUE(assemble(".code\n  end\n", image, error));
    DataBuffer* slot = buf_entry(engine, 4);
    slot->type = BufType::Scenario;
    slot->size = 1;
    slot->scenario = scn_create(engine, image.data(), uint32_t(image.size()), "hook", 0);
    ASSERT_TRUE(buf_new_raw(engine, 5, 16));

    EXPECT_EQ(cmd_hook_set(engine, args_of(5, 2, 1)), -107);
    EXPECT_STREQ(engine.interp.error.detail, "call_buf = 5, entry = 2 flag = 1");
    EXPECT_EQ(cmd_hook_set_alt(engine, args_of(-1, 0, 0)), -107);
    EXPECT_STREQ(engine.interp.error.detail, "call_buf = -1, entry = 0 flag = 0");

    ASSERT_EQ(cmd_hook_set(engine, args_of(4, 0x12345, -1)), 0);
    EXPECT_EQ(engine.shell.hooks[0].call_buf, 4);
    EXPECT_EQ(engine.shell.hooks[0].entry, 0x2345);
    EXPECT_EQ(engine.shell.hooks[0].flag, 0xFFFF);
    ASSERT_EQ(cmd_hook_set_alt(engine, args_of(4, 1, 2)), 0);
    EXPECT_EQ(engine.shell.hooks[1].entry, 1);
    EXPECT_EQ(engine.shell.hooks[0].entry, 0x2345);
}

TEST(CommandLineSplit, FollowsTheOriginalPlatformsRules) {
    using V = std::vector<std::string>;
    EXPECT_EQ(command_line_split(""), V{});
    EXPECT_EQ(command_line_split("   "), V{});
    EXPECT_EQ(command_line_split("  prog  a   b  "), (V{"prog", "a", "b"}));
    // The program name: quotes only, no escapes.
    EXPECT_EQ(command_line_split("\"C:\\Program Files\\x.exe\" a"),
              (V{"C:\\Program Files\\x.exe", "a"}));
    EXPECT_EQ(command_line_split("C:\\dir\\x.exe\\ a"), (V{"C:\\dir\\x.exe\\", "a"}));
    EXPECT_EQ(command_line_split("p \"a b\" c"), (V{"p", "a b", "c"}));
    EXPECT_EQ(command_line_split("p a\"b c\"d"), (V{"p", "ab cd"}));
    // Backslashes count only before a quote.
    EXPECT_EQ(command_line_split("p a\\\\b"), (V{"p", "a\\\\b"}));
    EXPECT_EQ(command_line_split("p a\\\"b"), (V{"p", "a\"b"}));
    EXPECT_EQ(command_line_split("p a\\\\\"b c\""), (V{"p", "a\\b c"}));
    EXPECT_EQ(command_line_split("p a\\\\\\\"b"), (V{"p", "a\\\"b"}));
    EXPECT_EQ(command_line_split("p \"dir\\\\\""), (V{"p", "dir\\"}));
    // Two quotes inside quotes: one literal quote, and the quoted part ends.
    EXPECT_EQ(command_line_split("p \"a\"\"b c\""), (V{"p", "a\"b", "c"}));
    EXPECT_EQ(command_line_split("p \"\" x"), (V{"p", "", "x"}));
    EXPECT_EQ(command_line_split("p \"\"\"\""), (V{"p", "\""}));
    EXPECT_EQ(command_line_split("p\t\"unclosed arg"), (V{"p", "unclosed arg"}));
}

}  // namespace
}  // namespace qln
