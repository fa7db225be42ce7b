// The runner: parses its options, runs the engine in a window (SDL2) when a
// display is available or else on the headless backend, and turns the way
// the run ended into the exit status.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/input_script.h"
#include "platform/host_dirs.h"
#include "platform/host_files.h"
#include "platform/process.h"
#include "platform/signals.h"
#include "shell/app_main.h"
#include "shell/audio_dump.h"
#include "shell/runner_options.h"
#include "shell/screen_dump.h"

#ifdef QUILLON_HAVE_SDL2
#include <SDL.h>

#include "platform/sdl2/instance_raise.h"
#include "platform/sdl2/sdl_platform.h"
#endif

namespace {

constexpr int kExitEnded = 0, kExitStartupFailed = 1, kExitUsage = 2, kExitLimit = 3,
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

std::string current_dir() {
    char buf[4096];
    return getcwd(buf, sizeof buf) ? std::string(buf) : std::string();
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

// What both backends share: the start-up file, the restart, the screen dump,
// and the exit status from the way the run ended.
int run_engine(qln::ThreadedPlatform& platform, qln::Engine& engine,
               const qln::RunnerOptions& options, const std::string& command_line,
               bool single_instance, qln::AppOutcome& outcome) {
    qln::AppConfig config;
    config.command_line = command_line;
    config.single_instance = single_instance;
    config.restart = [&options] { restart(options); };
    // The screen as the last scenario left it, before it is shut down.
    bool dump_failed = false;
    if (!options.dump_screen.empty()) {
        config.at_scenario_end = [&options, &dump_failed](qln::Engine& e) {
            dump_failed = !qln::screen_dump_write(e, options.dump_screen);
        };
    }
    config.save.save_dir = options.save_dir;
    config.save.sandbox = options.sandbox;
    engine.shell.limits.max_commands = options.max_commands.value_or(0);
    engine.shell.limits.max_errors = options.max_errors.value_or(0);
    engine.sound.capture = !options.dump_audio.empty();
    if (!options.cd_dir.empty()) {
        engine.sound.cd_folders.insert(engine.sound.cd_folders.begin(), options.cd_dir);
    }
    if (!options.soundfont.empty()) engine.sound.soundfont = options.soundfont;
    outcome = qln::app_main(engine, platform, config);
    const bool audio_dump_failed =
        engine.sound.capture && !qln::audio_dump_write(engine, options.dump_audio);
    int status = kExitEnded;
    if (outcome == qln::AppOutcome::StartupFailed) {
        status = kExitStartupFailed;
    } else if (outcome == qln::AppOutcome::Ended) {
        const int32_t last = engine.shell.last_step_result;
        switch (platform.quit_reason()) {
            case qln::QuitReason::TimeLimit:
                std::fprintf(stderr, "quillon: --max-ms %u reached\n", *options.max_ms);
                status = kExitLimit;
                break;
            case qln::QuitReason::WindowClosed:
            case qln::QuitReason::Signalled:
            case qln::QuitReason::InputEnded:
                status = kExitEnded;
                break;
            case qln::QuitReason::None:
                if (engine.shell.limits.hit == qln::RunLimitHit::Commands) {
                    std::fprintf(stderr, "quillon: --max-commands %u reached\n",
                                 *options.max_commands);
                    status = kExitLimit;
                } else if (engine.shell.limits.hit == qln::RunLimitHit::Errors) {
                    std::fprintf(stderr, "quillon: --max-errors %u reached\n", *options.max_errors);
                    status = kExitLimit;
                } else {
                    // -1: an interval callback failed; -100 and below: Stop at an error.
                    status = (last == -1 || last <= -100) ? kExitScenarioError : kExitEnded;
                }
                break;
        }
    }
    if (dump_failed) {
        std::fprintf(stderr, "quillon: --dump-screen: cannot write \"%s\"\n",
                     options.dump_screen.c_str());
    }
    if (audio_dump_failed) {
        std::fprintf(stderr, "quillon: --dump-audio: cannot write \"%s\"\n",
                     options.dump_audio.c_str());
    }
    return status;
}

#ifdef QUILLON_HAVE_SDL2
// Opens SDL's video on a real display. SDL would fall back to an invisible
// off-screen driver, which is no window for a player: without a display
// named in the environment (or a driver chosen with SDL_VIDEODRIVER) there is
// none.
bool display_open(std::string& why) {
    auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    if (!set("DISPLAY") && !set("WAYLAND_DISPLAY") && !set("SDL_VIDEODRIVER")) {
        why = "neither DISPLAY nor WAYLAND_DISPLAY is set";
        return false;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        why = SDL_GetError();
        return false;
    }
    const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if (!set("SDL_VIDEODRIVER") && (driver == "offscreen" || driver == "dummy")) {
        SDL_Quit();
        why = "no video driver reached the display";
        return false;
    }
    return true;
}

// A window run: one copy per game, the real clock, the player answers.
int run_window(const qln::RunnerOptions& options, const std::string& command_line,
               std::chrono::steady_clock::time_point started) {
    const std::string raise_path = qln::instance_raise_path(current_dir());
    qln::SdlOptions sdl;
    sdl.scale = options.scale;
    sdl.smooth = options.smooth;
    sdl.clock_start = options.clock_start;
    sdl.max_ms = options.max_ms;
    sdl.raise_path = raise_path;
    if (const char* timing = std::getenv("QUILLON_TIMING"); timing && *timing) {
        sdl.report_first_frame_since = started;
    }
    qln::AppOutcome outcome = qln::AppOutcome::Ended;
    int status = kExitEnded;
    {
        qln::SdlPlatform platform(std::move(sdl));
        qln::Engine engine;
        status = run_engine(platform, engine, options, command_line, true, outcome);
    }
    if (outcome == qln::AppOutcome::AnotherCopyRuns) {
        const bool raised = qln::instance_raise_request(raise_path);
        std::fprintf(stderr, "quillon: the game runs already in this directory%s\n",
                     raised ? "; its window was brought to the front" : "");
    }
    return status;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    [[maybe_unused]] const auto started = std::chrono::steady_clock::now();
    qln::RunnerOptions options;
    std::string error;
    switch (qln::runner_options_parse(argc, argv, options, error)) {
        case qln::RunnerParse::Help:
            std::fputs(qln::runner_help_text(), stdout);
            return kExitEnded;
        case qln::RunnerParse::Version:
            std::fputs(qln::runner_version_text(), stdout);
            return kExitEnded;
        case qln::RunnerParse::UsageError:
            return usage_error(error);
        case qln::RunnerParse::Run:
            break;
    }
    qln::termination_signals_install();

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
    if (!options.save_dir.empty() && !qln::host_dir_make_all(options.save_dir)) {
        return usage_error("--save-dir: cannot create \"" + options.save_dir + "\"");
    }
    if (!options.game_dir.empty() && chdir(options.game_dir.c_str()) != 0) {
        return usage_error("--game: cannot enter \"" + options.game_dir + "\"");
    }
    if (!options.headless) {
#ifdef QUILLON_HAVE_SDL2
        std::string why;
        if (display_open(why)) {
            const int status = run_window(options, command_line, started);
            SDL_Quit();
            return status;
        }
        std::fprintf(stderr, "quillon: no display (%s); running headless with the real clock\n",
                     why.c_str());
#else
        std::fprintf(stderr, "quillon: this build has no window; running headless\n");
#endif
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

    qln::HeadlessPlatform platform(std::move(headless));
    qln::Engine engine;
    platform.attach(engine.shared);
    qln::AppOutcome outcome = qln::AppOutcome::Ended;
    // Headless runs never take the single-instance lock.
    return run_engine(platform, engine, options, command_line, false, outcome);
}
