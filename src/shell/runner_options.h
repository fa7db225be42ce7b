#pragma once
// The command line of the runner:
//   quillon [OPTIONS] [STARTUP_FILE]
// (see runner_help_text and docs/runner.md).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qln {

struct RunnerOptions {
    std::string game_dir;  // absolute; empty: stay in the current directory
    bool headless = false;
    bool virtual_clock = false;  // resolved: --headless implies it unless --real-clock
    uint32_t clock_start = 0;
    std::string input_file;  // absolute; empty: no scripted input
    bool stop_on_error = true;
    bool answer_yes = false;
    std::optional<std::string> file_dialog_path;  // absolute; none: Cancel
    std::string dump_screen;                      // absolute; empty: none
    std::string dump_audio;                       // absolute; empty: none
    std::string cd_dir;                           // absolute; empty: none
    std::string save_dir;  // absolute; empty: the game folder or its data folder
    bool sandbox = false;
    std::string soundfont;  // absolute; empty: the default
    std::optional<uint32_t> max_ms;
    std::optional<uint32_t> max_commands;  // end after this many commands
    std::optional<uint32_t> max_errors;    // end after this many errors answered Continue
    int display_bpp = 24;
    int display_width = 1920, display_height = 1080;
    int scale = 0;        // whole window scale, 1 to 16; 0: the largest that fits
    bool smooth = false;  // linear filtering of a scaled window
    std::optional<std::string> startup_file;  // as given (UTF-8)
};

enum class RunnerParse { Run, Help, Version, UsageError };

// Parses argv[1..]; relative paths of options are made absolute against the
// current directory (the start-up file stays as given: it is the game's).
// UsageError comes with a message naming what is wrong.
RunnerParse runner_options_parse(int argc, const char* const* argv, RunnerOptions& options,
                                 std::string& error);

// The options again, without the start-up file: what a restart passes on.
std::vector<std::string> runner_restart_arguments(const RunnerOptions& options);

const char* runner_help_text();
// "quillon VERSION\n", the version the build was configured with.
const char* runner_version_text();

}  // namespace qln
