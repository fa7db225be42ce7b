#include "shell/runner_options.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace qln {
namespace {

RunnerParse parse(std::vector<const char*> args, RunnerOptions& o, std::string& error) {
    args.insert(args.begin(), "quillon");
    return runner_options_parse(static_cast<int>(args.size()), args.data(), o, error);
}

// Parses what a restart of o would pass on.
RunnerOptions restarted(const RunnerOptions& o) {
    const std::vector<std::string> again = runner_restart_arguments(o);
    std::vector<const char*> args;
    for (const std::string& a : again) args.push_back(a.c_str());
    RunnerOptions o2;
    std::string error;
    EXPECT_EQ(parse(args, o2, error), RunnerParse::Run) << error;
    return o2;
}

TEST(RunnerOptions, ValuesComeSeparateOrAfterAnEqualsSign) {
    RunnerOptions o;
    std::string error;
    ASSERT_EQ(parse({"--clock-start=4294967295", "--max-ms", "1000", "--answer=yes", "--on-error",
                     "continue", "--display-bpp=8", "--display-size", "800x600", "--file-dialog",
                     "save.dat", "--scale=16", "--smooth", "--", "--start.qln"},
                    o, error),
              RunnerParse::Run)
        << error;
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(o.clock_start, 4294967295u);
    EXPECT_EQ(o.max_ms, 1000u);
    EXPECT_TRUE(o.answer_yes);
    EXPECT_FALSE(o.stop_on_error);
    EXPECT_EQ(o.display_bpp, 8);
    EXPECT_EQ(o.display_width, 800);
    EXPECT_EQ(o.display_height, 600);
    EXPECT_EQ(o.file_dialog_path, std::string(cwd) + "/save.dat");
    EXPECT_EQ(o.scale, 16);
    EXPECT_TRUE(o.smooth);
    EXPECT_FALSE(o.virtual_clock);             // a window runs on the real clock
    EXPECT_EQ(o.startup_file, "--start.qln");  // the start-up file stays as given

    // --headless implies the virtual clock unless the real one is asked for.
    RunnerOptions a, b;
    ASSERT_EQ(parse({"--headless"}, a, error), RunnerParse::Run);
    EXPECT_TRUE(a.virtual_clock);
    ASSERT_EQ(parse({"--headless", "--real-clock"}, b, error), RunnerParse::Run);
    EXPECT_FALSE(b.virtual_clock);
}

TEST(RunnerOptions, HelpAndUsageErrors) {
    const struct {
        std::vector<const char*> args;
        const char* error;  // nullptr: any message
    } cases[] = {
        {{"--headless=1"}, "--headless takes no value"},
        {{"--smooth=yes"}, "--smooth takes no value"},
        {{"--display-size", "0x10"}, nullptr},
        {{"--display-bpp", "16"}, "--display-bpp: \"16\" is neither 8 nor 24"},
        {{"--clock-start", "4294967296"}, nullptr},
        {{"--file-dialog", ""}, nullptr},
        {{"--dump-screen", "shots/"}, "--dump-screen: \"shots/\" is not a file name"},
        {{"--dump-audio", "/no/such/dir/a.wav"},
         "--dump-audio: no directory for \"/no/such/dir/a.wav\""},
        {{"-x"}, "unknown option \"-x\""},
        {{"--scale", "0"}, "--scale: \"0\" is not a whole scale (1 to 16)"},
        {{"--scale", "17"}, "--scale: \"17\" is not a whole scale (1 to 16)"},
        {{"--scale", "-1"}, "--scale: \"-1\" is not a whole scale (1 to 16)"},
        {{"--scale", "2x"}, "--scale: \"2x\" is not a whole scale (1 to 16)"},
        {{"--scale", ""}, "--scale: \"\" is not a whole scale (1 to 16)"},
        {{"--save-dir", ""}, "--save-dir: empty path"},
        {{"--save-dir", "/dev/null"}, "--save-dir: \"/dev/null\" is not a directory"},
        {{"--sandbox=1"}, "--sandbox takes no value"},
        {{"--version=2"}, "--version takes no value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        RunnerOptions o;
        std::string error;
        EXPECT_EQ(parse(c.args, o, error), RunnerParse::UsageError);
        if (c.error) {
            EXPECT_EQ(error, c.error);
        }
    }
    RunnerOptions o;
    std::string error;
    EXPECT_EQ(parse({"--headless", "--help"}, o, error), RunnerParse::Help);
    EXPECT_EQ(parse({"--max-ms", "5", "--version"}, o, error), RunnerParse::Version);
}

// The words of text that look like options: "-" or "--", a lower-case letter,
// then letters and dashes, at the start or after a space or a quote.
std::vector<std::string> option_words(const std::string& text) {
    std::vector<std::string> words;
    const auto word_char = [](char c) { return c == '-' || (c >= 'a' && c <= 'z'); };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '-' || (i > 0 && text[i - 1] != ' ' && text[i - 1] != '"')) continue;
        size_t end = i + 1 + (i + 1 < text.size() && text[i + 1] == '-');
        if (end >= text.size() || text[end] < 'a' || text[end] > 'z') continue;
        while (end < text.size() && word_char(text[end])) ++end;
        words.push_back(text.substr(i, end - i));
        i = end;
    }
    return words;
}

// The options --help lists: the first word of each option line, and a
// second after ", " ("-h, --help").
std::set<std::string> help_options() {
    std::set<std::string> options;
    std::istringstream help(runner_help_text());
    bool in_options = false;
    for (std::string l; std::getline(help, l);) {
        if (l == "Options:") in_options = true;
        if (in_options && l.empty()) break;
        if (!in_options || l.rfind("  -", 0) != 0) continue;
        const std::vector<std::string> words = option_words(l);
        if (words.empty()) continue;
        options.insert(words[0]);
        if (words.size() > 1 && l.compare(2 + words[0].size(), 2, ", ") == 0)
            options.insert(words[1]);
    }
    return options;
}

// The options the manual page describes: the tags of its OPTIONS section.
std::set<std::string> man_options() {
    std::ifstream page(QUILLON_SOURCE_DIR "/docs/quillon.1");
    std::set<std::string> options;
    bool in_options = false, tag = false;
    for (std::string l; std::getline(page, l);) {
        if (l.rfind(".SH", 0) == 0) in_options = l == ".SH OPTIONS";
        if (in_options && tag) {
            for (size_t at; (at = l.find("\\-")) != std::string::npos;) l.erase(at, 1);
            for (const std::string& w : option_words(l)) options.insert(w);
        }
        tag = l == ".TP";
    }
    return options;
}

TEST(RunnerOptions, TheManualPageDescribesExactlyTheOptionsOfTheHelp) {
    const std::set<std::string> help = help_options();
    EXPECT_EQ(man_options(), help);
    for (const char* expected : {"-h", "--help", "--version", "--game", "--display-size"})
        EXPECT_TRUE(help.count(expected)) << expected;
    // Every option the help names is one the parser knows.
    for (const std::string& name : help) {
        RunnerOptions o;
        std::string error;
        parse({name.c_str(), "1"}, o, error);
        EXPECT_EQ(error.find("unknown option"), std::string::npos) << error;
    }
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
    const RunnerOptions o2 = restarted(o);
    EXPECT_EQ(o2.game_dir, "/tmp");
    EXPECT_TRUE(o2.virtual_clock);
    EXPECT_EQ(o2.max_ms, 20u);
    EXPECT_FALSE(o2.startup_file.has_value());

    RunnerOptions scaled;
    ASSERT_EQ(
        parse({"--scale", "3", "--smooth", "--save-dir", "saves", "--sandbox"}, scaled, error),
        RunnerParse::Run);
    const RunnerOptions o3 = restarted(scaled);
    EXPECT_EQ(o3.scale, 3);
    EXPECT_TRUE(o3.smooth);
    // A save folder that does not exist yet is made at start; it is kept absolute.
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(o3.save_dir, std::string(cwd) + "/saves");
    EXPECT_TRUE(o3.sandbox);
}

}  // namespace
}  // namespace qln
