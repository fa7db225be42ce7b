// The runner: parses its options, runs the engine on the headless backend
// and turns the way the run ended into the exit status.

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "platform/host_files.h"
#include "platform/process.h"
#include "shell/app_main.h"
#include "shell/engine.h"
#include "shell/input_script.h"
#include "shell/runner_options.h"
#include "shell/screen_dump.h"

namespace {

constexpr int kExitEnded = 0, kExitStartupFailed = 1, kExitUsage = 2, kExitTimeLimit = 3,
              kExitScenarioError = 4;

int usage_error(const std::string& message) {
    std::fprintf(stderr, "quillon: %s\nTry 'quillon --help'.\n", message.c_str());
    return kExitUsage;
}

bool read_text(const std::string& path, std::string& text) {
    std::vector<uint8_t> bytes;
    if (!qln::host_file_read_all(path, bytes, 64u << 20)) return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}

// A restart starts this same program with the run's options, without the
// start-up file, and does not wait for it.
void restart(const qln::RunnerOptions& options) {
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0) return;
    exe[n] = '\0';
    std::vector<std::string> argv{exe};
    for (std::string& a : qln::runner_restart_arguments(options)) argv.push_back(std::move(a));
    int pid = 0;
    if (!qln::process_start(argv, pid)) std::fprintf(stderr, "quillon: the restart failed\n");
}

}  // namespace

int main(int argc, char** argv) {
    qln::RunnerOptions options;
    std::string error;
    switch (qln::runner_options_parse(argc, argv, options, error)) {
        case qln::RunnerParse::Help:
            std::fputs(qln::runner_help_text(), stdout);
            return kExitEnded;
        case qln::RunnerParse::UsageError:
            return usage_error(error);
        case qln::RunnerParse::Run:
            break;
    }

    qln::HeadlessOptions headless;
    if (!options.input_file.empty()) {
        std::string text;
        if (!read_text(options.input_file, text)) {
            return usage_error("--input: cannot read the file \"" + options.input_file + "\"");
        }
        qln::ScriptError script_error;
        if (!qln::input_script_parse(text, headless.events, script_error)) {
            return usage_error(options.input_file + ":" + std::to_string(script_error.line) + ": " +
                               script_error.reason);
        }
    }
    std::string command_line;
    if (options.startup_file && !qln::utf8_to_sjis(options.startup_file->data(),
                                                   options.startup_file->size(), command_line)) {
        return usage_error("the start-up file \"" + *options.startup_file +
                           "\" cannot be written in Shift-JIS");
    }
    if (!options.game_dir.empty() && chdir(options.game_dir.c_str()) != 0) {
        return usage_error("--game: cannot enter \"" + options.game_dir + "\"");
    }
    if (!options.headless) {
        std::fprintf(stderr, "quillon: this build has no window yet; running headless\n");
    }

    headless.virtual_clock = options.virtual_clock;
    headless.clock_start = options.clock_start;
    headless.stop_on_error = options.stop_on_error;
    headless.answer_yes = options.answer_yes;
    headless.file_dialog_path = options.file_dialog_path;
    headless.max_ms = options.max_ms;
    headless.display_width = options.display_width;
    headless.display_height = options.display_height;
    headless.display_bpp = options.display_bpp;

    int status = kExitEnded;
    {
        qln::HeadlessPlatform platform(std::move(headless));
        qln::Engine engine;
        platform.attach(engine);
        qln::AppConfig config;
        config.command_line = command_line;
        // Headless runs never take the single-instance lock.
        config.single_instance = false;
        config.restart = [&options] { restart(options); };
        // The screen as the last scenario left it, before it is shut down.
        bool dump_failed = false;
        if (!options.dump_screen.empty()) {
            config.at_scenario_end = [&options, &dump_failed](qln::Engine& e) {
                dump_failed = !qln::screen_dump_write(e, options.dump_screen);
            };
        }
        const qln::AppOutcome outcome = qln::app_main(engine, platform, config);
        if (outcome == qln::AppOutcome::StartupFailed) {
            status = kExitStartupFailed;
        } else if (outcome == qln::AppOutcome::Ended) {
            const int32_t last = engine.shell.last_step_result;
            switch (platform.quit_reason()) {
                case qln::QuitReason::TimeLimit:
                    std::fprintf(stderr, "quillon: --max-ms %u reached\n", *options.max_ms);
                    status = kExitTimeLimit;
                    break;
                case qln::QuitReason::WindowClosed:
                case qln::QuitReason::InputEnded:
                    status = kExitEnded;
                    break;
                case qln::QuitReason::None:
                    // -1: an interval callback failed; -100 and below: Stop at an error.
                    status = (last == -1 || last <= -100) ? kExitScenarioError : kExitEnded;
                    break;
            }
        }
        if (dump_failed) {
            std::fprintf(stderr, "quillon: --dump-screen: cannot write \"%s\"\n",
                         options.dump_screen.c_str());
        }
    }
    return status;
}
