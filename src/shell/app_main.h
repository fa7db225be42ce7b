#pragma once
// The program's entry and exit: the start-up in its fixed order, with a fixed
// message for each failure, the scenario thread beside the message loop, and
// the release of everything in reverse order.

#include <functional>
#include <string>

#include "shell/save_folder.h"

namespace qln {

struct Engine;
class ThreadedPlatform;

struct AppConfig {
    // The start-up file named on the command line (Shift-JIS), or empty.
    std::string command_line;
    // Keep a second copy of the engine from running the same game (windowed
    // runs only).
    bool single_instance = false;
    // Starts the program again, without waiting; called at the very end when
    // a scenario asked for a restart.
    std::function<void()> restart;
    // Called once the last scenario has ended, while the screen still exists
    // (before it is shut down); the headless runner dumps the screen here.
    std::function<void(Engine&)> at_scenario_end;
    // Where the game's writes go and whether the run is confined
    // (shell/save_folder.h).
    SaveFolderChoice save;
};

enum class AppOutcome {
    Ended,            // the scenario thread ran and ended (see last_step_result)
    StartupFailed,    // a start-up step failed; its message was shown
    AnotherCopyRuns,  // the game runs already; nothing was done
};

AppOutcome app_main(Engine& engine, ThreadedPlatform& platform, const AppConfig& config);

// Chooses and validates the start-up scenario: the command line relative to
// the start directory, then as it stands, then (when the player agrees to
// ignore it) the fixed candidates. False when none passes or the player
// declined; every message has been shown.
[[nodiscard]] bool startup_choose(Engine& engine, const char* command_line);

// Records the start directory (the current directory) and the program's own
// path, both as scenario paths.
void shell_paths_record(Engine& engine);

// The message-box caption of the start-up messages.
inline constexpr char kAppCaption[] = "Quillon";

}  // namespace qln
