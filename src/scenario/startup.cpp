#include "scenario/startup.h"

#include "engine/engine.h"
#include "platform/platform.h"
#include "scenario/interp.h"
#include "scenario/scenario.h"

namespace qln {

bool startup_load(Engine& engine) {
    engine.interp.current = nullptr;
    engine.timers.callbacks.clear();
    engine.timers.callbacks_enabled = false;
    engine.timers.inside_callbacks = false;
    const FileSetting& startup = engine.settings.startup;
    Scenario* scenario = scn_load(engine, startup.name, startup.entry, 0);
    if (!scenario) return false;
    if (!scn_start(engine, scenario, true, true)) {
        scn_release(scenario);
        return false;
    }
    engine.timers.stopwatch_mark = engine.platform.clock->ticks();
    return true;
}

}  // namespace qln
