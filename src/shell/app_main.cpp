// The life of the program, in the order the engine has always started:
// single-instance check, settings, start-up scenario, screen, window, tables,
// mixer, then the scenario thread beside the message loop; everything is
// released in reverse order and a restart, when asked for, comes last.

#include "shell/app_main.h"

#include <cstdio>
#include <iterator>
#include <string>

#include "animation/animation.h"
#include "engine/engine.h"
#include "input/cursor.h"
#include "platform/game_data_dir.h"
#include "platform/host_dirs.h"
#include "platform/host_files.h"
#include "platform/instance_lock.h"
#include "platform/threaded_platform.h"
#include "run/dialogs.h"
#include "run/run_loop.h"
#include "scenario/interp.h"
#include "scenario/startup.h"
#include "screen/screen.h"
#include "shell/startup_messages.h"
#include "sound/mci.h"
#include "sound/mixer.h"
#include "tables/tables.h"
#include "text/font.h"

namespace qln {
namespace {

struct ScenarioThread {
    Engine* engine;
    ThreadedPlatform* platform;
    const std::string* notice;  // a start-up message to show first, or empty
};

// The scenario thread: shows the start-up notice (here the game window can
// show it when the host cannot), steps until a step stops, then tells the
// main thread.
void scenario_thread_main(void* p) {
    auto* thread = static_cast<ScenarioThread*>(p);
    if (!thread->notice->empty()) {
        dialog_message(*thread->engine, thread->notice->c_str(), kAppCaption);
    }
    int32_t result = 0;
    while ((result = scn_step(*thread->engine)) >= 0) {
    }
    thread->engine->shell.last_step_result = result;
    thread->platform->scenario_thread_ended();
}

// What a start-up step works on.
struct AppRun {
    Engine& engine;
    ThreadedPlatform& platform;
    std::string notice;  // shown once the scenario thread runs
};

// One step of the start-up: init, and the release that undoes it at exit
// (or when a later step fails). A step whose init fails shows its failure
// message (steps without one show their own) and the steps before it are
// released in reverse order.
struct StartStep {
    const char* failure;
    bool (*init)(AppRun&);
    void (*release)(AppRun&);
};

bool startup_file_choose(AppRun& run, const char* command_line) {
    Engine& engine = run.engine;
    if (!startup_choose(engine, command_line)) return false;
    // A start directory too long for the path falls back to the current
    // directory, which is the same place.
    const std::string ini = std::string(engine.shell.start_dir) + "\\Quillon.ini";
    settings_copy_text(engine.shell.ini_path, kPathMax,
                       ini.size() < size_t(kPathMax) ? ini.c_str() : ".\\Quillon.ini");
    return true;
}

bool window_make(AppRun& run) {
    Engine& engine = run.engine;
    engine.shared.title = engine.settings.title;
    if (!run.platform.window_create(engine.shared)) return false;
    cursor_init(engine);  // the default cursor file, if there is one
    // The main window takes the display as it is when the window is made.
    int width = 0, height = 0, bpp = 0;
    run.platform.display_query(width, height, bpp);
    display_setup(engine, bpp, width, height);
    return true;
}

bool tables_make(AppRun& run) {
    if (!tables_init(run.engine)) return false;
    sysstr_set(run.engine, 0, run.engine.shell.start_dir);
    return true;
}

// Without the Japanese faces a stand-in draws the text, without any font
// none is drawn; the game runs either way, and the player is told once what
// to install, on standard error and in a message box.
bool fonts_make(AppRun& run) {
    const int made = fonts_init(run.engine);
    if (made == kFontFailed) {
        run.notice = kMsgNoFont;
    } else if (made == kFontSubstitute) {
        // The family name goes into a Shift-JIS text: ASCII only.
        std::string family = font_family_name(run.engine.fonts.fonts[0]);
        for (char& c : family) c = (c >= 0x20 && c < 0x7F) ? c : '?';
        run.notice.resize(sizeof kMsgFontStandIn + family.size());
        const int n =
            std::snprintf(run.notice.data(), run.notice.size(), kMsgFontStandIn, family.c_str());
        run.notice.resize(size_t(n > 0 ? n : 0));
    }
    if (!run.notice.empty()) std::fprintf(stderr, "quillon: %s\n", run.notice.c_str());
    return true;
}

bool mixer_make(AppRun& run) {
    Engine& engine = run.engine;
    std::string cwd, folder;
    if (engine.shell.host_effects_allowed && host_cwd(cwd) && game_data_dir(cwd, folder)) {
        engine.sound.volume_path = folder + "/volumes.txt";
    }
    (void)mixer_open(engine);
    return true;
}

// The CD audio stops if it plays (under either of its device names), then
// every media device closes.
void media_release(AppRun& run) {
    Engine& engine = run.engine;
    if (mci_send(engine, "status cdaudio mode wait").text == "playing") {
        (void)mci_send(engine, "stop cdaudio wait");
    } else if (mci_send(engine, "status cda mode wait").text == "playing") {
        (void)mci_send(engine, "stop cda wait");
    }
    (void)mci_send(engine, "close all");
}

// The start-up file is chosen before the list runs (it needs the command
// line); the list is the rest, in the order the engine has always started.
constexpr StartStep kStartSteps[] = {
    {kMsgStartupLoad, [](AppRun& r) { return startup_load(r.engine); },
     [](AppRun& r) { scn_end_all(r.engine, true); }},
    {kMsgScreen, [](AppRun& r) { return screen_init(r.engine); },
     [](AppRun& r) { screen_shutdown(r.engine); }},
    {kMsgSystem, window_make, [](AppRun& r) { cursor_release(r.engine); }},
    {kMsgBuffers, tables_make, [](AppRun& r) { tables_release(r.engine); }},
    {nullptr, fonts_make, [](AppRun& r) { fonts_release(r.engine); }},
    // The animation table as the settings size it, empty by default.
    {nullptr, [](AppRun& r) { return anim_init(r.engine), true; },
     [](AppRun& r) { anim_release(r.engine); }},
    // The mixer (a mixer that fails to open is ignored) and the media
    // devices, whose CD audio is stopped and every device closed at exit.
    {nullptr, mixer_make, [](AppRun& r) { mixer_close(r.engine); }},
    {nullptr, [](AppRun&) { return true; }, media_release},
    // Shown last, destroyed first.
    {nullptr, [](AppRun& r) { return r.platform.window_show(), true; },
     [](AppRun& r) { r.platform.window_destroy(); }},
};

}  // namespace

void shell_paths_record(Engine& engine) {
    ShellState& shell = engine.shell;
    std::string dir;
    // A start directory too long for its field falls back to ".", which the
    // host path mapping reads as the same directory.
    if (!host_cwd_scenario(dir) || dir.size() >= static_cast<size_t>(kPathMax)) dir = ".";
    settings_copy_text(shell.start_dir, kPathMax, dir.c_str());

    shell.program_path[0] = '\0';
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    std::string program;
    if (n > 0) {
        exe[n] = '\0';
        if (host_path_to_scenario(exe, program) && program.size() < static_cast<size_t>(kPathMax)) {
            settings_copy_text(shell.program_path, kPathMax, program.c_str());
        }
    }
}

AppOutcome app_main(Engine& engine, ThreadedPlatform& platform, const AppConfig& config) {
    engine.platform = platform.services();
    // One copy per game.
    InstanceLock instance;
    if (config.single_instance) {
        std::string cwd;
        (void)host_cwd(cwd);
        if (instance.acquire(cwd) == InstanceLockResult::AnotherCopyRuns) {
            // A window backend brings the other copy's window to the front here.
            return AppOutcome::AnotherCopyRuns;
        }
    }

    shell_paths_record(engine);
    engine.shell.restart = false;
    settings_default(engine.settings);

    AppOutcome outcome = AppOutcome::StartupFailed;
    AppRun run{engine, platform, {}};
    std::string game_dir;
    const bool folders = host_cwd(game_dir) && save_folder_choose(engine, game_dir, config.save);
    if (!folders) {
        (void)platform.message_box(kMsgSaveFolder, kAppCaption);
    } else if (startup_file_choose(run, config.command_line.c_str())) {
        size_t done = 0;
        for (const StartStep& step : kStartSteps) {
            if (!step.init(run)) break;
            ++done;
        }
        if (done == std::size(kStartSteps)) {
            ScenarioThread thread{&engine, &platform, &run.notice};
            if (platform.run_scenario_thread(scenario_thread_main, &thread)) {
                outcome = AppOutcome::Ended;
            }
            if (config.at_scenario_end) config.at_scenario_end(engine);
        } else if (kStartSteps[done].failure) {
            // The engine is half made: only the host can show this.
            (void)platform.message_box(kStartSteps[done].failure, kAppCaption);
        }
        while (done > 0) kStartSteps[--done].release(run);
    }
    // The restart comes after everything is released and the lock is gone.
    instance.release();
    if (engine.shell.restart && config.restart) config.restart();
    return outcome;
}

}  // namespace qln
