// The window's options: the whole scale and the filtering, their limits, and
// a restart keeping them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/runner_options.h"

namespace qln {
namespace {

RunnerParse parse(std::vector<const char*> args, RunnerOptions& o, std::string& error) {
    args.insert(args.begin(), "quillon");
    return runner_options_parse(static_cast<int>(args.size()), args.data(), o, error);
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
