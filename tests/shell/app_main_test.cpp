// The start-up order and its messages, run in-process on the headless backend.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asm/assembler.h"
#include "engine/engine.h"
#include "platform/headless/headless_platform.h"
#include "shell/app_main.h"
#include "support/temp_dir.h"

namespace qln {
namespace {

class AppMainTest : public ::testing::Test {
  protected:
    void scenario(const std::string& name, const char* source) {
        std::vector<uint8_t> file;
        AsmError error;
        ASSERT_TRUE(assemble_packed(source, file, error)) << error.message;
        dir.write(name, file);
    }

    AppOutcome run(const std::string& command_line, bool answer_yes = false) {
        test::CwdGuard cwd(dir.path());
        HeadlessOptions o;
        o.answer_yes = answer_yes;
        o.log = [this](const std::string& line) { lines.push_back(line); };
        HeadlessPlatform platform(o);
        platform.attach(engine.shared);
        AppConfig config;
        config.command_line = command_line;
        config.restart = [this] { restarted = true; };
        return app_main(engine, platform, config);
    }

    test::TempDir dir;
    Engine engine;
    std::vector<std::string> lines;
    bool restarted = false;
};

TEST_F(AppMainTest, ACommandLineScenarioInTheStartDirectoryWinsOverTheCandidates) {
    scenario("start_up.qln", ".code\n  .bytes 0x2A\n  end\n");
    scenario("mine.qln", ".settings\n  strings 1000\n.code\n  end\n");
    EXPECT_EQ(run("mine.qln"), AppOutcome::Ended);
    EXPECT_TRUE(lines.empty());  // start_up.qln, whose first byte fails, never ran
    EXPECT_EQ(engine.settings.string_register_count, 1000);
    EXPECT_EQ(engine.shell.last_step_result, kResultEndAll);
    EXPECT_EQ(std::string(engine.settings.startup.name),
              std::string(engine.shell.start_dir) + "\\mine.qln");
}

TEST_F(AppMainTest, StartDirectoryIniPathAndSystemStringZero) {
    scenario("start_up.gpc", "");  // not an archive: skipped
    scenario("start_up.qln", ".code\n  end\n");
    ASSERT_EQ(run(""), AppOutcome::Ended);
    const std::string start = engine.shell.start_dir;
    EXPECT_EQ(start.rfind("C:\\", 0), 0u) << start;
    EXPECT_EQ(std::string(engine.shell.ini_path), start + "\\Quillon.ini");
    EXPECT_STREQ(engine.settings.startup.name, "start_up.qln");
    EXPECT_NE(std::string(engine.shell.program_path), "");
}

TEST_F(AppMainTest, ARestartComesAfterTheRun) {
    scenario("start_up.qln", ".code\n  sys_restart\n");
    EXPECT_EQ(run(""), AppOutcome::Ended);
    EXPECT_TRUE(restarted);
    EXPECT_TRUE(engine.shell.restart);
    EXPECT_EQ(engine.interp.current, nullptr);
}

}  // namespace
}  // namespace qln
