// Start-up records and scenario objects over arbitrary images.

#include <cstddef>
#include <cstdint>

#include "engine/engine.h"
#include "scenario/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 70000) return 0;
    qln::Engine engine;
    // Keep the tables small whatever the records ask for: this harness only
    // checks that reading them is safe.
    qln::Settings settings;
    qln::settings_default(settings);
    (void)qln::startup_apply_records(settings, data, uint32_t(size));
    qln::Scenario* scenario = qln::scn_create(engine, data, uint32_t(size), "fuzz", 1);
    qln::scn_release(scenario);
    return 0;
}
