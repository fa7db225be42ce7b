#pragma once
// The engine context: one object owns every table and every subsystem's
// state, so several engines can live in one process (the tests run many).
// Subsystem operations are free functions taking the engine first.

#include <cstdint>
#include <vector>

#include "engine/animation_state.h"
#include "engine/file_access_state.h"
#include "engine/font_state.h"
#include "engine/interp_state.h"
#include "engine/random_state.h"
#include "engine/run_limits_state.h"
#include "engine/screen_state.h"
#include "engine/settings.h"
#include "engine/sound_state.h"
#include "engine/tables_state.h"
#include "engine/ticker_state.h"
#include "engine/timers_state.h"
#include "engine/tracking_state.h"
#include "engine/window_state.h"
#include "platform/null/null_platform.h"
#include "platform/platform.h"
#include "platform/thread_shared.h"

namespace qln {

// A callback slot recorded by hook_set (slot 0) or hook_set_alt (slot 1).
struct HookSlot {
    uint16_t call_buf = 0;
    uint16_t entry = 0;
    uint16_t flag = 0;
};

// Start-up state of the shell.
struct ShellState {
    char start_dir[kPathMax] = {};  // Shift-JIS; also system string 0
    char program_path[kPathMax] = {};
    char ini_path[kPathMax] = {};  // settings file, replaced by ini_file
    bool restart = false;          // set by sys_restart
    int32_t last_step_result = 0;  // the result that ended the scenario thread
    // False in sandboxed runs (the fuzzers): commands then neither start host
    // programs nor write, rename or delete host files, and report failure.
    bool host_effects_allowed = true;
    int32_t pause_picture = -1;  // data buffer shown while in the background; -1 none
    HookSlot hooks[2];
    // Programs sys_exec started without waiting, collected when they end.
    std::vector<int32_t> detached_children;
    // --max-commands and --max-errors of a batch run; reached, every poll
    // step fails so the run ends.
    RunLimits limits;
};

struct Engine {
    Settings settings;
    FileAccess files;
    // The host services (not owned), at first those of the engine's own null
    // backend; the shell or a test points them at a real backend.
    NullPlatform null_platform;
    Platform platform = null_platform.services();
    // What the main thread's backend shares with this engine.
    ThreadShared shared;
    ShellState shell;
    Tables tables;
    Interp interp;
    Random random;
    InputTracking tracking;
    Timers timers;
    TickerList tickers;
    ScreenState screen;
    WindowTable windows;
    FontTables fonts;
    SoundState sound;
    AnimationState animations;

    Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
    ~Engine();
};

}  // namespace qln
