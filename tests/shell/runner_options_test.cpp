#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "shell/runner_options.h"

namespace qln {
namespace {

RunnerParse parse(std::vector<const char*> args, RunnerOptions& o, std::string& error) {
    args.insert(args.begin(), "quillon");
    return runner_options_parse(static_cast<int>(args.size()), args.data(), o, error);
}

std::string cwd() {
    char buf[4096];
    return getcwd(buf, sizeof buf) ? buf : "";
}

TEST(RunnerOptions, HeadlessImpliesTheVirtualClockUnlessRealIsAsked) {
    RunnerOptions a, b, c;
    std::string error;
    ASSERT_EQ(parse({"--headless"}, a, error), RunnerParse::Run);
    EXPECT_TRUE(a.virtual_clock);
    ASSERT_EQ(parse({"--headless", "--real-clock"}, b, error), RunnerParse::Run);
    EXPECT_FALSE(b.virtual_clock);
    ASSERT_EQ(parse({}, c, error), RunnerParse::Run);
    EXPECT_FALSE(c.virtual_clock);
}

TEST(RunnerOptions, ValuesComeSeparateOrAfterAnEqualsSign) {
    RunnerOptions o;
    std::string error;
    ASSERT_EQ(parse({"--clock-start=4294967295", "--max-ms", "1000", "--answer=yes", "--on-error",
                     "continue", "--display-bpp=8", "--display-size", "800x600", "--file-dialog",
                     "save.dat", "--", "--start.qln"},
                    o, error),
              RunnerParse::Run)
        << error;
    EXPECT_EQ(o.clock_start, 4294967295u);
    EXPECT_EQ(o.max_ms, 1000u);
    EXPECT_TRUE(o.answer_yes);
    EXPECT_FALSE(o.stop_on_error);
    EXPECT_EQ(o.display_bpp, 8);
    EXPECT_EQ(o.display_width, 800);
    EXPECT_EQ(o.display_height, 600);
    EXPECT_EQ(o.file_dialog_path, cwd() + "/save.dat");
    EXPECT_EQ(o.startup_file, "--start.qln");  // the start-up file stays as given
}

TEST(RunnerOptions, HelpAndUsageErrors) {
    RunnerOptions o;
    std::string error;
    EXPECT_EQ(parse({"--headless", "--help"}, o, error), RunnerParse::Help);
    EXPECT_EQ(parse({"--headless=1"}, o, error), RunnerParse::UsageError);
    EXPECT_EQ(error, "--headless takes no value");
    EXPECT_EQ(parse({"--display-size", "0x10"}, o, error), RunnerParse::UsageError);
    EXPECT_EQ(parse({"--display-bpp", "16"}, o, error), RunnerParse::UsageError);
    EXPECT_EQ(error, "--display-bpp: \"16\" is neither 8 nor 24");
    EXPECT_EQ(parse({"--clock-start", "4294967296"}, o, error), RunnerParse::UsageError);
    EXPECT_EQ(parse({"--file-dialog", ""}, o, error), RunnerParse::UsageError);
    EXPECT_EQ(parse({"-x"}, o, error), RunnerParse::UsageError);
    EXPECT_EQ(error, "unknown option \"-x\"");
}

TEST(RunnerOptions, ARestartKeepsTheOptionsButNotTheStartUpFile) {
    RunnerOptions o;
    std::string error;
    ASSERT_EQ(parse({"--headless", "--game", "/tmp", "--max-ms", "20", "--file-dialog", "cancel",
                     "game.qln"},
                    o, error),
              RunnerParse::Run);
    const std::vector<std::string> expected = {
        "--game",         "/tmp",     "--headless",    "--virtual-clock",
        "--clock-start",  "0",        "--on-error",    "stop",
        "--answer",       "no",       "--file-dialog", "cancel",
        "--max-ms",       "20",       "--display-bpp", "24",
        "--display-size", "1920x1080"};
    EXPECT_EQ(runner_restart_arguments(o), expected);
    // What a restart passes parses to the same run.
    std::vector<std::string> again = runner_restart_arguments(o);
    std::vector<const char*> args;
    for (const std::string& a : again) args.push_back(a.c_str());
    RunnerOptions o2;
    ASSERT_EQ(parse(args, o2, error), RunnerParse::Run);
    EXPECT_EQ(o2.game_dir, "/tmp");
    EXPECT_TRUE(o2.virtual_clock);
    EXPECT_EQ(o2.max_ms, 20u);
    EXPECT_FALSE(o2.startup_file.has_value());
}

TEST(RunnerWindowOptions, ScaleAndSmoothingAreCheckedAndSurviveARestart) {
    RunnerOptions o;
    std::string error;
    ASSERT_EQ(parse({}, o, error), RunnerParse::Run);
    EXPECT_EQ(o.scale, 0);  // the largest that fits
    EXPECT_FALSE(o.smooth);
    EXPECT_FALSE(o.virtual_clock);  // a window runs on the real clock

    ASSERT_EQ(parse({"--scale", "3", "--smooth"}, o, error), RunnerParse::Run);
    EXPECT_EQ(o.scale, 3);
    EXPECT_TRUE(o.smooth);
    const std::vector<std::string> again = runner_restart_arguments(o);
    std::vector<const char*> args;
    for (const std::string& a : again) args.push_back(a.c_str());
    RunnerOptions o2;
    ASSERT_EQ(parse(args, o2, error), RunnerParse::Run);
    EXPECT_EQ(o2.scale, 3);
    EXPECT_TRUE(o2.smooth);

    for (const char* bad : {"0", "17", "-1", "2x", ""}) {
        RunnerOptions b;
        EXPECT_EQ(parse({"--scale", bad}, b, error), RunnerParse::UsageError) << bad;
        EXPECT_EQ(error, std::string("--scale: \"") + bad + "\" is not a whole scale (1 to 16)");
    }
    RunnerOptions b;
    EXPECT_EQ(parse({"--smooth=yes"}, b, error), RunnerParse::UsageError);
    EXPECT_EQ(error, "--smooth takes no value");
    EXPECT_EQ(parse({"--scale=16"}, b, error), RunnerParse::Run);
    EXPECT_EQ(b.scale, 16);
}

}  // namespace
}  // namespace qln
