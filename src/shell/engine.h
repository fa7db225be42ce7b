#pragma once
// The engine context: one object owns every table and every subsystem's
// state, so several engines can live in one process (the tests run many).
// Subsystem operations are free functions taking the engine first.

#include <cstdint>
#include <mutex>

#include "input/input_state.h"
#include "input/timers.h"
#include "scenario/interp.h"
#include "scenario/random.h"
#include "shell/settings.h"
#include "tables/tables.h"

namespace qln {

class Platform;

// Start-up state of the shell.
struct ShellState {
    char start_dir[kPathMax] = {};     // Shift-JIS; also system string 0
    char program_path[kPathMax] = {};
    char ini_path[kPathMax] = {};      // settings file, replaced by ini_file
    bool restart = false;              // set by sys_restart
    int32_t last_step_result = 0;      // the result that ended the scenario thread
    // False in sandboxed runs (the fuzzers): commands then neither start host
    // programs nor write, rename or delete host files, and report failure.
    bool host_effects_allowed = true;
};

struct Engine {
    Settings settings;
    Platform* platform = nullptr;  // not owned
    ShellState shell;
    Tables tables;
    Interp interp;
    Random random;
    InputShared input;
    Timers timers;
    std::mutex screen_lock;

    Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;
    ~Engine();
};

}  // namespace qln
