// The life of the program, in the order the engine has always started:
// single-instance check, settings, start-up scenario, screen, window, tables,
// mixer, then the scenario thread beside the message loop; everything is
// released in reverse order and a restart, when asked for, comes last.

#include "shell/app_main.h"

#include <cstdio>
#include <string>

#include "engine/engine.h"
#include "input/cursor.h"
#include "platform/host_files.h"
#include "platform/instance_lock.h"
#include "platform/threaded_platform.h"
#include "run/run_loop.h"
#include "scenario/interp.h"
#include "scenario/startup.h"
#include "screen/screen.h"
#include "shell/startup_messages.h"
#include "tables/tables.h"
#include "text/font.h"

namespace qln {
namespace {

struct ScenarioThread {
    Engine* engine;
    ThreadedPlatform* platform;
};

// The scenario thread: steps until a step stops, then tells the main thread.
void scenario_thread_main(void* p) {
    auto* thread = static_cast<ScenarioThread*>(p);
    int32_t result = 0;
    while ((result = scn_step(*thread->engine)) >= 0) {
    }
    thread->engine->shell.last_step_result = result;
    thread->platform->scenario_thread_ended();
}

// The steps that belong to the screen, the mixer and the cursor. Each is a
// named place so the start-up order stays visible while those parts grow.
bool screen_init_step(Engine& engine) {
    return screen_init(engine);
}  // screen picture, window 0, display bitmap
void screen_shutdown_step(Engine& engine) {
    screen_shutdown(engine);
}
// The main window takes the display as it is when the window is made.
void display_setup_step(Engine& engine, ThreadedPlatform& platform) {
    int width = 0, height = 0, bpp = 0;
    platform.display_query(width, height, bpp);
    display_setup(engine, bpp, width, height);
}
void mixer_open_step(Engine&) {}  // a mixer that fails to open is ignored
void mixer_close_step(Engine&) {}
void cd_audio_stop_step(Engine&) {}  // "status cdaudio mode wait" and the rest
void cursor_release_step(Engine& engine) {
    cursor_release(engine);
}

void message(ThreadedPlatform& platform, const char* text) {
    platform.message_box(text, kAppCaption);
}

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
    // 1. No instance handle or common controls on this host.

    // 2. One copy per game.
    InstanceLock instance;
    if (config.single_instance) {
        std::string cwd;
        (void)host_cwd(cwd);
        if (instance.acquire(cwd) == InstanceLockResult::AnotherCopyRuns) {
            // A window backend brings the other copy's window to the front here.
            return AppOutcome::AnotherCopyRuns;
        }
    }

    // 3. The two locks live in the engine.
    shell_paths_record(engine);
    engine.shell.restart = false;

    // 4.
    settings_default(engine.settings);

    AppOutcome outcome = AppOutcome::StartupFailed;
    // 5.
    if (startup_choose(engine, config.command_line.c_str())) {
        // 6.
        // A start directory too long for the path falls back to the current
        // directory, which is the same place.
        const std::string ini = std::string(engine.shell.start_dir) + "\\Quillon.ini";
        settings_copy_text(engine.shell.ini_path, kPathMax,
                           ini.size() < size_t(kPathMax) ? ini.c_str() : ".\\Quillon.ini");
        // 7.
        if (!startup_load(engine)) {
            message(platform, kMsgStartupLoad);
        } else {
            // 8.
            if (!screen_init_step(engine)) {
                message(platform, kMsgScreen);
            } else {
                // 9.
                engine.shared.title = engine.settings.title;
                if (!platform.window_create(engine.shared)) {
                    message(platform, kMsgSystem);
                } else {
                    cursor_init(engine);  // the default cursor file, if there is one
                    display_setup_step(engine, platform);
                    // 10.
                    if (!tables_init(engine)) {
                        message(platform, kMsgBuffers);
                    } else {
                        sysstr_set(engine, 0, engine.shell.start_dir);
                        // Without any font text is not drawn; the game still runs.
                        (void)fonts_init(engine);
                        // 11.
                        mixer_open_step(engine);
                        platform.window_show();
                        // 12.
                        ScenarioThread thread{&engine, &platform};
                        if (platform.run_scenario_thread(scenario_thread_main, &thread)) {
                            outcome = AppOutcome::Ended;
                        }
                        if (config.at_scenario_end) config.at_scenario_end(engine);
                        platform.window_destroy();
                        cd_audio_stop_step(engine);
                        mixer_close_step(engine);
                        fonts_release(engine);
                        tables_release(engine);
                    }
                    // 13.
                    cursor_release_step(engine);
                }
                // 14.
                screen_shutdown_step(engine);
            }
            // 15.
            scn_end_all(engine, true);
        }
    }
    // 16. The restart comes after everything is released and the lock is gone.
    instance.release();
    if (engine.shell.restart && config.restart) config.restart();
    return outcome;
}

}  // namespace qln
